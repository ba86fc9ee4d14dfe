#pragma once

// The rules of the skinned window that need no widgets: reading the skin's
// description file, where tiled pieces go, where the caption and the caption
// buttons sit, and which presses start a window move.

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

// A skin that cannot be applied: a missing or unreadable bitmap or description
// file, or a missing colour. The program shows skinFailureText() and ends.
class SkinError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace SkinRules {

// Blank pixels kept free at the caption's ends, and between caption buttons.
constexpr int kSkinMargin = 5;
constexpr int kSkinSpacing = 2;

// The value of `key` among the lines of a description file: the first
// trimmed line longer than key + "=" that holds key + "=" anywhere gives the
// line without its first key-length + 1 characters. Case-sensitive; empty
// when no line matches.
QString ReadSkinKey(const QStringList &lines, const QString &key);

// The same for a file read through the text codec; throws SkinError when the
// file cannot be read.
QString ReadSkinKey(const QString &path, const QString &key);

// An integer colour part 0 to 255 of the description file; throws SkinError
// when the key is missing or its value is no such number.
int ReadColourKey(const QStringList &lines, const QString &key);

// Which caption buttons a skin flag ("nomin", "nomax", "noboth", "noclose",
// "nocontrol", "noall"; trimmed, any case) hides, and whether the window may
// still be maximised.
struct SkinFlags
{
    bool hideMin = false;
    bool hideMax = false;
    bool hideClose = false;
    bool hideControl = false;
    bool maxAllowed = true;
};
SkinFlags parseSkinFlag(const QString &flag);

// Offsets along one side at which a piece `pieceExtent` long is painted to
// cover `extent` pixels: (extent ÷ piece) + 1 copies from 0 on, the last one
// running past the end. Empty for a piece without size.
QList<int> tileOffsets(int extent, int pieceExtent);

// Left edge of the caption text: centred over the window for mode "m" (any
// case), otherwise 10 pixels right of `captionLeft`.
int captionTextLeft(const QString &mode, int windowWidth, int textWidth, int captionLeft);

struct CaptionButtonLefts
{
    int close = 0;
    int max = 0;
    int min = 0;
};
// Caption buttons from the right: close, then maximise, then minimise; a
// window that may not be maximised puts minimise in maximise's place.
CaptionButtonLefts captionButtonLefts(int rightLimit, int closeWidth, int maxWidth, int minWidth, bool maxAllowed);

// True when a press starts a window move: left button only; anywhere on the
// caption text (area "l", any case), otherwise only inside the caption band
// margin < x < rightLimit − margin and margin < y < captionHeight.
bool startsDrag(bool leftButton, int x, int y, const QString &area, int rightLimit, int captionHeight);

// True when a double click at pointer height `y` switches between normal and
// maximised: only inside the caption (0 < y < captionHeight) and when allowed.
bool captionDoubleClickToggles(int y, int captionHeight, bool maxAllowed);

} // namespace SkinRules
