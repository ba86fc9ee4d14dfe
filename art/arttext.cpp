#include "arttext.h"

#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace ArtText {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The code points of a text; a lone surrogate stands for itself.
std::vector<char32_t> codePoints(QStringView text)
{
    std::vector<char32_t> out;
    out.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            out.push_back(c.unicode());
        }
    }
    return out;
}

// A character that takes no column of its own wherever the art is shown: a
// combining or enclosing mark, a format character (U+200B and the other
// zero-width ones, direction marks, the soft hyphen), a line or paragraph
// separator, a lone surrogate, or a conjoining jamo vowel or final.
bool takesNoColumn(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Surrogate:
        return true;
    default:
        return (c >= 0x1160 && c <= 0x11FF) || (c >= 0xD7B0 && c <= 0xD7FF);
    }
}

// Neither half- nor full-width: a control code or a character without a
// column; no box, loop or followed cell ever takes one.
bool isWidthless(char32_t c)
{
    return PixelSurface::isControl(c) || takesNoColumn(c);
}

bool isFullWidth(char32_t c)
{
    return TextCodec::isFullWidth(c) && !isWidthless(c);
}

QString fromCodePoint(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// One character of the result, as the one or two UTF-16 units it takes.
struct Glyph
{
    char16_t units[2] = {u' ', 0};
    int size = 1;

    Glyph() = default;
    explicit Glyph(char32_t c)
    {
        if (QChar::requiresSurrogates(c)) {
            units[0] = QChar::highSurrogate(c);
            units[1] = QChar::lowSurrogate(c);
            size = 2;
        } else {
            units[0] = char16_t(c);
        }
    }
    explicit Glyph(QStringView one)
        : Glyph(one.isEmpty() ? char32_t(u' ') : codePoints(one).front())
    {
    }
};

// Writes glyphs into a buffer sized beforehand for the longest result.
class Writer
{
public:
    explicit Writer(qsizetype capacity)
        : m_text(capacity, Qt::Uninitialized)
        , m_at(reinterpret_cast<char16_t *>(m_text.data()))
    {
    }
    void put(const Glyph &g)
    {
        *m_at++ = g.units[0];
        if (g.size == 2)
            *m_at++ = g.units[1];
    }
    void endLine()
    {
        *m_at++ = u'\r';
        *m_at++ = u'\n';
    }
    QString take()
    {
        m_text.truncate(m_at - reinterpret_cast<const char16_t *>(m_text.constData()));
        return std::move(m_text);
    }

private:
    QString m_text;
    char16_t *m_at;
};

struct CharacterSet
{
    Glyph front;
    Glyph back;
    Glyph blank;
};

// Characters of a text, a pair of surrogates counting once.
qint64 characterCount(QStringView text)
{
    qint64 n = text.size();
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            --n;
    }
    return n;
}

// The pieces of a text between its CR LFs, one at a time, as
// QStringView::split would give them, without a list of them all.
class CrLfLines
{
public:
    explicit CrLfLines(QStringView text)
        : m_text(text)
    {
    }
    bool next(QStringView &line)
    {
        if (m_from < 0)
            return false;
        const qsizetype at = m_text.indexOf(kCrLf, m_from);
        if (at < 0) {
            line = m_text.sliced(m_from);
            m_from = -1;
        } else {
            line = m_text.sliced(m_from, at - m_from);
            m_from = at + 2;
        }
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_from = 0;
};

void addLine(ArtSize &size, qint64 characters)
{
    size.characters += characters;
    size.columns = std::max(size.columns, characters);
    ++size.rows;
}

} // namespace

QStringList symbolChars()
{
    const QString symbols = QStringLiteral("⊙●○①⊕◎Θ¤㊣★☆◆◇■▓回□〓◣◢◥⊿◤▼▽▲△≡╬∵∴∷※卐の＠℡ぁ＊×＋－÷﹢﹣±♂♀∮§∝℃℉＄￠￡‰№Ж");
    QStringList list{kFullWidthBlank};
    for (char32_t c : codePoints(symbols)) {
        if (c != u' ')
            list << fromCodePoint(c);
    }
    return list;
}

QString HalfWidthBoxChar(QStringView typed)
{
    if (typed.isEmpty())
        return QStringLiteral(" ");
    const char32_t c = codePoints(typed).front();
    return TextCodec::isFullWidth(c) || isWidthless(c) ? QStringLiteral(" ") : fromCodePoint(c);
}

