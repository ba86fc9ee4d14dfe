// zantoria-cli arttext: words drawn in a font into character art, as the
// art-text panel makes it.

#include "commands.h"

#include "art/arttext.h"
#include "art/textcells.h"

#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace {

using namespace ArtText;

const char kUsage[] =
    "usage: zantoria-cli arttext [--font NAME] [--size PT] [--bold] [--italic]\n"
    "                            [--effect plain|vivid|updown|leftright|loop|follow]\n"
    "                            [--width both|full|half] [--fg C] [--bg C] [--fg-full C] [--bg-full C]\n"
    "                            [--loop TEXT] [--loop-full] [--qq] [--] TEXT\n"
    "\n"
    "Draws TEXT (which may hold line breaks) in a font and turns every pixel into\n"
    "one character; writes the art in UTF-8 with LF line ends.\n"
    "\n"
    "  --font NAME     font face (default 宋体)\n"
    "  --size PT       size in points, 4 to 72 (default 10.5)\n"
    "  --bold, --italic\n"
    "  --effect E      plain: ink and background characters; vivid (default): ink\n"
    "                  on blanks; updown / leftright: the upper / left half in the\n"
    "                  foreground character, the rest in the background one; loop:\n"
    "                  the ink spells the loop text over and over; follow: the ink\n"
    "                  repeats the text's own characters\n"
    "  --width W       characters by the text's own width (both), full-width only\n"
    "                  (full), half-width only (half, the default)\n"
    "  --fg C, --bg C  half-width foreground and background (default * and #)\n"
    "  --fg-full C, --bg-full C\n"
    "                  full-width foreground and background (default ■ and □)\n"
    "  --loop TEXT     the loop text (default Zantoria, or its full-width form)\n"
    "  --loop-full     the loop text is full-width\n"
    "  --qq            cut the art to one QQ message\n"
    "  --              the end of the options: what follows is TEXT, even when\n"
    "                  it starts with a dash (arttext -- \"-_-\")\n";

struct Options
{
    QString font = Fonts::kSongTi;
    double size = 10.5;
    QString sizeGiven = QStringLiteral("10.5");
    bool bold = false;
    bool italic = false;
    Style style;
    std::optional<QString> loop;
    bool qq = false;
    std::optional<QString> text;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "zantoria-cli arttext: %s\n", qUtf8Printable(message));
    return 1;
}

int usageError(const char *message)
{
    if (*message)
        std::fprintf(stderr, "zantoria-cli arttext: %s\n", message);
    std::fputs(kUsage, stderr);
    return 2;
}

void quietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "zantoria-cli arttext: %s\n", qUtf8Printable(message));
}

int indexOf(const char *value, std::initializer_list<const char *> names)
{
    int i = 0;
    for (const char *name : names) {
        if (!std::strcmp(value, name))
            return i;
        ++i;
    }
    return -1;
}

// A number as written in decimal, whatever its size: one too large or too
// small for a double is a size out of range, not a word that is no number.
bool writtenAsNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return number.match(text).hasMatch();
}

std::optional<int> parse(int argc, char **argv, Options &o)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (optionsEnded) {
            if (o.text)
                return usageError("only one TEXT at a time");
            o.text = QString::fromLocal8Bit(a);
            continue;
        }
        const auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        const auto text = [&](const char *what, QString &into) -> std::optional<int> {
            const char *v = value();
            if (!v)
                return usageError(what);
            into = QString::fromLocal8Bit(v);
            return std::nullopt;
        };
        std::optional<int> status;
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!std::strcmp(a, "--font")) {
            status = text("--font needs a name", o.font);
        } else if (!std::strcmp(a, "--")) {
            optionsEnded = true;
        } else if (!std::strcmp(a, "--size")) {
            if ((status = text("--size needs a number of points", o.sizeGiven)))
                return status;
            bool ok = false;
            o.size = o.sizeGiven.toDouble(&ok);
            if (!ok && !writtenAsNumber(o.sizeGiven))
                return usageError("--size needs a number of points");
            if (!ok)
                o.size = std::numeric_limits<double>::quiet_NaN(); // out of any range
        } else if (!std::strcmp(a, "--bold")) {
            o.bold = true;
        } else if (!std::strcmp(a, "--italic")) {
            o.italic = true;
        } else if (!std::strcmp(a, "--effect")) {
            const char *v = value();
            const int effect = v ? indexOf(v, {"plain", "vivid", "updown", "leftright", "loop", "follow"}) : -1;
            if (effect < 0)
                return usageError("--effect is plain, vivid, updown, leftright, loop or follow");
            o.style.effect = effect;
        } else if (!std::strcmp(a, "--width")) {
            const char *v = value();
            const int group = v ? indexOf(v, {"both", "full", "half"}) : -1;
            if (group < 0)
                return usageError("--width is both, full or half");
            o.style.group = group;
        } else if (!std::strcmp(a, "--fg")) {
            status = text("--fg needs a character", o.style.frontBJ);
        } else if (!std::strcmp(a, "--bg")) {
            status = text("--bg needs a character", o.style.backBJ);
        } else if (!std::strcmp(a, "--fg-full")) {
            status = text("--fg-full needs a character", o.style.frontQJ);
        } else if (!std::strcmp(a, "--bg-full")) {
            status = text("--bg-full needs a character", o.style.backQJ);
        } else if (!std::strcmp(a, "--loop")) {
            QString v;
            status = text("--loop needs a text", v);
            o.loop = v;
        } else if (!std::strcmp(a, "--loop-full")) {
            o.style.loopFullWidth = true;
        } else if (!std::strcmp(a, "--qq")) {
            o.qq = true;
        } else if (a[0] == '-' && a[1] != '\0' && !o.text) {
            std::fprintf(stderr, "zantoria-cli arttext: unknown option '%s'\n", a);
            return usageError("");
        } else if (!o.text) {
            o.text = QString::fromLocal8Bit(a);
        } else {
            return usageError("only one TEXT at a time");
        }
        if (status)
            return status;
    }
    if (!o.text)
        return usageError("no TEXT given");
    return std::nullopt;
}

