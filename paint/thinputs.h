#pragma once

// The paint panel's rules for its inputs and captions, kept apart from the
// widgets so they can be checked on their own.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// The full-width brushes offered in the list, in order.
inline const QString thSymbols = QStringLiteral(
    "⊙●○①⊕◎Θ¤㊣★☆◆◇■▓回□〓◣◢◥⊿◤▼▽▲△≡╬∵∴∷※卐の＠℡ぁ＊×＋－÷﹢﹣±♂♀∮§∝℃℉＄￠￡‰№Ж");

// The full-width blank first, then every character of `symbols` except the
// half-width blank, one item each.
QStringList InitthQJChar(QStringView symbols);

// Canvas modes: the size a mode sets, its limits, and whether it allows
// full-width brushes.
struct THMode
{
    const char16_t *caption;
    int cols;
    int rows;
    int maxCols;
    int maxRows;
    bool fullWidth;
};
inline constexpr std::array<THMode, 3> thModes = {{
    {u"普通模式(120x120)", 60, 20, 120, 120, true},
    {u"QQ模式(68x8)", 68, 8, 68, 8, true},
    {u"ICQ模式(无全角涂画字符)", 60, 20, 120, 120, false},
}};

// What a size box holds after the user typed `text`: the text as typed when
// it is a number from 1 to `max`, "1" or `max` for one below or above, and
// `current` when it is no number (an empty text, letters, "nan", "inf").
QString thSizeInput(const QString &text, int current, int max);

// The size a box stands for: its number rounded to a whole one and kept
// within 1 … `max`; `current` when it holds no number.
int thSizeValue(const QString &text, int current, int max);

// The half-width brush box keeps a printable half-width character; anything
// else (nothing, a full-width character, a control code) becomes a blank.
QString thHalfWidthBrushInput(const QString &text);

// The full-width brush box keeps the first character of what was typed when
// it is full-width; anything else becomes the full-width blank.
QString thFullWidthBrushInput(const QString &text);

// "当前坐标：(行3,列12)" for the cell at row 2, column 11 (counted from 0).
QString thPositionText(int row, int col);
// "当前坐标：[尚未进入画板]".
QString thPositionOutside();
// "当前画板尺寸:60x20".
QString thSizeCaption(int cols, int rows);
// "画板尺寸：(1x1)～(120x120)".
QString thSizeTooltip(int maxCols, int maxRows);
