// zantoria-cli pic2text: a picture file to character art, as the picture
// panel makes it.

#include "commands.h"

#include "art/grayorder.h"
#include "art/graypresets.h"
#include "art/graymapping.h"
#include "art/pictotextconverter.h"
#include "art/picturebands.h"
#include "art/picturelevels.h"

#include "shell/core/fonts.h"
#include "shell/core/savefile.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <future>
#include <utility>
#include <memory>
#include <optional>

namespace {

constexpr int kMaxGrayLength = 256;

const char kUsage[] =
    "usage: zantoria-cli pic2text [--preset normal|94|custom] [--gray TEXT] [--ordered]\n"
    "                             [--print-gray] [-o FILE [--append]] IMAGE\n"
    "\n"
    "Turns a picture (BMP, JPEG, GIF, ICO, ...) into character art: one character\n"
    "per pixel, darkest character for the darkest grey.\n"
    "\n"
    "  --preset NAME  grey string: normal (18 levels, the default), 94 or custom,\n"
    "                 ordered by the ink each character leaves\n"
    "  --gray TEXT    use TEXT (8 to 256 half-width characters) as the grey string,\n"
    "                 ordered by ink\n"
    "  --ordered      use the --gray TEXT exactly as given, darkest first\n"
    "  --print-gray   print the grey string in use as the first line on stderr\n"
    "  -o FILE        write FILE as the picture panel writes its temporary file\n"
    "                 (GB18030, CR LF) instead of UTF-8 with LF to standard output\n"
    "  --append       add to FILE after 51 empty lines instead of replacing it\n";

struct Options
{
    QString preset;
    std::optional<QString> gray;
    bool ordered = false;
    bool printGray = false;
    QString output;
    bool append = false;
    QString image;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "zantoria-cli pic2text: %s\n", qUtf8Printable(message));
    return 1;
}

// Qt's own chatter (warnings about the environment) is no business of a
// command whose standard error carries one line per failure.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "zantoria-cli pic2text: %s\n", qUtf8Printable(message));
}

int usageError(const char *message)
{
    std::fprintf(stderr, "zantoria-cli pic2text: %s\n%s", message, kUsage);
    return 2;
}

// Parses the arguments; returns an exit status when the command is done.
std::optional<int> parse(int argc, char **argv, Options &o)
{
    bool presetGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        const auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!std::strcmp(a, "--preset")) {
            const char *v = value();
            if (!v)
                return usageError("--preset needs a name");
            o.preset = QString::fromLocal8Bit(v);
            presetGiven = true;
        } else if (!std::strcmp(a, "--gray")) {
            const char *v = value();
            if (!v)
                return usageError("--gray needs a text");
            o.gray = QString::fromLocal8Bit(v);
        } else if (!std::strcmp(a, "--ordered")) {
            o.ordered = true;
        } else if (!std::strcmp(a, "--print-gray")) {
            o.printGray = true;
        } else if (!std::strcmp(a, "-o")) {
            const char *v = value();
            if (!v || !*v)
                return usageError("-o needs a file name");
            o.output = QString::fromLocal8Bit(v);
        } else if (!std::strcmp(a, "--append")) {
            o.append = true;
        } else if (a[0] == '-' && a[1] != '\0') {
            std::fprintf(stderr, "zantoria-cli pic2text: unknown option '%s'\n", a);
            return usageError("");
        } else if (o.image.isEmpty()) {
            o.image = QString::fromLocal8Bit(a);
        } else {
            return usageError("only one picture at a time");
        }
    }
    if (o.image.isEmpty())
        return usageError("no picture given");
    if (presetGiven && o.gray)
        return usageError("--preset and --gray exclude each other");
    if (o.ordered && !o.gray)
        return usageError("--ordered applies to a --gray text");
    if (o.append && o.output.isEmpty())
        return usageError("--append needs -o FILE");
    if (!presetGiven)
        o.preset = QStringLiteral("normal");
    return std::nullopt;
}

std::optional<QString> presetText(const QString &name)
{
    if (name == QLatin1String("normal"))
        return grayPresets()[0].raw;
    if (name == QLatin1String("94"))
        return grayPresets()[1].raw;
    if (name == QLatin1String("custom"))
        return grayPresets()[2].raw;
    return std::nullopt;
}

