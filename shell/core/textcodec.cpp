#include "shell/core/textcodec.h"

#include "shell/core/regularfile.h"
#include "shell/core/savefile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cerrno>
#include <cstdint>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace TextCodec {

namespace {

constexpr char16_t kEuro = 0x20AC;
constexpr char kEuroByte = '\x80';

void decodeSegment(QByteArrayView bytes, QString &out)
{
    if (bytes.isEmpty())
        return;
    // Constructed here each time: a decoder keeps state between calls.
    // Straight into the text's own buffer, so a large file is never in
    // memory twice as text.
    QStringDecoder decoder("GB18030", QStringDecoder::Flag::Stateless);
    const qsizetype old = out.size();
    out.resize(old + decoder.requiredSpace(bytes.size()));
    const QChar *end = decoder.appendToBuffer(out.data() + old, bytes);
    out.truncate(end - out.constData());
}

// Appends the characters of `bytes` to `out` and returns how many bytes
// they took. A lone 0x80 can only be "€" where a character starts: inside a
// two-byte code it is an ordinary trail byte. So walk the code structure
// and hand the stretches between such bytes to the decoder. A lead byte
// that starts no whole character becomes U+FFFD when the bytes are `final`
// (cut off at the end of the file, or a four-byte form that breaks off: the
// decoder would wait for the rest of it and drop it silently); otherwise
// decoding stops before it and the caller brings more bytes.
qsizetype decodeAppend(QByteArrayView bytes, QString &out, bool final)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    const auto isDigit = [](unsigned char c) { return c >= 0x30 && c <= 0x39; };
    qsizetype segmentStart = 0;
    qsizetype i = 0;
    const auto standIn = [&](QChar c) {
        decodeSegment(bytes.sliced(segmentStart, i - segmentStart), out);
        out += c;
        segmentStart = ++i;
    };
    while (i < n) {
        const unsigned char c = b[i];
        if (c < 0x80 || c == 0xFF) {
            ++i;
        } else if (c == 0x80) {
            standIn(QChar(kEuro));
        } else if (!final && (i + 1 >= n || (isDigit(b[i + 1]) && i + 3 >= n))) {
            break; // the rest of this character is in the bytes to come
        } else if (i + 1 >= n) {
            standIn(QChar(QChar::ReplacementCharacter));
        } else if (!isDigit(b[i + 1])) {
            i += 2;
        } else if (i + 3 < n && b[i + 2] >= 0x81 && b[i + 2] <= 0xFE && isDigit(b[i + 3])) {
            i += 4;
        } else {
            standIn(QChar(QChar::ReplacementCharacter));
        }
    }
    decodeSegment(bytes.sliced(segmentStart, i - segmentStart), out);
    return i;
}

} // namespace

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    for (;;) {
        const qsizetype euro = text.indexOf(QChar(kEuro), start);
        const QStringView part = text.mid(start, euro < 0 ? text.size() - start : euro - start);
        if (!part.isEmpty()) {
            QStringEncoder encoder("GB18030", QStringEncoder::Flag::Stateless);
            out += encoder.encode(part);
        }
        if (euro < 0)
            break;
        out += kEuroByte;
        start = euro + 1;
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

int charByteLength(char32_t c)
{
    if (c < 0x80 || c == kEuro)
        return 1;
    if (c > 0xFFFF)
        return 4;
    // The GB18030 length of every BMP character, found once by encoding them
    // all in one go and walking the code structure of the result.
    static const std::array<std::uint8_t, 0x10000> table = [] {
        std::array<std::uint8_t, 0x10000> t{};
        QString all;
        all.reserve(0x10000);
        for (char32_t u = 0; u < 0x10000; ++u)
            all += QChar(QChar::isSurrogate(u) ? u' ' : char16_t(u));
        const QByteArray bytes = QStringEncoder("GB18030", QStringEncoder::Flag::Stateless).encode(all);
        const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
        qsizetype i = 0;
        for (char32_t u = 0; u < 0x10000; ++u) {
            const int len = b[i] < 0x80 ? 1 : (b[i + 1] >= 0x30 && b[i + 1] <= 0x39 ? 4 : 2);
            t[u] = std::uint8_t(len);
            i += len;
        }
        for (char32_t u = 0xD800; u < 0xE000; ++u)
            t[u] = 2; // half a pair; the pair as a whole is counted as four
        t[kEuro] = 1;
        return t;
    }();
    return table[c];
}

qsizetype byteLength(QStringView text)
{
    qsizetype bytes = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            bytes += 1;
        else
            bytes += charByteLength(c);
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

bool readFile(const QString &path, QString *text)
{
    // Piece by piece, so that a large file is never in memory both as bytes
    // and as text.
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QFile file;
    if (OpenRegularFile(path, kMaxReadBytes, file) != ReadOutcome::Done)
        return false;
    qint64 total = 0;
    QString out;
    if (file.size() > 0)
        out.reserve(file.size() + 2);
    QByteArray piece;
    for (;;) {
        const qsizetype carried = piece.size();
        piece.resize(carried + kPiece);
        const qint64 got = file.read(piece.data() + carried, kPiece);
        if (got < 0 || (total += got) > kMaxReadBytes) // grown while being read
            return false;
        piece.resize(carried + got);
        const bool last = got == 0;
        const qsizetype used = decodeAppend(piece, out, last);
        if (last)
            break;
        piece.remove(0, used);
    }
    if (file.error() != QFileDevice::NoError)
        return false;
    *text = std::move(out);
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

bool appendFile(const QString &path, QStringView text)
{
    const QByteArray bytes = encode(text);
#ifdef Q_OS_UNIX
    // A FIFO opened to write waits for a reader; without O_NONBLOCK, for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC,
                          0666);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const qint64 oldLength = file.size();
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    file.resize(oldLength);
    return false;
#endif
}

} // namespace TextCodec
