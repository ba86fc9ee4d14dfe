#include "spacezip.h"

#include "shell/core/textcodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr char16_t kBlank = u' ';
constexpr char16_t kWideBlank = 0x3000;
constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';

// Units of work between two looks at the clock: a few tens of microseconds,
// so the budget is kept closely without reading the clock per character.
constexpr qsizetype kUnitsPerClockCheck = qsizetype(1) << 15;

// Hands control to the caller's hook once per time budget.
class Budget
{
public:
    explicit Budget(const ZipHooks &hooks)
        : m_hooks(hooks)
        , m_next(Clock::now() + hooks.budget)
    {
    }

    void spent(qsizetype units)
    {
        m_units += units;
        if (m_units >= kUnitsPerClockCheck)
            check();
    }

    void passStarting(ZipPass pass)
    {
        if (m_hooks.passStarting)
            m_hooks.passStarting(pass);
    }

private:
    void check()
    {
        m_units = 0;
        if (!m_hooks.yield || Clock::now() < m_next)
            return;
        m_hooks.yield();
        m_next = Clock::now() + m_hooks.budget;
    }

    const ZipHooks &m_hooks;
    qsizetype m_units = 0;
    Clock::time_point m_next;
};

char16_t *units(QString &text)
{
    return reinterpret_cast<char16_t *>(text.data());
}

// One character of a line: its length in UTF-16 units and its byte columns.
struct CharShape
{
    int units;
    int columns;
};

inline CharShape shapeAt(const char16_t *line, qsizetype i, qsizetype length)
{
    const char16_t c = line[i];
    if (QChar::isHighSurrogate(c) && i + 1 < length && QChar::isLowSurrogate(line[i + 1]))
        return {2, 2};
    return {1, TextCodec::isFullWidth(c) ? 2 : 1};
}

qsizetype codePoints(const char16_t *d, qsizetype n)
{
    qsizetype count = n;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (QChar::isHighSurrogate(d[i]) && QChar::isLowSurrogate(d[i + 1])) {
            --count;
            ++i;
        }
    }
    return count;
}

// The length `GetStr` leaves of the first `n` units of `d`.
qsizetype lengthWithoutBreaks(const char16_t *d, qsizetype n, Budget &budget)
{
    qsizetype pairs = 0;
    while (n - 2 * pairs >= 2 && d[n - 2 * pairs - 2] == kCR && d[n - 2 * pairs - 1] == kLF)
        ++pairs;
    if (pairs == 0)
        return n;
    // The counter can only catch up with the length left when the text is
    // short beside its line breaks; otherwise every pair goes and the exact
    // number of characters does not matter.
    qsizetype length = 3 * pairs < (n + 1) / 2 ? n : codePoints(d, n);
    qsizetype removed = 0;
    for (qsizetype counter = 1; removed < pairs; ++counter) {
        budget.spent(2);
        ++removed;
        length -= 2;
        if (counter >= length)
            break;
    }
    return n - 2 * removed;
}

qsizetype reSetTemp(QString &work, Budget &budget)
{
    work.truncate(lengthWithoutBreaks(units(work), work.size(), budget));
    return lengthWithoutBreaks(units(work), work.size(), budget);
}

// The index of the CR that ends the line starting at `from`, in a buffer
// whose every line ends with CR LF.
inline qsizetype lineEnd(const char16_t *d, qsizetype from, qsizetype n)
{
    for (qsizetype i = from; i + 1 < n; ++i) {
        if (d[i] == kCR && d[i + 1] == kLF)
            return i;
    }
    return n;
}

// Every line of the work buffer followed by CR LF, as a pass writes them: a
// final CR LF makes the buffer exactly that, and splitting it still finds
// the same lines (an empty buffer is one empty line).
void terminateLines(QString &work)
{
    work.append(u"\r\n");
}

template<typename Visit>
void forEachLine(QString &work, Budget &budget, Visit visit)
{
    const char16_t *d = units(work);
    const qsizetype n = work.size();
    for (qsizetype r = 0; r < n;) {
        const qsizetype e = lineEnd(d, r, n);
        visit(d + r, e - r);
        budget.spent(e + 2 - r);
        r = e + 2;
    }
}

// Rewrites the terminated lines in place. `rewrite(line, length, out)`
// writes the line's new text at `out` (never past the line's own start)
// and returns its length, or -1 to drop the line.
template<typename Rewrite>
void rewriteLines(QString &work, Budget &budget, Rewrite rewrite)
{
    char16_t *d = units(work);
    const qsizetype n = work.size();
    qsizetype w = 0;
    for (qsizetype r = 0; r < n;) {
        const qsizetype e = lineEnd(d, r, n);
        const qsizetype kept = rewrite(d + r, e - r, d + w);
        if (kept >= 0) {
            w += kept;
            d[w++] = kCR;
            d[w++] = kLF;
        }
        budget.spent(e + 2 - r);
        r = e + 2;
    }
    work.truncate(w);
}

inline qsizetype moveDown(const char16_t *from, qsizetype length, char16_t *to)
{
    if (from != to && length > 0)
        std::memmove(to, from, size_t(length) * sizeof(char16_t));
    return length;
}

inline qsizetype leadingBlanks(const char16_t *line, qsizetype length)
{
    qsizetype k = 0;
    while (k < length && line[k] == kBlank)
        ++k;
    return k;
}

void blankLinesPass(QString &work, Budget &budget)
{
    rewriteLines(work, budget, [](const char16_t *line, qsizetype length, char16_t *out) -> qsizetype {
        if (leadingBlanks(line, length) == length)
            return -1;
        return moveDown(line, length, out);
    });
}

void trailingPass(QString &work, Budget &budget)
{
    rewriteLines(work, budget, [](const char16_t *line, qsizetype length, char16_t *out) {
        while (length > 0 && line[length - 1] == kBlank)
            --length;
        return moveDown(line, length, out);
    });
}

