// cli_inputs DIR: the inputs of bench/cli-speed.sh, the same on every run:
// small.bmp (40 × 40), photo.jpg (2000 × 2000, about 1.2 MB), art.txt
// (10 MB of text art with blanks to fold) and three.txt (3 bytes).

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>

namespace {

QImage photo(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int r = int(127 + 120 * std::sin(x / 37.0) * std::cos(y / 53.0));
            const int g = int(127 + 120 * std::sin((x + y) / 71.0));
            const int b = (x * 7 + y * 3 + int(noise.bounded(40))) & 255;
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

QByteArray textArt(qsizetype bytes)
{
    static const char kInk[] = " .:-=+*#%@";
    QRandomGenerator random(3);
    QByteArray text;
    text.reserve(bytes + 256);
    while (text.size() < bytes) {
        if (random.bounded(20) == 0) {
            text += "      \n";
            continue;
        }
        text += "    ";
        const int n = 40 + int(random.bounded(81));
        for (int i = 0; i < n; ++i)
            text += random.bounded(10) < 6 ? kInk[random.bounded(10)] : ' ';
        text += "   \n";
    }
    return text;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: cli_inputs DIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + u'/';
    const bool ok = photo(40).save(dir + QStringLiteral("small.bmp"), "BMP")
                    && photo(2000).save(dir + QStringLiteral("photo.jpg"), "JPEG", 92)
                    && write(dir + QStringLiteral("art.txt"), textArt(10'000'000))
                    && write(dir + QStringLiteral("three.txt"), "a \n");
    if (!ok)
        std::fputs("cli_inputs: cannot write the inputs\n", stderr);
    return ok ? 0 : 1;
}
