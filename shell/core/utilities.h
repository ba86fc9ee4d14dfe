#pragma once

// Small text and drawing helpers shared by every panel of both programs.

#include <QColor>
#include <QString>
#include <QStringView>

#include <cstdint>

class QPainter;

// Colours travel as 24-bit values with red in the low byte, green in the
// middle byte and blue in the high byte.
using RgbValue = std::uint32_t;

constexpr RgbValue RGB(int r, int g, int b)
{
    return RgbValue(r & 0xFF) | (RgbValue(g & 0xFF) << 8) | (RgbValue(b & 0xFF) << 16);
}
QColor toQColor(RgbValue value);
RgbValue fromQColor(const QColor &colour);

// True when the first character of the text is full-width; false for "".
bool IsFullWidth(QStringView text);

// Full-width characters in the text. CountDbcs keeps the historical 16-bit
// count and saturates instead of wrapping for absurdly long texts.
std::int16_t CountDbcs(QStringView text);
std::int32_t CountFullWidth(QStringView text);

// Removes half-width blanks at both ends; a full-width blank "　" is part of
// the text and stays (unlike QString::trimmed, which takes it away too).
QString TrimBlanks(QStringView text);

// Trims half-width blanks at both ends and appends one ideographic space
// (U+3000) per full-width character, so that captions of mixed scripts line up
// on the buttons.
QString PadCaption(QStringView text);

// Pads a control's caption in place; any object with caption()/setCaption().
template<typename Control>
void FixCaption(Control &control)
{
    control.setCaption(PadCaption(control.caption()));
}

// True when a file exists at the path (a link counts, even one pointing
// nowhere) or one can be created there (the probe file is removed again;
// nothing that was there is ever touched). Never reports.
bool CanWritePath(const QString &path);

struct GradColor
{
    double B = 0;
    double R = 0;
    double G = 0;
};

// Fills the painter's device with 3-pixel bands from `start` to `end`:
// direction "V" (any case) top to bottom, "H" left to right; else nothing.
void DrawGradient(const GradColor &start, const GradColor &end, QPainter &surface, const QString &direction);

// Prints an engraved text in the named font (size in points, angle in
// degrees counter-clockwise); the painter's current font decides the weight.
void PrintTextFont(const QString &text, int x, int y, int depth, RgbValue colour, int angle, QPainter &surface,
                   const QString &fontName, double fontSize);

// Prints the text with its top-left corner at (x, y) in the painter's font:
// a dark edge up-left, a light edge down-right, the text on top.
void PrintEngraved(const QString &text, int x, int y, int depth, RgbValue colour, QPainter &surface);
