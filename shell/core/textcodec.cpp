#include "shell/core/textcodec.h"

#include "shell/core/regularfile.h"
#include "shell/core/savefile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace TextCodec {

namespace {

constexpr char16_t kEuro = 0x20AC;
constexpr unsigned char kEuroByte = 0x80;
constexpr char16_t kEscapeBase = 0xDC00; // a byte b that is no character reads as U+DC00 + b
constexpr char16_t kReplacement = 0xFFFD;

// The code structure: one byte below 0x80 (and the lone 0x80, "€"); two
// bytes, a lead 0x81..0xFE and a trail 0x40..0x7E or 0x80..0xFE; four
// bytes, lead, digit, lead, digit, numbered in order from 81 30 81 30.
constexpr int kTrails = 0xFE - 0x40 + 1; // 0x7F included, to keep the index simple
constexpr std::uint32_t kFourByteBmp = 39420; // 81 30 81 30 .. 84 31 A4 39: the rest of the basic plane
constexpr std::uint32_t kFourByteSupplementary = 189000; // 90 30 81 30: U+10000 onwards
constexpr std::uint32_t kFourByteEnd = kFourByteSupplementary + 0x100000;

constexpr bool isDigit(unsigned char c)
{
    return c >= 0x30 && c <= 0x39;
}

constexpr bool isLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

constexpr bool isTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

constexpr bool isEscape(char16_t u)
{
    return u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF;
}

// A code packed into a number, first byte highest: below 0x100 one byte,
// below 0x10000 two, else four.
constexpr int packedLength(std::uint32_t code)
{
    return code < 0x100 ? 1 : code < 0x10000 ? 2 : 4;
}

constexpr std::uint32_t fourByteCode(std::uint32_t index)
{
    return (0x81 + index / 12600) << 24 | (0x30 + index / 1260 % 10) << 16 | (0x81 + index / 10 % 126) << 8
           | (0x30 + index % 10);
}

// Every character of the basic plane and its code, both ways. Made once
// from the system's GB18030 converter by encoding the whole plane in one
// go; after that, reading and writing never call the converter, so a byte
// that is no character costs no more than one that is.
struct CodeTables
{
    std::array<std::uint32_t, 0x10000> code{}; // surrogates: 0
    std::array<char16_t, 126 * kTrails> twoBytes{}; // 0: no character
    std::array<char16_t, kFourByteBmp> fourBytes{};
};

const CodeTables &tables()
{
    static const std::unique_ptr<const CodeTables> made = [] {
        auto t = std::make_unique<CodeTables>();
        QString plane;
        plane.reserve(0x10000);
        for (char32_t u = 0; u < 0x10000; ++u)
            plane += QChar(QChar::isSurrogate(u) ? u' ' : char16_t(u));
        const QByteArray bytes = QStringEncoder("GB18030", QStringEncoder::Flag::Stateless).encode(plane);
        const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
        qsizetype i = 0;
        for (char32_t u = 0; u < 0x10000; ++u) {
            const int len = b[i] < 0x80 ? 1 : isDigit(b[i + 1]) ? 4 : 2;
            std::uint32_t code = 0;
            for (int k = 0; k < len; ++k)
                code = code << 8 | b[i + k];
            i += len;
            if (QChar::isSurrogate(u))
                continue;
            t->code[u] = code;
            if (len == 2) {
                t->twoBytes[size_t((code >> 8) - 0x81) * kTrails + (code & 0xFF) - 0x40] = char16_t(u);
            } else if (len == 4) {
                const std::uint32_t index = (((code >> 24) - 0x81) * 10 + ((code >> 16 & 0xFF) - 0x30)) * 1260
                                            + ((code >> 8 & 0xFF) - 0x81) * 10 + (code & 0xFF) - 0x30;
                if (index < kFourByteBmp)
                    t->fourBytes[index] = char16_t(u);
            }
        }
        // Code page 936 writes "€" as 0x80; its GB18030 code A2 E3 is no
        // character of the code page and reads as two escaped bytes.
        t->twoBytes[size_t(0xA2 - 0x81) * kTrails + 0xE3 - 0x40] = 0;
        t->code[kEuro] = kEuroByte;
        return std::unique_ptr<const CodeTables>(std::move(t));
    }();
    return *made;
}

// The code a lone surrogate (no half of a pair) is written as: an escaped
// byte is the byte again; any other stands for a character that was lost
// before it came here and is written as U+FFFD.
std::uint32_t loneSurrogateCode(char16_t u)
{
    return isEscape(u) ? std::uint32_t(u - kEscapeBase) : tables().code[kReplacement];
}

// Appends the characters of `bytes` to `out` and returns how many bytes
// they took. A byte that starts no whole character (0xFF, a lead byte
// whose trail is out of range, a four-byte form that breaks off or names
// no character) becomes the lone surrogate U+DC00 + byte, which encode()
// turns back into the byte, and reading goes on at the byte after it.
// Unless the bytes are `final`, a character cut off at the end is left for
// the caller to bring the rest of it.
qsizetype decodeAppend(QByteArrayView bytes, QString &out, bool final)
{
    const CodeTables &t = tables();
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    const qsizetype old = out.size();
    out.resize(old + n); // never more units than bytes
    char16_t *d = reinterpret_cast<char16_t *>(out.data()) + old;
    qsizetype w = 0;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            d[w++] = c;
            ++i;
            continue;
        }
        if (c == kEuroByte) {
            d[w++] = kEuro;
            ++i;
            continue;
        }
        if (isLead(c)) {
            const qsizetype needed = i + 1 < n && isDigit(b[i + 1]) ? 4 : 2;
            if (i + needed > n && !final)
                break;
            if (needed == 2 && i + 1 < n && isTrail(b[i + 1])) {
                if (const char16_t u = t.twoBytes[size_t(c - 0x81) * kTrails + b[i + 1] - 0x40]) {
                    d[w++] = u;
                    i += 2;
                    continue;
                }
            } else if (needed == 4 && i + 3 < n && isLead(b[i + 2]) && isDigit(b[i + 3])) {
                const std::uint32_t index = ((std::uint32_t(c - 0x81) * 10 + (b[i + 1] - 0x30)) * 126
                                             + (b[i + 2] - 0x81)) * 10
                                            + (b[i + 3] - 0x30);
                if (index < kFourByteBmp) {
                    d[w++] = t.fourBytes[index];
                    i += 4;
                    continue;
                }
                if (index >= kFourByteSupplementary && index < kFourByteEnd) {
                    const char32_t u = 0x10000 + (index - kFourByteSupplementary);
                    d[w++] = QChar::highSurrogate(u);
                    d[w++] = QChar::lowSurrogate(u);
                    i += 4;
                    continue;
                }
            }
        }
        d[w++] = char16_t(kEscapeBase + c);
        ++i;
    }
    out.truncate(old + w);
    return i;
}

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeMark[] = "\xFF\xFE";
constexpr char kUtf16BeMark[] = "\xFE\xFF";

