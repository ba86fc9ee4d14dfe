#include "pic2textoptions.h"

#include "art/graypresets.h"
#include "art/inkorder.h"
#include "art/graymapping.h"

#include <cstdio>
#include <cstring>

namespace Pic2Text {

const char kUsage[] =
    "usage: zantoria-cli pic2text [--preset normal|94|custom] [--gray TEXT] [--ordered]\n"
    "                             [--print-gray] [-o FILE [--append]]\n"
    "                             [--width N] [--height N] [--invert] [--dither]\n"
    "                             [--braille [--threshold T]] IMAGE\n"
    "\n"
    "Turns a picture (BMP, JPEG, GIF, ICO, ...) into character art: one character\n"
    "per pixel, darkest character for the darkest grey, unless a size is given.\n"
    "\n"
    "  --preset NAME  grey string: normal (18 levels, the default), 94 or custom,\n"
    "                 ordered by the ink each character leaves\n"
    "  --gray TEXT    use TEXT (8 to 256 half-width characters) as the grey string,\n"
    "                 ordered by ink\n"
    "  --ordered      use the --gray TEXT exactly as given, darkest first\n"
    "  --print-gray   print the grey string in use as the first line on stderr\n"
    "  -o FILE        write FILE as the picture panel writes its temporary file\n"
    "                 (GB18030, CR LF) instead of UTF-8 with LF to standard output\n"
    "  --append       add to FILE after 51 empty lines instead of replacing it\n"
    "  --width N      N columns (1 to 4096), each the mean grey of the pixels it\n"
    "                 covers; alone, the lines follow for a cell twice as tall as\n"
    "                 wide (square with a full-width grey string)\n"
    "  --height N     N lines (1 to 4096); alone, the columns follow likewise\n"
    "  --invert       light for dark, for dark chat themes\n"
    "  --dither       spread each character's error to its neighbours\n"
    "                 (Floyd-Steinberg), for detail with a short grey string\n"
    "  --braille      braille cells of 2 x 4 dots (U+2800 to U+28FF), a dot per\n"
    "                 pixel unless a size is given; with --width alone the dots\n"
    "                 are square\n"
    "  --threshold T  braille: raise dots darker than T (0 to 255, default 128)\n";

namespace {

constexpr int kMaxGrayLength = 256;

int usageError(const char *message)
{
    std::fprintf(stderr, "zantoria-cli pic2text: %s\n%s", message, kUsage);
    return 2;
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

// A whole number from `low` to `high`, or nothing.
std::optional<int> number(const char *text, int low, int high)
{
    if (!text || !*text)
        return std::nullopt;
    bool ok = false;
    const int n = QByteArray(text).toInt(&ok, 10);
    if (!ok || n < low || n > high || text[0] == '+' || text[0] == ' ')
        return std::nullopt;
    return n;
}

std::optional<int> parseOptions(int argc, char **argv, Options &o)
{
    bool presetGiven = false;
    bool thresholdGiven = false;
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
        } else if (!std::strcmp(a, "--width") || !std::strcmp(a, "--height")) {
            const auto n = number(value(), 1, LevelsToText::kMaxSide);
            if (!n)
                return fail(QStringLiteral("%1 takes a whole number from 1 to %2")
                                .arg(QLatin1String(a))
                                .arg(LevelsToText::kMaxSide));
            (a[2] == 'w' ? o.shape.width : o.shape.height) = *n;
        } else if (!std::strcmp(a, "--invert")) {
            o.shape.invert = true;
        } else if (!std::strcmp(a, "--dither")) {
            o.shape.dither = true;
        } else if (!std::strcmp(a, "--braille")) {
            o.shape.braille = true;
        } else if (!std::strcmp(a, "--threshold")) {
            const auto n = number(value(), 0, 255);
            if (!n)
                return fail(QStringLiteral("--threshold takes a whole number from 0 to 255"));
            o.shape.threshold = *n;
            thresholdGiven = true;
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
    if (thresholdGiven && !o.shape.braille)
        return fail(QStringLiteral("--threshold applies to --braille"));
    if (!presetGiven)
        o.preset = QStringLiteral("normal");
    return std::nullopt;
}

} // namespace

std::optional<QString> sizeProblem(QSize picture, const Options &o, const QString &gray)
{
    const PicToTextOptions &shape = o.shape;
    if (LevelsToText::layout(picture, shape, gray).ok())
        return std::nullopt;
    return QStringLiteral("a %1 x %2 picture at %3 x %4 gives more than %5 columns or lines, "
                          "or more than %6 characters")
        .arg(picture.width())
        .arg(picture.height())
        .arg(shape.width ? QString::number(shape.width) : QStringLiteral("auto"))
        .arg(shape.height ? QString::number(shape.height) : QStringLiteral("auto"))
        .arg(LevelsToText::kMaxSide)
        .arg(LevelsToText::kMaxCells);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "zantoria-cli pic2text: %s\n", qUtf8Printable(message));
    return 1;
}

std::optional<int> parse(int argc, char **argv, Options &o, QString &gray)
{
    if (const auto status = parseOptions(argc, argv, o))
        return status;
    if (o.gray) {
        gray = *o.gray;
    } else if (const auto text = presetText(o.preset)) {
        gray = *text;
    } else {
        return usageError("--preset is normal, 94 or custom");
    }
    if (const auto problem = grayProblem(gray, o.ordered))
        return fail(*problem);
    return std::nullopt;
}

} // namespace Pic2Text