// One character a box must hold, of the width it is for.
std::optional<int> checkCharacter(const char *option, const QString &given, bool fullWidth)
{
    const QString kept = fullWidth ? FullWidthBoxChar(given) : HalfWidthBoxChar(given);
    const bool single = given.size() == 1 || (given.size() == 2 && given[0].isHighSurrogate());
    if (single && kept == given)
        return std::nullopt;
    return fail(QStringLiteral("%1 takes one %2 character, not '%3'")
                    .arg(QString::fromLatin1(option), fullWidth ? QStringLiteral("full-width")
                                                                : QStringLiteral("half-width"),
                         given));
}

// The art in UTF-8, a piece at a time: a whole copy would double what the
// largest art takes.
bool writeUtf8(QStringView art)
{
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    for (qsizetype at = 0; at < art.size();) {
        qsizetype n = std::min(kPiece, art.size() - at);
        if (at + n < art.size() && art[at + n - 1].isHighSurrogate())
            --n; // never half a pair
        const QByteArray bytes = art.sliced(at, n).toUtf8();
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
            return false;
        at += n;
    }
    return std::fflush(stdout) == 0;
}

bool fontKnown(const QString &family)
{
    if (family.compare(Fonts::kSongTi, Qt::CaseInsensitive) == 0 || !QFont::substitutes(family).isEmpty())
        return true;
    return QFontDatabase::hasFamily(family);
}

} // namespace

int runArtText(int argc, char **argv)
{
    Options o;
    if (const auto status = parse(argc, argv, o))
        return *status;

    const QString &text = *o.text;
    if (text.isEmpty())
        return fail(QStringLiteral("TEXT is empty"));
    if (!(o.size >= 4 && o.size <= 72))
        return fail(QStringLiteral("--size must be from 4 to 72 points, not %1").arg(o.sizeGiven.trimmed()));
    for (const auto &[option, given, full] :
         {std::tuple{"--fg", o.style.frontBJ, false}, std::tuple{"--bg", o.style.backBJ, false},
          std::tuple{"--fg-full", o.style.frontQJ, true}, std::tuple{"--bg-full", o.style.backQJ, true}}) {
        if (const auto status = checkCharacter(option, given, full))
            return *status;
    }
    const QString loopGiven = o.loop.value_or(o.style.loopFullWidth ? kLoopDefaultQJ : kLoopDefaultBJ);
    o.style.loop = LoopString(loopGiven, o.style.loopFullWidth);
    if (o.style.effect == Loop && o.style.loop.isEmpty())
        return fail(QStringLiteral("the loop text keeps no %1 character")
                        .arg(o.style.loopFullWidth ? QStringLiteral("full-width") : QStringLiteral("half-width")));

    // Fonts need a GUI application; the offscreen platform draws nowhere.
    qInstallMessageHandler(quietQt);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Fonts::installSubstitutions();
    int appArgc = 1;
    char appName[] = "zantoria-cli";
    char *appArgv[] = {appName, nullptr};
    QGuiApplication app(appArgc, appArgv);
    if (!fontKnown(o.font))
        return fail(QStringLiteral("unknown font '%1'").arg(o.font));

    const QFont font = ArtTextFont(o.font, o.size, o.bold, o.italic);
    TextCells cells;
    CellsSize size;
    if (!RenderTextCells(text, font, cells, {}, &size)) {
        if (size.count() > kMaxTextCells)
            return fail(QStringLiteral("the art would take %1 × %2 characters, more than %3")
                            .arg(size.columns)
                            .arg(size.rows)
                            .arg(kMaxTextCells));
        return fail(QStringLiteral("not enough memory to draw the text"));
    }
    QString art = Build(cells, text, o.style);
    cells = TextCells();
    if (o.qq)
        art = QqCap(art).text;
    TextCodec::toLf(art);
    if (!writeUtf8(art))
        return fail(QStringLiteral("cannot write the art"));
    return 0;
}
