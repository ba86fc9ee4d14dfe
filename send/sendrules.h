#pragma once

// The rules of sending into a chat window, without any widget: how long a
// text counts, where an over-long one is cut, and how the loop interval is
// read from its box.

#include <QString>
#include <QStringView>

#include <optional>

namespace SendRules {

// The chat client takes at most this many bytes in one message, counting
// two for every character.
constexpr int kMaxBytes = 500;
// What is kept of a longer text, in characters (UTF-16 units).
constexpr int kMaxCharacters = 500;

// The bytes the chat client counts: two per UTF-16 unit, so a CR LF is two
// characters and four bytes.
qsizetype byteCount(QStringView text);

// The first 500 characters; a pair of surrogates or a CR LF that the cut
// would split loses its first half too, so no half character is ever sent.
QString cutToLimit(QStringView text);

// The number the text starts with ("2abc" is 2, "1.5" is 1.5, " -1" is -1,
// "1e12" is 1e12); 0 when it starts with none. Huge exponents give infinity.
double leadingNumber(QStringView text);

// The loop's next interval in milliseconds for the text of the interval box,
// clamped into what a timer accepts; nothing when the loop ends (no number,
// 0, negative, or less than half a millisecond).
std::optional<int> loopIntervalMs(QStringView text);

// The warning shown before an over-long text is cut.
QString overLongMessage(qsizetype bytes);

} // namespace SendRules