// Why a grey text cannot be used, or nothing.
std::optional<QString> grayProblem(const QString &text, bool ordered)
{
    const int n = int(grayCharacters(text).size());
    if (n > kMaxGrayLength)
        return QStringLiteral("grey string rejected: %1 characters, at most %2").arg(n).arg(kMaxGrayLength);
    switch (checkGrayText(text)) {
    case GrayTextProblem::TooShort:
        return QStringLiteral("grey string rejected: fewer than 8 characters, or blanks only");
    case GrayTextProblem::FullWidth:
        if (!ordered)
            return QStringLiteral("grey string rejected: full-width characters cannot be ordered by ink "
                                  "(give --ordered to use the text as it is)");
        break;
    case GrayTextProblem::None:
        break;
    }
    return std::nullopt;
}

} // namespace

int runPic2Text(int argc, char **argv)
{
    Options o;
    if (const auto status = parse(argc, argv, o))
        return *status;

    QString gray;
    if (o.gray) {
        gray = *o.gray;
    } else if (const auto text = presetText(o.preset)) {
        gray = *text;
    } else {
        return usageError("--preset is normal, 94 or custom");
    }
    if (const auto problem = grayProblem(gray, o.ordered))
        return fail(*problem);

    // The picture is read in bands, so that a large one never sits in memory
    // whole. Ordering by ink needs fonts, and so a GUI application on the
    // platform that draws nowhere; decoding needs no application at all.
    // With fonts to load, a second thread meanwhile decodes the picture into
    // its grey levels (a quarter of its decoded size), which convert exactly
    // as the picture itself; without, the bands stream straight through.
    // Either way nothing is written before the picture has proved readable.
    qInstallMessageHandler(quietQt);
    PictureBands bands(o.image);
    PicToTextConverter::BandSource source;
    PictureLevels::Result levels;
    QImage firstBand;
    int appArgc = 1;
    char appName[] = "zantoria-cli";
    char *appArgv[] = {appName, nullptr};
    std::unique_ptr<QGuiApplication> app;
    const auto unreadable = [&] {
        const QString detail = levels.status.ok() ? bands.status().detail : levels.status.detail;
        return fail(o.image + QStringLiteral(": ")
                    + (detail.isEmpty() ? QStringLiteral("cannot decode the picture") : detail));
    };
    if (!o.ordered) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        Fonts::installSubstitutions();
        app = std::make_unique<QGuiApplication>(appArgc, appArgv);
        auto decoding = std::async(std::launch::async, [&] { levels = PictureLevels::read(bands); });
        gray = orderByInk(gray);
        decoding.get();
        if (levels.outcome == PictureBands::Band::Failed)
            return unreadable();
        source = PicToTextConverter::singleBand(levels.levels);
    } else {
        if (bands.next(firstBand) == PictureBands::Band::Failed)
            return unreadable();
        source = [&, pending = true](QImage &band) mutable {
            if (!pending)
                return bands.next(band);
            pending = false;
            band = std::move(firstBand);
            return PictureBands::Band::Ready;
        };
    }
    if (o.printGray)
        std::fprintf(stderr, "%s\n", qUtf8Printable(gray));

    const auto failed = [&](PicToTextConverter::Outcome outcome, const QString &target) {
        if (outcome == PicToTextConverter::Outcome::ReadFailed)
            return unreadable();
        return fail(target + QStringLiteral(": cannot write"));
    };

    PicToTextConverter converter;
    if (!o.output.isEmpty()) {
        // A FIFO named by -o is waited on, as a shell redirection would.
        const auto outcome = converter.PicToText(source, o.output, gray, o.append, SaveFile::Special::WaitForReader);
        return outcome == PicToTextConverter::Outcome::Done ? 0 : failed(outcome, o.output);
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write to standard output"));
    PicToTextConverter::Format format;
    format.encoding = GrayTable::Encoding::Utf8;
    format.lineEnd = QByteArrayLiteral("\n");
    const auto outcome = converter.convert(source, gray, out, format);
    if (outcome == PicToTextConverter::Outcome::Done && out.flush())
        return 0;
    return failed(outcome, QStringLiteral("standard output"));
}