QString FullWidthBoxChar(QStringView typed)
{
    if (typed.isEmpty())
        return kFullWidthBlank;
    const char32_t c = codePoints(typed).front();
    return isFullWidth(c) ? fromCodePoint(c) : kFullWidthBlank;
}

QString LoopString(QStringView typed, bool fullWidth)
{
    QString kept;
    for (char32_t c : codePoints(typed)) {
        if (!isWidthless(c) && TextCodec::isFullWidth(c) == fullWidth)
            kept += fromCodePoint(c);
    }
    return kept;
}

qsizetype Columns(QStringView text)
{
    qsizetype columns = 0;
    for (char32_t c : codePoints(text))
        columns += TextCodec::isFullWidth(c) ? 2 : 1;
    return columns;
}

QString Build(const TextCells &cells, QStringView text, const Style &style, const std::function<void()> &pause)
{
    const std::vector<char32_t> chars = codePoints(text);
    const auto charAt = [&](std::int32_t index) -> char32_t {
        return index >= 1 && std::size_t(index) <= chars.size() ? chars[std::size_t(index - 1)] : 0;
    };
    const std::vector<char32_t> loop = codePoints(LoopString(style.loop, style.loopFullWidth));
    if (style.effect == Loop && loop.empty())
        return QString();

    const int W = cells.W();
    const int H = cells.H();
    const int columns = cells.columns();

    const CharacterSet half{Glyph(HalfWidthBoxChar(style.frontBJ)), Glyph(HalfWidthBoxChar(style.backBJ)),
                            Glyph(char32_t(u' '))};
    const CharacterSet full{Glyph(FullWidthBoxChar(style.frontQJ)), Glyph(FullWidthBoxChar(style.backQJ)),
                            Glyph(char32_t(0x3000))};
    const Glyph halfBlank(char32_t(u' '));
    const Glyph fullBlank(char32_t(0x3000));
    const Glyph loopBlank = style.loopFullWidth ? fullBlank : halfBlank;
    std::vector<Glyph> loopGlyphs;
    for (char32_t c : loop)
        loopGlyphs.emplace_back(c);
    std::size_t k = 0; // ink cells so far, in reading order

    // Two units a cell only when a character beyond the basic plane can
    // reach the art: a tall narrow result is mostly line breaks, and the
    // buffer is made for the longest result before it is written.
    const auto isPair = [](const Glyph &g) { return g.size == 2; };
    const bool pairs =
        std::ranges::any_of(std::initializer_list<Glyph>{half.front, half.back, full.front, full.back}, isPair)
        || std::ranges::any_of(loopGlyphs, isPair)
        || std::ranges::any_of(chars, [](char32_t c) { return QChar::requiresSurrogates(c); });
    Writer out(qsizetype(cells.rows()) * (qsizetype(columns) * (pairs ? 2 : 1) + 2));
    // A pause for the window every so many cells, not every row: a result
    // one column wide has millions of rows.
    constexpr qint64 kCellsBetweenPauses = qint64(1) << 16;
    qint64 sincePause = 0;

    for (int y = 0; y <= H; ++y) {
        const std::int32_t *owner = cells.lineColumns(y);
        const std::uint8_t *ink = cells.inkRow(y);
        switch (style.effect) {
        case Loop:
            for (int x = 0; x < columns; ++x) {
                if (ink[x])
                    out.put(loopGlyphs[k++ % loopGlyphs.size()]);
                else
                    out.put(loopBlank);
            }
            break;
        case Follow:
            for (int x = 0; x < columns; ++x) {
                const char32_t ch = charAt(owner[x]);
                if (ink[x])
                    out.put(ch == 0 || isWidthless(ch) ? halfBlank : Glyph(ch));
                else
                    out.put(isFullWidth(ch) ? fullBlank : halfBlank);
            }
            break;
        default: {
            const bool upper = 2 * y < H; // y < H ÷ 2, a real number
            for (int x = 0; x < columns; ++x) {
                const bool wide = style.group == FullWidthOnly
                                  || (style.group == BothWidths && isFullWidth(charAt(owner[x])));
                const CharacterSet &set = wide ? full : half;
                if (!ink[x]) {
                    out.put(style.effect == Plain || style.effect < 0 || style.effect > Follow ? set.back
                                                                                               : set.blank);
                    continue;
                }
                switch (style.effect) {
                case UpDown:
                    out.put(upper ? set.front : set.back);
                    break;
                case LeftRight:
                    out.put(2 * x < W ? set.front : set.back);
                    break;
                default:
                    out.put(set.front);
                    break;
                }
            }
            break;
        }
        }
        out.endLine();
        sincePause += columns;
        if (pause && (sincePause >= kCellsBetweenPauses || y == H)) {
            pause();
            sincePause = 0;
        }
    }
    return out.take();
}