qsizetype markLength(const Format &format)
{
    if (!format.byteOrderMark)
        return 0;
    return format.encoding == Encoding::Utf8 ? 3 : 2;
}

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

// Whether bytes are well-formed UTF-8 (no overlong form, no surrogate,
// nothing beyond U+10FFFF), fed piece by piece; a sequence may run across
// pieces. Gives up at the first fault.
class Utf8Scan
{
public:
    void feed(QByteArrayView bytes)
    {
        if (!m_ok)
            return;
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
        const auto *end = p + bytes.size();
        while (p < end) {
            if (m_need == 0) {
                // Text art is mostly ASCII: eight bytes at a time.
                while (end - p >= 8) {
                    std::uint64_t word;
                    std::memcpy(&word, p, 8);
                    if (word & 0x8080808080808080ull)
                        break;
                    p += 8;
                }
                if (p == end)
                    break;
                const unsigned char c = *p++;
                if (c < 0x80)
                    continue;
                m_multiByte = true;
                m_low = 0x80;
                m_high = 0xBF;
                if (c >= 0xC2 && c <= 0xDF) {
                    m_need = 1;
                } else if (c >= 0xE0 && c <= 0xEF) {
                    m_need = 2;
                    if (c == 0xE0)
                        m_low = 0xA0; // overlong below
                    else if (c == 0xED)
                        m_high = 0x9F; // surrogates above
                } else if (c >= 0xF0 && c <= 0xF4) {
                    m_need = 3;
                    if (c == 0xF0)
                        m_low = 0x90;
                    else if (c == 0xF4)
                        m_high = 0x8F;
                } else {
                    m_ok = false;
                    return;
                }
                // The whole sequence at hand: checked in one go.
                if (end - p >= m_need) {
                    bool ok = *p >= m_low && *p <= m_high;
                    for (int k = 1; k < m_need; ++k)
                        ok = ok && (p[k] & 0xC0) == 0x80;
                    if (!ok) {
                        m_ok = false;
                        return;
                    }
                    p += m_need;
                    m_need = 0;
                }
            } else {
                const unsigned char c = *p++;
                if (c < m_low || c > m_high) {
                    m_ok = false;
                    return;
                }
                --m_need;
                m_low = 0x80;
                m_high = 0xBF;
            }
        }
    }

