// Shaped text from grey levels: the size rule against a slow literal
// reference, the aspect rules and bounds, invert, dithering and braille.

#include "art/graymapping.h"
#include "art/graypresets.h"
#include "art/levelstotext.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(PicToTextOptions)

namespace {

using Levels = std::vector<uchar>; // w × h, row after row

// 256 characters, one a grey level (GrayToChar maps level g of 256 to g + 1).
QString everyLevel()
{
    QString s;
    for (int g = 0; g < 256; ++g)
        s += QChar(char16_t(0x4E00 + g));
    return s;
}

// The lines of the text, UTF-8.
QStringList convert(const Levels &levels, QSize size, const PicToTextOptions &options, const QString &grey)
{
    LevelsToText shaper(size, options, grey, GrayTable::Encoding::Utf8);
    QStringList lines;
    const LevelsToText::LineSink sink = [&](const char *bytes, qsizetype n) {
        lines << QString::fromUtf8(bytes, n);
        return true;
    };
    if (!shaper.isValid())
        return lines;
    for (int y = 0; y < size.height(); ++y)
        shaper.addRow(levels.data() + std::size_t(y) * size.width(), sink);
    shaper.finish(sink);
    return lines;
}

Levels randomLevels(QSize size, quint32 seed)
{
    QRandomGenerator random(seed);
    Levels levels(std::size_t(size.width()) * size.height());
    for (uchar &g : levels)
        g = uchar(random.bounded(256));
    return levels;
}

// The area mean of each cell, literally as defined: every pixel against
// every cell.
std::vector<int> literalMeans(const Levels &g, QSize picture, QSize cells)
{
    const qint64 w = picture.width(), h = picture.height(), W = cells.width(), H = cells.height();
    const auto overlap = [](qint64 pixel, qint64 cell, qint64 pixels, qint64 cellCount) {
        return std::max<qint64>(0, std::min((pixel + 1) * cellCount, (cell + 1) * pixels)
                                       - std::max(pixel * cellCount, cell * pixels));
    };
    std::vector<int> out;
    for (qint64 j = 0; j < H; ++j) {
        for (qint64 i = 0; i < W; ++i) {
            qint64 S = 0;
            for (qint64 y = 0; y < h; ++y)
                for (qint64 x = 0; x < w; ++x)
                    S += g[std::size_t(y * w + x)] * overlap(x, i, w, W) * overlap(y, j, h, H);
            out.push_back(int((2 * S + w * h) / (2 * w * h)));
        }
    }
    return out;
}

} // namespace

class TestLevelsToText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeRuleMatchesLiteralReference_data();
    void sizeRuleMatchesLiteralReference();
    void layout_data();
    void layout();
    void invertIsTheInvertedPicture();
    void ditheredFlatFieldsKeepTheirMean_data();
    void ditheredFlatFieldsKeepTheirMean();
    void brailleDots_data();
    void brailleDots();
};

void TestLevelsToText::sizeRuleMatchesLiteralReference_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("cells");
    QTest::newRow("shrunk") << QSize(40, 30) << QSize(8, 6);
    QTest::newRow("primes") << QSize(31, 29) << QSize(7, 13);
    QTest::newRow("primes, one way up") << QSize(13, 37) << QSize(17, 5);
    QTest::newRow("enlarged") << QSize(5, 3) << QSize(11, 7);
    QTest::newRow("one pixel to many") << QSize(1, 1) << QSize(3, 2);
    QTest::newRow("to one cell") << QSize(23, 19) << QSize(1, 1);
    QTest::newRow("identity") << QSize(17, 11) << QSize(17, 11);
    for (quint32 seed = 1; seed <= 6; ++seed) {
        QRandomGenerator random(seed);
        const QSize picture(random.bounded(1, 40), random.bounded(1, 40));
        const QSize cells(random.bounded(1, 50), random.bounded(1, 50));
        QTest::addRow("random %u: %dx%d to %dx%d", seed, picture.width(), picture.height(), cells.width(),
                      cells.height())
            << picture << cells;
    }
}

void TestLevelsToText::sizeRuleMatchesLiteralReference()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, cells);
    const Levels levels = randomLevels(picture, quint32(picture.width() * 1000 + cells.width()));
    const QStringList lines = convert(levels, picture, {cells.width(), cells.height()}, everyLevel());
    QCOMPARE(lines.size(), cells.height());
    const std::vector<int> expected = literalMeans(levels, picture, cells);
    std::vector<int> greys;
    for (const QChar c : lines.join(QString()))
        greys.push_back(c.unicode() - 0x4E00);
    QCOMPARE(greys, expected);
    if (picture == cells)
        QCOMPARE(expected, std::vector<int>(levels.begin(), levels.end()));
}

