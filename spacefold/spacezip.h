#pragma once

// Folding the blanks of text art. Lines are separated by CR LF; a character
// is a code point (a pair of surrogates is one character) and is full-width
// by TextCodec::isFullWidth, which lays it out in two byte columns.
//
// The passes work on whole columns of the picture, so lines stay aligned.
// They never build a grid of cells: every pass is one or two sweeps over a
// single buffer that shrinks in place, so a long text costs little more
// memory than the text itself.

#include <QString>
#include <QStringView>

#include <chrono>
#include <functional>

struct ZipOptions
{
    bool optLeading = true; // the leading blank columns all lines share
    bool optTrailing = false; // trailing blanks of each line
    bool optInner = false; // blank columns running through every line
    bool optBlankLines = false; // lines of blanks only

    bool any() const { return optLeading || optTrailing || optInner || optBlankLines; }
};

// The passes, in the order they run.
enum class ZipPass { BlankLines, Trailing, Leading, Inner };

struct ZipHooks
{
    // Told before each pass that runs.
    std::function<void(ZipPass)> passStarting;
    // Called when about `budget` has passed since the start or the last
    // call, so that a window can let its events run; never per character.
    std::function<void()> yield;
    std::chrono::milliseconds budget{16};
};

// The whole compression: the selected passes in their fixed order. A text of
// blanks and line breaks only gives the empty text.
QString Zip(QString text, const ZipOptions &options, const ZipHooks &hooks = {});

// Each full-width blank becomes two blanks (the same two bytes in a file):
// the Spacefold window never holds one.
void widenBlanks(QString &text);

// True when the text holds anything besides half-width blanks, full-width
// blanks and CR LF pairs.
bool FindOtherChar(QStringView text);

// Removes the trailing CR LF pairs, but stops as soon as the number of pairs
// removed reaches the number of characters left, so a very short text can
// keep one ("a" with four line breaks keeps one).
QString GetStr(QString text);

// Tidies the text a pass has written (every line followed by CR LF).
// Afterwards `work` holds the lines the next pass reads, joined by CR LF, and
// the result is the length of the tidied text, a prefix of `work`: the lines
// can end with an empty line that the text no longer has.
qsizetype ReSetTemp(QString &work);