    // Once every piece is in.
    bool valid() const { return m_ok && m_need == 0; }
    bool multiByte() const { return m_multiByte; }

private:
    bool m_ok = true;
    bool m_multiByte = false;
    int m_need = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
};

// Finds the Format of bytes fed piece by piece, the first piece holding at
// least the first three bytes (or all there are), without decoding them.
class Sniffer
{
public:
    void feed(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return;
        if (!m_started) {
            m_started = true;
            if (bytes.startsWith(QByteArrayView(kUtf8Mark, 3))) {
                m_format = {Encoding::Utf8, true};
                bytes = bytes.sliced(3);
            } else if (bytes.startsWith(QByteArrayView(kUtf16LeMark, 2))) {
                m_format = {Encoding::Utf16Le, true};
                bytes = bytes.sliced(2);
            } else if (bytes.startsWith(QByteArrayView(kUtf16BeMark, 2))) {
                m_format = {Encoding::Utf16Be, true};
                bytes = bytes.sliced(2);
            }
            if (bytes.isEmpty())
                return;
        }
        if (isUtf16(m_format.encoding))
            feedUtf16(bytes);
        else
            feedBytes(bytes);
    }

    Format result() const
    {
        Format format = m_format;
        if (isUtf16(format.encoding))
            format.replacedBytes = m_loneSurrogate || m_pendingHigh || !m_carry.isEmpty();
        else if (format.byteOrderMark)
            format.replacedBytes = !m_utf8.valid();
        else if (m_utf8.valid() && m_utf8.multiByte())
            format.encoding = Encoding::Utf8;
        format.lineEnd = m_lf > m_crLf ? LineEnd::Lf : LineEnd::CrLf;
        return format;
    }

private:
    // The code page and UTF-8 alike: CR and LF bytes are never part of a
    // longer character in either.
    void feedBytes(QByteArrayView bytes)
    {
        m_utf8.feed(bytes);
        const char *b = bytes.data();
        const qsizetype n = bytes.size();
        for (const char *p = b; (p = static_cast<const char *>(std::memchr(p, '\n', size_t(b + n - p))));
             ++p) {
            const bool afterCr = p == b ? m_lastCr : p[-1] == '\r';
            ++(afterCr ? m_crLf : m_lf);
        }
        m_lastCr = b[n - 1] == '\r';
    }

    void feedUtf16(QByteArrayView bytes)
    {
        const bool big = m_format.encoding == Encoding::Utf16Be;
        qsizetype i = 0;
        if (!m_carry.isEmpty()) {
            unit(big ? char16_t(uchar(m_carry[0]) << 8 | uchar(bytes[0])) : char16_t(uchar(bytes[0]) << 8 | uchar(m_carry[0])));
            m_carry.clear();
            i = 1;
        }
        const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
        for (; i + 1 < bytes.size(); i += 2)
            unit(big ? char16_t(b[i] << 8 | b[i + 1]) : char16_t(b[i + 1] << 8 | b[i]));
        if (i < bytes.size())
            m_carry = bytes.sliced(i).toByteArray();
    }