QString JoinBeside(QStringView shown, QStringView result)
{
    const QStringView old = shown.endsWith(kCrLf) ? shown.chopped(2) : shown;
    const QList<QStringView> A = old.split(kCrLf);
    const QList<QStringView> B = result.split(kCrLf);
    const qsizetype a = A.size() - 1;
    const qsizetype b = B.size() - 1;
    const qsizetype m = std::min(a, b);
    QString joined;
    joined.reserve(shown.size() + result.size() + (std::max(a, b) - m) * (Columns(A[0]) + Columns(B[0])));
    for (qsizetype i = 0; i <= m; ++i)
        joined.append(A[i]).append(B[i]).append(kCrLf);
    const QString padOld(Columns(B[0]), u' ');
    const QString padNew(Columns(A[0]), u' ');
    for (qsizetype i = m + 1; i <= std::max(a, b); ++i) {
        if (b < a)
            joined.append(A[i]).append(padOld);
        else
            joined.append(padNew).append(B[i]);
        joined.append(kCrLf);
    }
    return joined;
}

QString AppendBelow(QStringView shown, QStringView result)
{
    if (shown.isEmpty() || shown.endsWith(kCrLf))
        return shown + result;
    return shown + kCrLf + result;
}

ArtSize Measure(QStringView text)
{
    ArtSize size;
    if (text.isEmpty())
        return size;
    CrLfLines lines(text.endsWith(kCrLf) ? text.chopped(2) : text);
    for (QStringView line; lines.next(line);)
        addLine(size, characterCount(line));
    return size;
}

ArtSize JoinedBesideSize(QStringView shown, QStringView result)
{
    // Line for line as JoinBeside pairs them, the side that has run out
    // standing in as blanks as wide as the other side's first line.
    CrLfLines A(shown.endsWith(kCrLf) ? shown.chopped(2) : shown);
    CrLfLines B(result);
    QStringView a;
    QStringView b;
    bool hasA = A.next(a);
    bool hasB = B.next(b);
    const qint64 padOld = Columns(b);
    const qint64 padNew = Columns(a);
    ArtSize size;
    while (hasA || hasB) {
        addLine(size, (hasA ? characterCount(a) : padNew) + (hasB ? characterCount(b) : padOld));
        hasA = A.next(a);
        hasB = B.next(b);
    }
    return size;
}

ArtSize AppendedBelowSize(QStringView shown, QStringView result)
{
    const ArtSize above = Measure(shown);
    const ArtSize below = Measure(result);
    return {std::max(above.columns, below.columns), above.rows + below.rows, above.characters + below.characters};
}

QqCut QqCap(QStringView text)
{
    constexpr int kBytes = 500;
    QqCut cut;
    cut.limit = std::max(kBytes - int(std::min<std::int32_t>(CountFullWidth(text), kBytes)), 250);
    qsizetype units = 0;
    qsizetype bytes = 0;
    const qsizetype n = text.size();
    while (units < n) {
        const QChar c = text[units];
        const bool pair = c.isHighSurrogate() && units + 1 < n && text[units + 1].isLowSurrogate();
        const qsizetype size = pair ? 2 : 1;
        const char32_t code = pair ? QChar::surrogateToUcs4(c, text[units + 1]) : c.unicode();
        const int length = TextCodec::charByteLength(code);
        if (units + size > cut.limit || bytes + length > kBytes)
            break;
        units += size;
        bytes += length;
    }
    if (units > 0 && units < n && text[units - 1] == u'\r' && text[units] == u'\n')
        --units;
    cut.text = text.left(units).toString();
    return cut;
}

} // namespace ArtText
