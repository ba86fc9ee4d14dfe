#include "shell/core/utilities.h"

#include "shell/core/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>
#include <limits>

QColor toQColor(RgbValue value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

RgbValue fromQColor(const QColor &colour)
{
    return RGB(colour.red(), colour.green(), colour.blue());
}

bool IsFullWidth(QStringView text)
{
    if (text.isEmpty())
        return false;
    const char32_t first = text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate()
                               ? QChar::surrogateToUcs4(text[0], text[1])
                               : text[0].unicode();
    return TextCodec::isFullWidth(first);
}

std::int32_t CountFullWidth(QStringView text)
{
    std::int32_t count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // a pair is one character
        if (TextCodec::isFullWidth(c.unicode()))
            ++count;
    }
    return count;
}

std::int16_t CountDbcs(QStringView text)
{
    const std::int32_t n = CountFullWidth(text);
    return std::int16_t(std::min<std::int32_t>(n, std::numeric_limits<std::int16_t>::max()));
}

QString TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString PadCaption(QStringView text)
{
    const QString trimmed = TrimBlanks(text);
    return trimmed + QString(CountDbcs(trimmed), QChar(0x3000));
}

bool CanWritePath(const QString &path)
{
    if (path.isEmpty())
        return false;
    // A link is there even when it points nowhere: probing through it would
    // create its target, and removing the probe would remove the link.
    const auto there = [&] {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    };
    if (there())
        return true;
    // Created only if nothing stands there (nor a link), so the probe
    // removed again is always our own, even if a file appeared meanwhile.
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return there();
    probe.close();
    return probe.remove();
}

void DrawGradient(const GradColor &start, const GradColor &end, QPainter &surface, const QString &direction)
{
    const bool vertical = direction.compare(QLatin1String("V"), Qt::CaseInsensitive) == 0;
    const bool horizontal = direction.compare(QLatin1String("H"), Qt::CaseInsensitive) == 0;
    if ((!vertical && !horizontal) || !surface.device())
        return;
    const int width = surface.device()->width();
    const int height = surface.device()->height();
    const int extent = vertical ? height : width;
    if (extent <= 0)
        return;
    const double stepR = (end.R - start.R) / extent;
    const double stepG = (end.G - start.G) / extent;
    const double stepB = (end.B - start.B) / extent;
    // The bands run from i to i + 2 inclusive, as the original rectangle calls did.
    for (int i = 0; i <= extent; i += 3) {
        const QColor colour(int(std::lround(start.R + i * stepR)), int(std::lround(start.G + i * stepG)),
                            int(std::lround(start.B + i * stepB)));
        if (vertical)
            surface.fillRect(QRect(QPoint(0, i), QPoint(width, i + 2)), colour);
        else
            surface.fillRect(QRect(QPoint(i, 0), QPoint(i + 2, height)), colour);
    }
}

namespace {

// Text is placed by its top-left corner; a turned font turns about that corner.
void printAt(QPainter &surface, const QString &text, int x, int y, int angle)
{
    const QFontMetrics metrics(surface.font());
    if (angle == 0) {
        surface.drawText(QPoint(x, y + metrics.ascent()), text);
        return;
    }
    surface.save();
    surface.translate(x, y);
    surface.rotate(-angle); // an escapement turns counter-clockwise
    surface.drawText(QPoint(0, metrics.ascent()), text);
    surface.restore();
}

void printEngraved(const QString &text, int x, int y, int depth, RgbValue colour, QPainter &surface, int angle)
{
    surface.setPen(Qt::black);
    for (int i = 1; i <= depth; ++i)
        printAt(surface, text, x - i, y - i, angle);
    surface.setPen(Qt::white);
    for (int i = 1; i <= depth; ++i)
        printAt(surface, text, x + i, y + i, angle);
    surface.setPen(toQColor(colour));
    printAt(surface, text, x, y, angle);
}

} // namespace

void PrintEngraved(const QString &text, int x, int y, int depth, RgbValue colour, QPainter &surface)
{
    printEngraved(text, x, y, depth, colour, surface, 0);
}

void PrintTextFont(const QString &text, int x, int y, int depth, RgbValue colour, int angle, QPainter &surface,
                   const QString &fontName, double fontSize)
{
    // Points to pixels at 96 dots per inch: 20 twips a point, 15 twips a pixel.
    const int pixelHeight = int(std::lround(fontSize * 20.0 / 15.0));
    // A face name holds at most 31 bytes in the code page (the record's field
    // keeps one for its terminator); a longer one is cut at a character.
    QString face = fontName;
    while (TextCodec::byteLength(face) > 31)
        face.chop(face.size() > 1 && face.back().isLowSurrogate() ? 2 : 1);
    QFont font(face);
    if (pixelHeight > 0)
        font.setPixelSize(pixelHeight);
    font.setWeight(surface.font().bold() ? QFont::ExtraBold : QFont::Normal);
    font.setStyleStrategy(QFont::NoAntialias);

    const QFont previous = surface.font();
    surface.setFont(font);
    printEngraved(text, x, y, depth, colour, surface, angle);
    surface.setFont(previous);
}