    void unit(char16_t u)
    {
        if (m_pendingHigh && !QChar::isLowSurrogate(u))
            m_loneSurrogate = true;
        if (QChar::isLowSurrogate(u) && !m_pendingHigh)
            m_loneSurrogate = true;
        m_pendingHigh = QChar::isHighSurrogate(u);
        if (u == u'\n')
            ++(m_lastCr ? m_crLf : m_lf);
        m_lastCr = u == u'\r';
    }

    bool m_started = false;
    Format m_format;
    Utf8Scan m_utf8;
    qint64 m_crLf = 0;
    qint64 m_lf = 0;
    bool m_lastCr = false;
    QByteArray m_carry; // UTF-16: the first byte of a unit cut by the piece's end
    bool m_pendingHigh = false;
    bool m_loneSurrogate = false;
};

// As decodeAppend for the code page, for the given encoding; the mark is
// no longer in `bytes`. Bad bytes in UTF-8 and UTF-16 read as U+FFFD (the
// Sniffer has said so already).
qsizetype decodeAppend(QByteArrayView bytes, QString &out, bool final, Encoding encoding)
{
    if (encoding == Encoding::CodePage)
        return decodeAppend(bytes, out, final);
    qsizetype used = bytes.size();
    if (encoding == Encoding::Utf8) {
        if (!final) {
            // A sequence cut off at the end waits for the rest of it.
            const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
            for (qsizetype back = 1; back <= std::min<qsizetype>(3, used); ++back) {
                const unsigned char c = b[used - back];
                if ((c & 0xC0) == 0x80)
                    continue;
                const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                if (length > back)
                    used -= back;
                break;
            }
        }
        QStringDecoder utf8(QStringDecoder::Utf8,
                            QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const qsizetype old = out.size();
        out.resize(old + utf8.requiredSpace(used));
        const QChar *end = utf8.appendToBuffer(out.data() + old, bytes.first(used));
        out.truncate(end - out.constData());
        return used;
    }
    const bool big = encoding == Encoding::Utf16Be;
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    const qsizetype old = out.size();
    out.resize(old + units + 1);
    char16_t *d = reinterpret_cast<char16_t *>(out.data()) + old;
    qsizetype w = 0;
    qsizetype k = 0;
    const auto at = [&](qsizetype i) { return big ? char16_t(b[2 * i] << 8 | b[2 * i + 1]) : char16_t(b[2 * i + 1] << 8 | b[2 * i]); };
    for (; k < units; ++k) {
        const char16_t u = at(k);
        if (QChar::isHighSurrogate(u)) {
            if (k + 1 == units && !final)
                break; // its pair may come with the next piece
            if (k + 1 < units && QChar::isLowSurrogate(at(k + 1))) {
                d[w++] = u;
                d[w++] = at(++k);
                continue;
            }
            d[w++] = kReplacement;
        } else {
            d[w++] = QChar::isLowSurrogate(u) ? kReplacement : u;
        }
    }
    used = 2 * k;
    if (final && bytes.size() % 2 != 0) {
        d[w++] = kReplacement; // half a unit
        used = bytes.size();
    }
    out.truncate(old + w);
    return used;
}

} // namespace

QByteArray encode(QStringView text)
{
    const CodeTables &t = tables();
    QByteArray out(byteLength(text), Qt::Uninitialized);
    auto *o = reinterpret_cast<unsigned char *>(out.data());
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        if (u < 0x80) {
            *o++ = static_cast<unsigned char>(u);
            continue;
        }
        std::uint32_t code;
        if (!QChar::isSurrogate(u)) {
            code = t.code[u];
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            code = fourByteCode(kFourByteSupplementary + (QChar::surrogateToUcs4(u, s[i + 1]) - 0x10000));
            ++i;
        } else {
            code = loneSurrogateCode(u);
        }
        for (int k = packedLength(code); k-- > 0;)
            *o++ = static_cast<unsigned char>(code >> (8 * k));
    }
    return out;
}

QString decode(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size() + 2);
    decodeAppend(bytes, out, true);
    return out;
}

Format detect(QByteArrayView bytes)
{
    Sniffer sniffer;
    sniffer.feed(bytes);
    return sniffer.result();
}

QString decode(QByteArrayView bytes, Format *format)
{
    *format = detect(bytes);
    QString out;
    out.reserve(bytes.size() + 2);
    decodeAppend(bytes.sliced(markLength(*format)), out, true, format->encoding);
    return out;
}