void TestLevelsToText::layout_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("braille");
    QTest::addColumn<bool>("square"); // a full-width grey string
    QTest::addColumn<QSize>("text"); // empty: out of bounds

    QTest::newRow("no size") << QSize(720, 477) << 0 << 0 << false << false << QSize(720, 477);
    QTest::newRow("no size, however large") << QSize(16384, 3906) << 0 << 0 << false << false << QSize(16384, 3906);
    QTest::newRow("width, half-width") << QSize(720, 477) << 80 << 0 << false << false << QSize(80, 27);
    QTest::newRow("width, full-width") << QSize(720, 477) << 80 << 0 << false << true << QSize(80, 53);
    QTest::newRow("square face, half-width") << QSize(40, 40) << 40 << 0 << false << false << QSize(40, 20);
    QTest::newRow("square face, full-width") << QSize(40, 40) << 40 << 0 << false << true << QSize(40, 40);
    QTest::newRow("height, half-width") << QSize(720, 477) << 0 << 27 << false << false << QSize(82, 27);
    QTest::newRow("height, full-width") << QSize(720, 477) << 0 << 53 << false << true << QSize(80, 53);
    QTest::newRow("both") << QSize(720, 477) << 60 << 60 << false << false << QSize(60, 60);
    QTest::newRow("a line at least") << QSize(100, 1) << 10 << 0 << false << false << QSize(10, 1);
    QTest::newRow("a column at least") << QSize(1, 100) << 0 << 10 << false << false << QSize(1, 10);
    QTest::newRow("widest") << QSize(50, 50) << 4096 << 3906 << false << false << QSize(4096, 3906);
    QTest::newRow("too wide") << QSize(50, 50) << 4097 << 1 << false << false << QSize();
    QTest::newRow("too many cells") << QSize(50, 50) << 4096 << 4096 << false << false << QSize();
    QTest::newRow("too tall by the aspect") << QSize(1, 16384) << 4096 << 0 << false << false << QSize();
    QTest::newRow("braille, no size") << QSize(5, 5) << 0 << 0 << true << false << QSize(3, 2);
    QTest::newRow("braille, square dots") << QSize(40, 40) << 20 << 0 << true << false << QSize(20, 10);
    QTest::newRow("braille, height") << QSize(40, 40) << 0 << 10 << true << false << QSize(20, 10);
    QTest::newRow("braille, padded") << QSize(720, 477) << 60 << 0 << true << false << QSize(60, 20);
    QTest::newRow("braille, too many") << QSize(50, 50) << 4096 << 4096 << true << false << QSize();
}

void TestLevelsToText::layout()
{
    QFETCH(QSize, picture);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, braille);
    QFETCH(bool, square);
    QFETCH(QSize, text);
    PicToTextOptions options;
    options.width = width;
    options.height = height;
    options.braille = braille;
    const LevelsToText::Layout l = LevelsToText::layout(picture, options, square);
    QCOMPARE(l.text, text);
    QCOMPARE(l.ok(), !text.isEmpty());
    QCOMPARE(LevelsToText::layout(picture, options, square ? QStringLiteral("黑白灰淡墨亮暗浓")
                                                           : grayPresets()[0].raw).text,
             text);
    if (braille && l.ok()) {
        QCOMPARE(l.grid, QSize(2 * text.width(), 4 * text.height()));
        QVERIFY(l.grid.width() - l.sampled.width() < 2 && l.grid.height() - l.sampled.height() < 4);
    }
}

void TestLevelsToText::invertIsTheInvertedPicture()
{
    const QSize picture(29, 23);
    const Levels levels = randomLevels(picture, 7);
    Levels inverted = levels;
    for (uchar &g : inverted)
        g = uchar(255 - g);
    for (PicToTextOptions options : {PicToTextOptions{}, PicToTextOptions{9, 0}, PicToTextOptions{0, 0, false, true},
                                     PicToTextOptions{0, 0, false, false, true}}) {
        const QStringList straight = convert(inverted, picture, options, grayPresets()[1].raw);
        options.invert = true;
        QCOMPARE(convert(levels, picture, options, grayPresets()[1].raw), straight);
    }
}