// The leading columns that are blank in every line. A column is looked at
// only while every line has a character there, and a line's first non-blank
// character ends its run of blank columns, so this is the smallest indent.
qsizetype sharedIndent(QString &work, Budget &budget)
{
    qsizetype indent = -1;
    forEachLine(work, budget, [&](const char16_t *line, qsizetype length) {
        if (indent != 0) {
            const qsizetype lead = leadingBlanks(line, length);
            indent = indent < 0 ? lead : std::min(indent, lead);
        }
    });
    return std::max<qsizetype>(indent, 0);
}

void leadingPass(QString &work, Budget &budget)
{
    const qsizetype indent = sharedIndent(work, budget);
    if (indent == 0)
        return;
    rewriteLines(work, budget, [indent](const char16_t *line, qsizetype length, char16_t *out) {
        return moveDown(line + indent, length - indent, out);
    });
}

// Byte columns holding something other than a blank in at least one line.
class ColumnMarks
{
public:
    void mark(qsizetype column, int width)
    {
        const qsizetype last = column + width - 1;
        if (size_t(last >> 6) >= m_words.size())
            m_words.resize(std::max(size_t(last >> 6) + 1, m_words.size() * 2), 0);
        for (qsizetype c = column; c <= last; ++c)
            m_words[size_t(c >> 6)] |= std::uint64_t(1) << (c & 63);
    }

    bool marked(qsizetype column) const
    {
        const size_t word = size_t(column >> 6);
        return word < m_words.size() && (m_words[word] >> (column & 63) & 1) != 0;
    }

private:
    std::vector<std::uint64_t> m_words;
};

void innerPass(QString &work, Budget &budget)
{
    ColumnMarks inked;
    qsizetype indent = -1;
    qsizetype minChars = -1;
    qsizetype maxColumns = 0;
    forEachLine(work, budget, [&](const char16_t *line, qsizetype length) {
        const qsizetype lead = leadingBlanks(line, length);
        indent = indent < 0 ? lead : std::min(indent, lead);
        qsizetype column = lead;
        qsizetype chars = lead;
        for (qsizetype i = lead; i < length; ++chars) {
            const CharShape shape = shapeAt(line, i, length);
            if (line[i] != kBlank)
                inked.mark(column, shape.columns);
            column += shape.columns;
            i += shape.units;
        }
        minChars = minChars < 0 ? chars : std::min(minChars, chars);
        maxColumns = std::max(maxColumns, column);
    });
    // The shared indent stays; every blank column after it goes.
    const qsizetype kept = std::min(indent, minChars);
    bool anyBlankColumn = false;
    for (qsizetype c = kept; c < maxColumns && !anyBlankColumn; ++c)
        anyBlankColumn = !inked.marked(c);
    if (!anyBlankColumn)
        return;
    rewriteLines(work, budget, [&](const char16_t *line, qsizetype length, char16_t *out) {
        qsizetype w = 0;
        qsizetype column = 0;
        for (qsizetype i = 0; i < length;) {
            const CharShape shape = shapeAt(line, i, length);
            if (!(line[i] == kBlank && column >= kept && !inked.marked(column))) {
                out[w++] = line[i];
                if (shape.units == 2)
                    out[w++] = line[i + 1];
            }
            column += shape.columns;
            i += shape.units;
        }
        return w;
    });
}

} // namespace

void widenBlanks(QString &text)
{
    // In place, back to front, in one pass: QString::replace would move the
    // rest of the text for every blank.
    const qsizetype wide = text.count(QChar(kWideBlank));
    if (wide == 0)
        return;
    const qsizetype old = text.size();
    text.resize(old + wide);
    char16_t *d = units(text);
    qsizetype w = old + wide;
    for (qsizetype r = old; r-- > 0;) {
        if (d[r] == kWideBlank) {
            d[--w] = kBlank;
            d[--w] = kBlank;
        } else {
            d[--w] = d[r];
        }
    }
}

bool FindOtherChar(QStringView text)
{
    // As if the blanks went first and the CR LF pairs after them: a CR, some
    // blanks and an LF leave nothing.
    bool pendingCR = false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == kBlank || c == kWideBlank)
            continue;
        if (c == kCR) {
            if (pendingCR)
                return true;
            pendingCR = true;
        } else if (c == kLF) {
            if (!pendingCR)
                return true;
            pendingCR = false;
        } else {
            return true;
        }
    }
    return pendingCR;
}

QString GetStr(QString text)
{
    const ZipHooks none;
    Budget budget(none);
    text.truncate(lengthWithoutBreaks(units(text), text.size(), budget));
    return text;
}

qsizetype ReSetTemp(QString &work)
{
    const ZipHooks none;
    Budget budget(none);
    return reSetTemp(work, budget);
}

QString Zip(QString text, const ZipOptions &options, const ZipHooks &hooks)
{
    if (!FindOtherChar(text))
        return QString();
    if (!options.any())
        return text;
    Budget budget(hooks);
    widenBlanks(text);
    text.reserve(text.size() + 2);
    qsizetype textLength = text.size();

    const auto run = [&](bool selected, ZipPass pass, void (*body)(QString &, Budget &)) {
        if (!selected)
            return;
        budget.passStarting(pass);
        terminateLines(text);
        body(text, budget);
        textLength = reSetTemp(text, budget);
    };
    run(options.optBlankLines, ZipPass::BlankLines, blankLinesPass);
    run(options.optTrailing, ZipPass::Trailing, trailingPass);
    run(options.optLeading, ZipPass::Leading, leadingPass);
    run(options.optInner, ZipPass::Inner, innerPass);

    text.truncate(textLength);
    return text;
}