QByteArray encode(QStringView text, const Format &format)
{
    QString lf;
    if (format.lineEnd == LineEnd::Lf && text.contains(u'\r')) {
        lf = text.toString();
        toLf(lf);
        text = lf;
    }
    switch (format.encoding) {
    case Encoding::CodePage:
        break;
    case Encoding::Utf8: {
        QByteArray out = format.byteOrderMark ? QByteArray(kUtf8Mark, 3) : QByteArray();
        out += QStringEncoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless).encode(text);
        return out;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool big = format.encoding == Encoding::Utf16Be;
        const qsizetype mark = format.byteOrderMark ? 2 : 0;
        QByteArray out(mark + 2 * text.size(), Qt::Uninitialized);
        auto *o = reinterpret_cast<unsigned char *>(out.data());
        if (mark)
            std::memcpy(o, big ? kUtf16BeMark : kUtf16LeMark, 2);
        o += mark;
        const char16_t *s = text.utf16();
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            char16_t u = s[i];
            // A pair goes out unit by unit; a lone half as U+FFFD.
            const bool paired = QChar::isHighSurrogate(u) ? i + 1 < n && QChar::isLowSurrogate(s[i + 1])
                                                          : i > 0 && QChar::isHighSurrogate(s[i - 1]);
            if (QChar::isSurrogate(u) && !paired)
                u = kReplacement;
            *o++ = static_cast<unsigned char>(big ? u >> 8 : u & 0xFF);
            *o++ = static_cast<unsigned char>(big ? u & 0xFF : u >> 8);
        }
        return out;
    }
    }
    return encode(text);
}

int charByteLength(char32_t c)
{
    if (c < 0x80)
        return 1;
    if (c > 0xFFFF)
        return 4;
    if (QChar::isSurrogate(c))
        return packedLength(loneSurrogateCode(char16_t(c)));
    return packedLength(tables().code[c]);
}

qsizetype byteLength(QStringView text)
{
    const CodeTables &t = tables();
    qsizetype bytes = 0;
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        if (u < 0x80)
            bytes += 1;
        else if (!QChar::isSurrogate(u))
            bytes += packedLength(t.code[u]);
        else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
            bytes += 4, ++i;
        else
            bytes += packedLength(loneSurrogateCode(u));
    }
    return bytes;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start).toString();
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines << text.mid(start).toString();
    return lines;
}

QString joinLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

void toCrLf(QString &text)
{
    const qsizetype n = text.size();
    const char16_t *c = reinterpret_cast<const char16_t *>(text.constData());
    // Ends that lack a unit: a lone LF needs its CR, a lone CR its LF.
    qsizetype missing = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i] == u'\n')
            missing += i == 0 || c[i - 1] != u'\r';
        else if (c[i] == u'\r')
            missing += i + 1 == n || c[i + 1] != u'\n';
    }
    if (missing == 0)
        return;
    text.resize(n + missing);
    char16_t *d = reinterpret_cast<char16_t *>(text.data());
    qsizetype w = n + missing;
    // Back to front, so that nothing is overwritten before it is read.
    for (qsizetype r = n; r-- > 0;) {
        const char16_t u = d[r];
        if (u == u'\n' && (r == 0 || d[r - 1] != u'\r')) {
            d[--w] = u'\n';
            d[--w] = u'\r';
        } else if (u == u'\r' && (r + 1 == n || d[r + 1] != u'\n')) {
            d[--w] = u'\n';
            d[--w] = u'\r';
        } else {
            d[--w] = u;
        }
    }
}

void toLf(QString &text)
{
    const qsizetype n = text.size();
    if (!text.contains(u'\r'))
        return;
    char16_t *d = reinterpret_cast<char16_t *>(text.data());
    qsizetype w = 0;
    for (qsizetype r = 0; r < n; ++r) {
        if (d[r] != u'\r')
            d[w++] = d[r];
        else if (r + 1 == n || d[r + 1] != u'\n')
            d[w++] = u'\n'; // a lone CR ends its line too
    }
    text.truncate(w);
}