void TestLevelsToText::ditheredFlatFieldsKeepTheirMean_data()
{
    QTest::addColumn<QString>("grey");
    QTest::addColumn<bool>("braille");
    QTest::newRow("8 characters") << QStringLiteral("@#%*+=-.") << false;
    QTest::newRow("18 characters") << grayPresets()[0].raw << false;
    QTest::newRow("94 characters") << grayPresets()[1].raw << false;
    QTest::newRow("braille") << QString() << true;
}

void TestLevelsToText::ditheredFlatFieldsKeepTheirMean()
{
    QFETCH(QString, grey);
    QFETCH(bool, braille);
    const QList<char32_t> chars = grayCharacters(grey); // distinct characters
    const int n = braille ? 2 : int(chars.size());
    // The middle of each position's band; braille: black and white.
    std::vector<double> middles{0, 0, 255};
    if (!braille) {
        std::vector<int> low(std::size_t(n) + 1, 256), high(std::size_t(n) + 1, -1);
        for (int g = 0; g < 256; ++g) {
            const auto k = std::size_t(GrayToCharIndex(n, g));
            low[k] = std::min(low[k], g);
            high[k] = g;
        }
        middles.assign(std::size_t(n) + 1, 0);
        for (std::size_t k = 1; k <= std::size_t(n); ++k)
            middles[k] = (low[k] + high[k]) / 2.0;
    }
    const auto middle = [&](std::size_t k) { return middles[k]; };
    for (int g = 0; g < 256; ++g) {
        PicToTextOptions options;
        options.dither = true;
        options.braille = braille;
        double sum = 0;
        int count = 0;
        for (const QString &line : convert(Levels(64 * 64, uchar(g)), QSize(64, 64), options, grey)) {
            for (const char32_t c : line.toUcs4()) {
                const int raised = braille ? qPopulationCount(quint32(c - 0x2800)) : 0;
                sum += braille ? 255.0 * (8 - raised) : middle(std::size_t(chars.indexOf(c) + 1));
                count += braille ? 8 : 1;
            }
        }
        QCOMPARE(count, 64 * 64);
        // Beyond the outer middles no mixture reaches the grey: the end character it is.
        const double target = std::clamp(double(g), middle(1), middle(std::size_t(n)));
        QVERIFY2(std::abs(sum / count - target) <= 2, qPrintable(QStringLiteral("grey %1: %2").arg(g).arg(sum / count)));
    }
}

void TestLevelsToText::brailleDots_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QByteArray>("black"); // "x" a pixel below the threshold, row after row
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QStringList>("lines");
    const auto cell = [](int bits) { return QString(QChar(char16_t(0x2800 + bits))); };
    const QByteArray none(8, '.');
    const int bits[8] = {0x01, 0x08, 0x02, 0x10, 0x04, 0x20, 0x40, 0x80}; // reading order of a 2 × 4 cell
    for (int dot = 0; dot < 8; ++dot) {
        QByteArray one = none;
        one[dot] = 'x';
        QTest::addRow("dot %d", dot) << QSize(2, 4) << one << 128 << QStringList{cell(bits[dot])};
    }
    QTest::newRow("all") << QSize(2, 4) << QByteArray(8, 'x') << 128 << QStringList{cell(0xFF)};
    QTest::newRow("none keeps its width") << QSize(2, 4) << none << 128 << QStringList{cell(0)};
    QTest::newRow("threshold is strict") << QSize(2, 4) << QByteArray(8, 'x') << 100 << QStringList{cell(0)};
    QTest::newRow("threshold 101") << QSize(2, 4) << QByteArray(8, 'x') << 101 << QStringList{cell(0xFF)};
    QTest::newRow("edges padded white")
        << QSize(3, 5) << QByteArray(15, 'x') << 128
        << QStringList{cell(0xFF) + cell(0x47), cell(0x09) + cell(0x01)};
}

void TestLevelsToText::brailleDots()
{
    QFETCH(QSize, picture);
    QFETCH(QByteArray, black);
    QFETCH(int, threshold);
    QFETCH(QStringList, lines);
    Levels levels;
    for (const char c : black)
        levels.push_back(c == 'x' ? 100 : 200);
    PicToTextOptions options;
    options.braille = true;
    options.threshold = threshold;
    QCOMPARE(convert(levels, picture, options, QString()), lines);
}

QTEST_GUILESS_MAIN(TestLevelsToText)
#include "tst_levelstotext.moc"
