#pragma once

// Art text: cells to characters by the character-width group and the
// effect, the ways a result joins the text already shown, and the cap that
// makes a result fit one QQ message.

#include "textcells.h"

#include <QString>
#include <QStringView>

#include <functional>

namespace ArtText {

// The effects, in the order of their options.
enum Effect { Plain = 0, Vivid = 1, UpDown = 2, LeftRight = 3, Loop = 4, Follow = 5 };
// The character-width groups (conModeState).
enum Group { BothWidths = 0, FullWidthOnly = 1, HalfWidthOnly = 2 };

inline const QString kLoopDefaultBJ = QStringLiteral("Zantoria");
inline const QString kLoopDefaultQJ = QStringLiteral("Ｚａｎｔｏｒｉａ");
inline const QString kFullWidthBlank = QStringLiteral("\u3000");
// The full-width characters the foreground and background boxes start with.
inline const QString kDefaultFrontQJ = QStringLiteral("■");
inline const QString kDefaultBackQJ = QStringLiteral("□");

// The full-width blank and the 59 symbols of the full-width boxes' lists.
QStringList symbolChars();

struct Style
{
    int group = HalfWidthOnly;
    int effect = Vivid;
    QString frontBJ = QStringLiteral("*");
    QString backBJ = QStringLiteral("#");
    QString frontQJ = kDefaultFrontQJ;
    QString backQJ = kDefaultBackQJ;
    QString loop; // as LoopString leaves it
    bool loopFullWidth = false;
};

// A control code, a combining mark or a zero-width character is neither
// half- nor full-width: it takes no column of its own, and the art's columns
// would no longer line up.
//
// What a half-width character box keeps of what was typed: its first
// character, or a blank when that is missing or not half-width.
QString HalfWidthBoxChar(QStringView typed);
// What a full-width character box keeps: its first character when that is
// full-width, else the full-width blank.
QString FullWidthBoxChar(QStringView typed);
// The loop string as the loop box keeps it: only full-width characters, or
// only half-width ones.
QString LoopString(QStringView typed, bool fullWidth);

// Half-width columns the text takes: full-width characters take two.
qsizetype Columns(QStringView text);

// The art: one line of W + 1 characters for each of the H + 1 rows, each
// ended by CR LF. `text` is the text the cells were drawn from. The loop
// effect needs a loop string (empty gives an empty result). `pause` runs
// after a row every few tens of thousands of cells and after the last, for a
// window to repaint.
QString Build(const TextCells &cells, QStringView text, const Style &style,
              const std::function<void()> &pause = {});

// A result joined beside the text shown: line by line, the shorter side
// padded with blanks to the columns of its first line. `shown` loses its
// final line break, when it has one, first.
QString JoinBeside(QStringView shown, QStringView result);
// A result below the text shown, always from a line of its own.
QString AppendBelow(QStringView shown, QStringView result);

// The size of a text of art: its lines (a final line break starts none),
// the characters of its longest line and its characters in all, line breaks
// not counted and a character beyond the basic plane counted once.
struct ArtSize
{
    qint64 columns = 0;
    qint64 rows = 0;
    qint64 characters = 0;

    bool operator==(const ArtSize &) const = default;
};
ArtSize Measure(QStringView text);
// What JoinBeside and AppendBelow would make of the two texts, measured
// without making it: two results that are each allowed can together ask for
// far more memory than there is.
ArtSize JoinedBesideSize(QStringView shown, QStringView result);
ArtSize AppendedBelowSize(QStringView shown, QStringView result);

// The QQ cap: a limit of 500 − f characters (f the full-width ones), at
// least 250, and never more than 500 bytes in the code page. The cut never
// splits a CR LF or a character beyond the basic plane. Lengths count
// UTF-16 units, as the display's character limit does.
struct QqCut
{
    int limit = 0;
    QString text;
};
QqCut QqCap(QStringView text);

} // namespace ArtText