bool readFile(const QString &path, QString *text, const std::atomic<bool> *stop, Format *format)
{
    // Piece by piece, so that a large file is never in memory both as bytes
    // and as text: with a Format asked for, once to find it and once to
    // decode by it.
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QFile file;
    if (OpenRegularFile(path, kMaxReadBytes, file) != ReadOutcome::Done)
        return false;
    QByteArray piece;
    Format found;
    if (format) {
        Sniffer sniffer;
        qint64 total = 0;
        for (;;) {
            piece.resize(kPiece);
            const qint64 got = file.read(piece.data(), kPiece);
            if (got < 0 || (total += got) > kMaxReadBytes || (stop && *stop))
                return false;
            if (got == 0)
                break;
            sniffer.feed(QByteArrayView(piece).first(got));
        }
        found = sniffer.result();
        if (!file.seek(markLength(found)))
            return false;
        piece.clear();
    }
    qint64 total = 0;
    QString out;
    if (file.size() > 0)
        out.reserve(file.size() + 2);
    for (;;) {
        const qsizetype carried = piece.size();
        piece.resize(carried + kPiece);
        const qint64 got = file.read(piece.data() + carried, kPiece);
        if (got < 0 || (total += got) > kMaxReadBytes || (stop && *stop)) // grown while being read, or given up
            return false;
        piece.resize(carried + got);
        const bool last = got == 0;
        const qsizetype used = decodeAppend(piece, out, last, found.encoding);
        if (last)
            break;
        piece.remove(0, used);
    }
    if (file.error() != QFileDevice::NoError)
        return false;
    *text = std::move(out);
    if (format)
        *format = found;
    return true;
}

bool readLines(const QString &path, QStringList *lines)
{
    QString text;
    if (!readFile(path, &text))
        return false;
    *lines = splitLines(text);
    return true;
}

bool writeFile(const QString &path, QStringView text, SaveFile::Special special, QString *why)
{
    return SaveFile::write(path, encode(text), special, why);
}

bool writeFile(const QString &path, QStringView text, const Format &format, SaveFile::Special special, QString *why)
{
    return SaveFile::write(path, encode(text, format), special, why);
}

namespace {

// The bytes an append adds to a file of the Format: no second mark.
std::optional<QByteArray> appendedBytes(QStringView text, Format format, qint64 fileSize)
{
    if (isUtf16(format.encoding) && fileSize % 2 != 0)
        return std::nullopt; // every unit after it would be read askew
    format.byteOrderMark = false;
    return encode(text, format);
}

} // namespace

bool appendFile(const QString &path, QStringView text)
{
#ifdef Q_OS_UNIX
    // A FIFO opened to write waits for a reader; without O_NONBLOCK, for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC,
                          0666);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // The file's own Format, read from what it holds now.
    Sniffer sniffer;
    {
        QByteArray piece(qsizetype(1) << 20, Qt::Uninitialized);
        for (off_t at = 0; at < st.st_size;) {
            const ssize_t got = ::pread(fd, piece.data(), size_t(std::min<off_t>(piece.size(), st.st_size - at)), at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            sniffer.feed(QByteArrayView(piece).first(got));
            at += got;
        }
    }
    const std::optional<QByteArray> appended = appendedBytes(text, sniffer.result(), st.st_size);
    if (!appended) {
        ::close(fd);
        return false;
    }
    const QByteArray &bytes = *appended;
    // Written straight to the file, so that a short write is seen at once:
    // then the file is cut back to where it ended, and holds no half entry.
    const off_t oldLength = st.st_size;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool ok = done == bytes.size() && ::fsync(fd) == 0;
    if (!ok && ::ftruncate(fd, oldLength) != 0) {
        // Nothing more to do: the failure is reported all the same.
    }
    return ::close(fd) == 0 && ok;
#else
    if (SaveFile::isSpecialFile(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    const qint64 oldLength = file.size();
    Sniffer sniffer;
    sniffer.feed(file.readAll());
    const std::optional<QByteArray> appended = appendedBytes(text, sniffer.result(), oldLength);
    if (appended && file.write(*appended) == appended->size() && file.flush())
        return true;
    file.resize(oldLength);
    return false;
#endif
}

} // namespace TextCodec
