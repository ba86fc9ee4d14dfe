#include "shell/core/savefile.h"
#include "shell/core/textcodec.h"
#include "specialfiles.h"
#include "tempprogramdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

class TestTextCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodesFixedBytes_data();
    void encodesFixedBytes();
    void roundTripsEveryKindOfCharacter_data();
    void roundTripsEveryKindOfCharacter();
    void euroIsOneByteOnlyWhereACharacterStarts();
    void damagedCharactersAreNeverDropped_data();
    void damagedCharactersAreNeverDropped();
    void anyBytesReadBackByteForByte_data();
    void anyBytesReadBackByteForByte();
    void agreesWithTheSystemConverter();
    void loneSurrogatesWritten_data();
    void loneSurrogatesWritten();
    void byteLengthMatchesEncoding_data();
    void byteLengthMatchesEncoding();
    void fullWidthMeansTwoOrMoreBytes();
    void splitsLinesAtCrLfAndLoneBreaks_data();
    void splitsLinesAtCrLfAndLoneBreaks();
    void lineEndsBroughtToOneForm_data();
    void lineEndsBroughtToOneForm();
    void writeReadAndAppendFiles();
    void failedWriteKeepsTheOldFile();
    void largeFileReadsAcrossPieces();
    void savingOntoAFifoWritesThroughIt();
    void savingOntoSpecialFilesCanBeRefused();
    void savingOntoAFifoNobodyReadsFailsAtOnce();
    void savingOntoAFifoWaitsForAReaderOnlyWhenAsked();
    void appendingOnlyToRegularFiles();
    void readingOnlyRegularFiles_data();
    void readingOnlyRegularFiles();
    void savingThroughALinkReplacesItsTarget();
    void savingOntoADeviceKeepsTheDevice();
    void cancelledSaveKeepsTheOldFile();
    void detectsInOrder_data();
    void detectsInOrder();
    void filesKeepTheirFormat_data();
    void filesKeepTheirFormat();
    void utf8DetectionAgreesWithTheSystemDecoder();
    void appendsInTheFilesFormat_data();
    void appendsInTheFilesFormat();
};

namespace {

using TextCodec::Encoding;
using TextCodec::LineEnd;

QByteArray inEncoding(const QString &text, const char *name)
{
    return QStringEncoder(name).encode(text);
}

const QByteArray kUtf8Mark("\xEF\xBB\xBF");
const QByteArray kLeMark("\xFF\xFE");
const QByteArray kBeMark("\xFE\xFF");

} // namespace

void TestTextCodec::encodesFixedBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("中") << QStringLiteral("中") << QByteArray::fromHex("d6d0");
    QTest::newRow("★") << QStringLiteral("★") << QByteArray::fromHex("a1ef");
    QTest::newRow("€") << QStringLiteral("€") << QByteArray::fromHex("80");
    QTest::newRow("ideographic space") << QStringLiteral("　") << QByteArray::fromHex("a1a1");
    QTest::newRow("ascii with CR LF") << QStringLiteral("a b\r\n") << QByteArray("a b\r\n");
    QTest::newRow("mixed") << QStringLiteral("A中€") << QByteArray::fromHex("41d6d080");
}

void TestTextCodec::encodesFixedBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::encode(text).toHex(), bytes.toHex());
    QCOMPARE(TextCodec::decode(bytes), text);
}

void TestTextCodec::roundTripsEveryKindOfCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("emoji") << QString::fromUtf8("笑😀脸");
    QTest::newRow("euro among Chinese") << QStringLiteral("价格€100元");
    QTest::newRow("outside code page 936") << QString::fromUtf8("ÿ café ǅ ꙮ");
    QTest::newRow("private use that code page 936 maps oddly") << QString(QChar(0xE76C)) + QChar(0xF8F5);
    QTest::newRow("empty") << QString();
}

void TestTextCodec::roundTripsEveryKindOfCharacter()
{
    QFETCH(QString, text);
    const QByteArray bytes = TextCodec::encode(text);
    QCOMPARE(TextCodec::decode(bytes), text);
    QCOMPARE(TextCodec::byteLength(text), bytes.size());
    QVERIFY2(!bytes.contains('?') || text.contains(u'?'), "a character was replaced by '?'");
}

void TestTextCodec::euroIsOneByteOnlyWhereACharacterStarts()
{
    // 81 80 is one two-byte character whose trail byte happens to be 0x80.
    const QString text = TextCodec::decode(QByteArray::fromHex("8180" "80" "41"));
    QCOMPARE(text.size(), 3);
    QCOMPARE(text.at(1), QChar(0x20AC));
    QCOMPARE(text.at(2), QChar(u'A'));
    QCOMPARE(TextCodec::encode(text).toHex(), QByteArray("81808041"));
}

void TestTextCodec::damagedCharactersAreNeverDropped_data()
{
    // A file cut short, or a four-byte form that breaks off, keeps the bytes
    // that start no character escaped, and every whole character around them.
    const auto esc = [](int byte) { return QString(QChar(0xDC00 + byte)); };
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("stray bytes between letters") << QByteArray::fromHex("41ff42d6") << u'A' + esc(0xff) + u'B' + esc(0xd6);
    QTest::newRow("lead byte alone") << QByteArray::fromHex("d6") << esc(0xd6);
    QTest::newRow("cut after a letter") << QByteArray::fromHex("41d6") << u'A' + esc(0xd6);
    QTest::newRow("cut after a character") << QByteArray::fromHex("d6d0d6") << QStringLiteral("中") + esc(0xd6);
    QTest::newRow("four-byte form cut after two") << QByteArray::fromHex("8130") << esc(0x81) + u'0';
    QTest::newRow("four-byte form cut after three") << QByteArray::fromHex("813081") << esc(0x81) + u'0' + esc(0x81);
    QTest::newRow("four-byte form breaking off") << QByteArray::fromHex("d6304142") << esc(0xd6) + QStringLiteral("0AB");
    QTest::newRow("broken form before a euro") << QByteArray::fromHex("d63041d680")
                                               << esc(0xd6) + QStringLiteral("0A") + QChar(0x8B24);
    QTest::newRow("cut before a euro") << QByteArray::fromHex("41d6" "80") << u'A' + QString(QChar(0x8B24));
    QTest::newRow("whole four-byte form") << QByteArray::fromHex("81308130") << QString(QChar(0x80));
    QTest::newRow("trail byte out of range") << QByteArray::fromHex("817f81ff") << esc(0x81) + u'\x7f' + esc(0x81) + esc(0xff);
    QTest::newRow("line break after a lead byte") << QByteArray::fromHex("d60d0a") << esc(0xd6) + QStringLiteral("\r\n");
    QTest::newRow("GB18030's euro") << QByteArray::fromHex("a2e3") << esc(0xa2) + esc(0xe3);
    QTest::newRow("four-byte form past the basic plane's") << QByteArray::fromHex("8431a530")
                                                          << esc(0x84) + u'1' + esc(0xa5) + u'0';
    QTest::newRow("last character") << QByteArray::fromHex("e3329a35") << QString::fromUcs4(U"\U0010FFFF", 1);
    QTest::newRow("past the last character") << QByteArray::fromHex("e3329a36") << esc(0xe3) + u'2' + esc(0x9a) + u'6';
}

void TestTextCodec::damagedCharactersAreNeverDropped()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextCodec::decode(bytes), text);
    QCOMPARE(TextCodec::encode(text).toHex(), bytes.toHex());
    QCOMPARE(TextCodec::byteLength(text), bytes.size());
}

void TestTextCodec::anyBytesReadBackByteForByte_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("any bytes") << 0;
    QTest::newRow("lead and digit bytes, where the four-byte forms are") << 1;
    QTest::newRow("whole characters of every length with stray bytes between") << 2;
}

void TestTextCodec::anyBytesReadBackByteForByte()
{
    // Random bytes, several megabytes of them, read through the file reader
    // (a megabyte at a time, so that characters and escapes fall across the
    // seams) and from memory: the same text, and the same bytes written.
    QFETCH(int, kind);
    QRandomGenerator random(20240 + kind);
    const auto oneOf = [&](const char *set) { return set[random.bounded(int(std::strlen(set)))]; };
    QByteArray bytes;
    while (bytes.size() < 3 * (1 << 20) + 7) {
        if (kind == 0) {
            bytes += char(random.bounded(256));
        } else if (kind == 1) {
            bytes += random.bounded(2) ? oneOf("0129") : char(0x81 + random.bounded(126));
        } else {
            const QChar pick[] = {u'a', QChar(0x4E2D), QChar(0x20AC), QChar(0xE5E5), QChar(0x00E9), QChar(0xFFFD)};
            bytes += random.bounded(8) == 0 ? QByteArray(1, char(0x80 + random.bounded(128)))
                                            : TextCodec::encode(QString(pick[random.bounded(6)]));
            if (random.bounded(16) == 0)
                bytes += TextCodec::encode(QString::fromUcs4(U"\U0001F600", 1)).left(random.bounded(1, 5));
        }
    }
    const QString text = TextCodec::decode(bytes);
    QVERIFY(TextCodec::encode(text) == bytes);
    QCOMPARE(TextCodec::byteLength(text), bytes.size());
    TempProgramDir dir;
    QFile file(dir.file("random.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QString read;
    QVERIFY(TextCodec::readFile(file.fileName(), &read));
    QVERIFY(read == text);
}

void TestTextCodec::agreesWithTheSystemConverter()
{
    // Every code of two and four bytes in the basic plane reads as the
    // system's GB18030 converter reads it, and every character of the plane
    // is written as it writes it; "€" is the one exception both ways.
    QByteArray codes;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F && !(lead == 0xA2 && trail == 0xE3))
                codes += char(lead), codes += char(trail);
        }
    }
    for (int i = 0; i < 39420; ++i)
        codes += char(0x81 + i / 12600), codes += char(0x30 + i / 1260 % 10), codes += char(0x81 + i / 10 % 126),
            codes += char(0x30 + i % 10);
    const QString system = QStringDecoder("GB18030").decode(codes);
    QCOMPARE(system.size(), 126 * 190 - 1 + 39420);
    QCOMPARE(system.count(QChar(QChar::ReplacementCharacter)), 1); // 84 31 A4 37 is U+FFFD itself
    QVERIFY(TextCodec::decode(codes) == system);
    QString plane;
    for (char32_t u = 0x80; u < 0x10000; ++u) {
        if (!QChar::isSurrogate(u) && u != 0x20AC)
            plane += QChar(char16_t(u));
    }
    QVERIFY(TextCodec::encode(plane) == QStringEncoder("GB18030").encode(plane));
}

void TestTextCodec::loneSurrogatesWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray replacement = QByteArray::fromHex("8431a437");
    QTest::newRow("escaped byte") << QString(QChar(0xDC81)) << QByteArray::fromHex("81");
    QTest::newRow("escaped byte after a pair") << QString::fromUcs4(U"\U0001F600", 1) + QChar(0xDCFE)
                                               << QByteArray::fromHex("9439fc36fe");
    QTest::newRow("high half alone at the end") << QStringLiteral("a") + QChar(0xD83D) << "a" + replacement;
    QTest::newRow("high half before a letter") << QChar(0xD83D) + QStringLiteral("a") << replacement + "a";
    QTest::newRow("low half outside the escapes") << QString(QChar(0xDC00)) << replacement;
    QTest::newRow("two high halves") << QString(QChar(0xD800)) + QChar(0xD800) << replacement + replacement;
}

void TestTextCodec::loneSurrogatesWritten()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::encode(text).toHex(), bytes.toHex());
    QCOMPARE(TextCodec::byteLength(text), bytes.size());
}

void TestTextCodec::byteLengthMatchesEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("hello");
    QTest::newRow("chinese") << QStringLiteral("你好，世界");
    QTest::newRow("latin-1 takes four") << QStringLiteral("é");
    QTest::newRow("euro") << QStringLiteral("€€");
    QTest::newRow("emoji") << QString::fromUtf8("😀");
}

void TestTextCodec::byteLengthMatchesEncoding()
{
    QFETCH(QString, text);
    QCOMPARE(TextCodec::byteLength(text), TextCodec::encode(text).size());
}

void TestTextCodec::fullWidthMeansTwoOrMoreBytes()
{
    for (char32_t c : {U'a', U' ', U'~', U'€'})
        QVERIFY(!TextCodec::isFullWidth(c));
    for (char32_t c : {U'中', U'　', U'★', U'é', U'😀'})
        QVERIFY(TextCodec::isFullWidth(c));
    // Every BMP character agrees with its encoded length.
    for (char32_t c = 1; c < 0x10000; c += 7) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        QCOMPARE(TextCodec::isFullWidth(c), TextCodec::charByteLength(c) >= 2);
    }
}

void TestTextCodec::splitsLinesAtCrLfAndLoneBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QStringLiteral("a\rb") << QStringList{"a", "b"};
    QTest::newRow("lone lf") << QStringLiteral("a\nb") << QStringList{"a", "b"};
    QTest::newRow("final break starts no line") << QStringLiteral("a\r\n") << QStringList{"a"};
    QTest::newRow("empty lines kept") << QStringLiteral("\r\n\r\nx") << QStringList{"", "", "x"};
    QTest::newRow("empty text") << QString() << QStringList{};
}

void TestTextCodec::splitsLinesAtCrLfAndLoneBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextCodec::splitLines(text), lines);
}

void TestTextCodec::lineEndsBroughtToOneForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("crlf");
    QTest::newRow("already crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("every kind") << QStringLiteral("a\rb\n\r\nc\r") << QStringLiteral("a\r\nb\r\n\r\nc\r\n");
    QTest::newRow("lf then cr are two ends") << QStringLiteral("\n\r") << QStringLiteral("\r\n\r\n");
    QTest::newRow("lone cr at the end") << QStringLiteral("x\r") << QStringLiteral("x\r\n");
    QTest::newRow("lone lf at the start") << QStringLiteral("\nx") << QStringLiteral("\r\nx");
    QTest::newRow("no breaks, wide text") << QStringLiteral("中文😀") << QStringLiteral("中文😀");
    QTest::newRow("empty") << QString() << QString();
}

void TestTextCodec::lineEndsBroughtToOneForm()
{
    QFETCH(QString, text);
    QFETCH(QString, crlf);
    QString converted = text;
    TextCodec::toCrLf(converted);
    QCOMPARE(converted, crlf);
    QCOMPARE(TextCodec::splitLines(converted), TextCodec::splitLines(text));
    QString lf = text;
    TextCodec::toLf(lf);
    QCOMPARE(lf, QString(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(TextCodec::splitLines(lf), TextCodec::splitLines(text));
    // Joining what was split gives the CR LF form, less a final break.
    QString joined = TextCodec::joinLines(TextCodec::splitLines(text));
    if (crlf.endsWith(QStringLiteral("\r\n")))
        joined += QStringLiteral("\r\n");
    QCOMPARE(joined, crlf);
}

void TestTextCodec::writeReadAndAppendFiles()
{
    TempProgramDir dir;
    const QString path = dir.file("t.txt");
    QVERIFY(TextCodec::writeFile(path, QStringLiteral("中文\r\n")));
    QVERIFY(TextCodec::appendFile(path, QStringLiteral("€\r\n")));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().toHex(), QByteArray("d6d0cec40d0a800d0a"));
    QStringList lines;
    QVERIFY(TextCodec::readLines(path, &lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("中文"), QStringLiteral("€")}));
}

void TestTextCodec::failedWriteKeepsTheOldFile()
{
    TempProgramDir dir;
    QString text = QStringLiteral("unchanged");
    QVERIFY(!TextCodec::readFile(dir.file("missing.txt"), &text));
    QCOMPARE(text, QStringLiteral("unchanged"));
    QVERIFY(!TextCodec::writeFile(dir.file("no/such/dir/x.txt"), QStringLiteral("x")));
}

void TestTextCodec::largeFileReadsAcrossPieces()
{
    // Read a megabyte at a time: characters of two and four bytes and the
    // one-byte "€" fall across the seams; a cut-off character at the very
    // end reads as its escaped lead byte.
    TempProgramDir dir;
    const QString path = dir.file("large.txt");
    QString text;
    for (int i = 0; i < 900000; ++i)
        text += i % 3 == 0 ? QStringLiteral("中€a") : i % 3 == 1 ? QString::fromUtf8("😀b") : QStringLiteral("x\r\n");
    QVERIFY(TextCodec::writeFile(path, text));
    QVERIFY(QFileInfo(path).size() > 3 * (1 << 20));
    QString back;
    QVERIFY(TextCodec::readFile(path, &back));
    QCOMPARE(back.size(), text.size());
    QVERIFY(back == text);
    QVERIFY(TextCodec::appendFile(path, QString()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\xd6");
    file.close();
    QVERIFY(TextCodec::readFile(path, &back));
    QCOMPARE(back, text + QChar(0xDCD6));
}

void TestTextCodec::savingOntoAFifoWritesThroughIt()
{
    TempProgramDir dir;
    const QString fifo = dir.file("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The reader is there before the writer opens the FIFO.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    QVERIFY(TextCodec::writeFile(fifo, QStringLiteral("中文\r\n")));
    QByteArray got(16, '\0');
    got.resize(::read(reader, got.data(), got.size()));
    ::close(reader);
    QCOMPARE(got.toHex(), QByteArray("d6d0cec40d0a"));
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QVERIFY(SaveFile::isSpecialFile(fifo));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("pipe")}); // no temporary file left behind
}

void TestTextCodec::savingOntoSpecialFilesCanBeRefused()
{
    // What a window asks for: no waiting for a reader, the node untouched,
    // and, through a link, the link too.
    TempProgramDir dir;
    const SpecialFile fifo(QStringLiteral("fifo"), dir.file("pipe"));
    QVERIFY(fifo.available());
    QVERIFY(QFile::link(fifo.path(), dir.file("link")));
    for (const QString &path : {fifo.path(), dir.file("link"), QStringLiteral("/dev/null")})
        QVERIFY2(!TextCodec::writeFile(path, QStringLiteral("x"), SaveFile::Special::Refuse), qPrintable(path));
    QVERIFY(!fifo.heldUp());
    QVERIFY(SaveFile::isSpecialFile(fifo.path()));
    QVERIFY(QFileInfo(dir.file("link")).isSymLink());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size(), 2);
    // A regular file is written as ever.
    QVERIFY(TextCodec::writeFile(dir.file("plain.txt"), QStringLiteral("x"), SaveFile::Special::Refuse));
}

void TestTextCodec::savingOntoAFifoNobodyReadsFailsAtOnce()
{
    // Waiting for a reader would hang the window that saves.
    TempProgramDir dir;
    const QString fifo = dir.file("pipe");
    const FifoGuard guard(fifo);
    QVERIFY(guard.made());
    QVERIFY(!TextCodec::writeFile(fifo, QStringLiteral("没人读")));
    SaveFile file(fifo);
    QVERIFY(!file.open());
    QVERIFY(!guard.heldUp());
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("pipe")});
}

void TestTextCodec::savingOntoAFifoWaitsForAReaderOnlyWhenAsked()
{
    // As a shell redirection does: the command line's output.
    TempProgramDir dir;
    const QString fifo = dir.file("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [fifo] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        QFile in(fifo);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("cannot open");
    });
    QVERIFY(SaveFile::write(fifo, "waited", SaveFile::Special::WaitForReader));
    QCOMPARE(reading.get(), QByteArray("waited"));
}

void TestTextCodec::readingOnlyRegularFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo nobody writes") << QStringLiteral("fifo");
    QTest::newRow("endless device") << QStringLiteral("device");
    QTest::newRow("directory") << QStringLiteral("dir");
}

void TestTextCodec::readingOnlyRegularFiles()
{
    // The display areas load files the user picks: what is no file must be
    // refused at once, never waited on or read without end.
    QFETCH(QString, kind);
    TempProgramDir dir;
    const SpecialFile special(kind, dir.file("picked.txt"));
    if (!special.available())
        QSKIP("no such thing here");
    QString text = QStringLiteral("unchanged");
    QVERIFY(!TextCodec::readFile(special.path(), &text));
    QCOMPARE(text, QStringLiteral("unchanged"));
    QVERIFY(!special.heldUp());
}

void TestTextCodec::appendingOnlyToRegularFiles()
{
    TempProgramDir dir;
    const QString fifo = dir.file("pipe");
    const FifoGuard guard(fifo);
    QVERIFY(guard.made());
    // Nobody reads: no wait.
    QVERIFY(!TextCodec::appendFile(fifo, QStringLiteral("x")));
    QVERIFY(!guard.heldUp());
    // Somebody reads: still no regular file, and nothing goes through.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    QVERIFY(!TextCodec::appendFile(fifo, QStringLiteral("x")));
    char byte = 0;
    QCOMPARE(::read(reader, &byte, 1), ssize_t(0));
    ::close(reader);
    QVERIFY(!TextCodec::appendFile(QStringLiteral("/dev/null"), QStringLiteral("x")));
    QVERIFY(!TextCodec::appendFile(dir.path(), QStringLiteral("x")));
    // Through a link to a regular file: appended to the file.
    const QString target = dir.file("favourites.txt");
    QVERIFY(TextCodec::writeFile(target, QStringLiteral("a")));
    QVERIFY(QFile::link(target, dir.file("link.txt")));
    QVERIFY(TextCodec::appendFile(dir.file("link.txt"), QStringLiteral("b")));
    QString text;
    QVERIFY(TextCodec::readFile(target, &text));
    QCOMPARE(text, QStringLiteral("ab"));
}

void TestTextCodec::savingThroughALinkReplacesItsTarget()
{
    TempProgramDir dir;
    const QString target = dir.file("target.txt");
    const QString link = dir.file("link.txt");
    QVERIFY(TextCodec::writeFile(target, QStringLiteral("old")));
    QVERIFY(QFile::link(target, link));
    QVERIFY(TextCodec::writeFile(link, QStringLiteral("new")));
    QVERIFY(QFileInfo(link).isSymLink());
    QString text;
    QVERIFY(TextCodec::readFile(target, &text));
    QCOMPARE(text, QStringLiteral("new"));
    QVERIFY(!SaveFile::isSpecialFile(link));
}

void TestTextCodec::savingOntoADeviceKeepsTheDevice()
{
    // As root a rename would replace the device node with a regular file.
    QVERIFY(TextCodec::writeFile(QStringLiteral("/dev/null"), QStringLiteral("nothing")));
    struct stat st {};
    QCOMPARE(::lstat("/dev/null", &st), 0);
    QVERIFY(S_ISCHR(st.st_mode));
}

void TestTextCodec::cancelledSaveKeepsTheOldFile()
{
    TempProgramDir dir;
    const QString path = dir.file("kept.txt");
    QVERIFY(TextCodec::writeFile(path, QStringLiteral("old")));
    {
        SaveFile file(path);
        QVERIFY(file.open());
        QVERIFY(!file.inPlace());
        QCOMPARE(file.device().write("half of the new text"), qint64(20));
        file.cancel();
    }
    QString text;
    QVERIFY(TextCodec::readFile(path, &text));
    QCOMPARE(text, QStringLiteral("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{QStringLiteral("kept.txt")});
}


void TestTextCodec::detectsInOrder_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("mark");
    QTest::addColumn<bool>("lf");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, const QByteArray &bytes, Encoding e, bool mark, bool lf, bool replaced,
                        const QString &text) {
        QTest::newRow(name) << bytes << int(e) << mark << lf << replaced << text;
    };
    row("empty", {}, Encoding::CodePage, false, false, false, {});
    row("ASCII only, LF", "a\nb\n", Encoding::CodePage, false, true, false, u"a\nb\n"_qs);
    row("ASCII only, CR LF", "a\r\nb", Encoding::CodePage, false, false, false, u"a\r\nb"_qs);
    row("a lone UTF-8 mark", kUtf8Mark, Encoding::Utf8, true, false, false, {});
    row("a lone UTF-16 LE mark", kLeMark, Encoding::Utf16Le, true, false, false, {});
    row("a lone UTF-16 BE mark", kBeMark, Encoding::Utf16Be, true, false, false, {});
    row("UTF-8 mark before code-page bytes", kUtf8Mark + inEncoding(u"你"_qs, "GB18030"), Encoding::Utf8, true,
        false, true, u"\uFFFD\uFFFD"_qs);
    row("UTF-8", u"中文\r\n"_qs.toUtf8(), Encoding::Utf8, false, false, false, u"中文\r\n"_qs);
    const QByteArray cut = u"中文"_qs.toUtf8() + "\xE4\xB8";
    row("UTF-8 cut off at the end", cut, Encoding::CodePage, false, false, false, TextCodec::decode(cut));
    // The known ambiguity: "猫毛" in GBK is C3 A8 C3 AB, which is also UTF-8.
    row("GBK that is valid UTF-8", inEncoding(u"猫毛"_qs, "GB18030"), Encoding::Utf8, false, false, false,
        u"\u00E8\u00EB"_qs);
    row("GBK", inEncoding(u"你好\n"_qs, "GB18030"), Encoding::CodePage, false, true, false, u"你好\n"_qs);
    row("UTF-16 without a mark", QByteArray("a\0b\0", 4), Encoding::CodePage, false, false, false,
        QString::fromLatin1("a\0b\0", 4));
    row("mostly LF", "a\r\nb\nc\n", Encoding::CodePage, false, true, false, u"a\r\nb\nc\n"_qs);
    row("as many LF as CR LF", "a\r\nb\n", Encoding::CodePage, false, false, false, u"a\r\nb\n"_qs);
    row("UTF-8 mark, a bad byte", kUtf8Mark + "a\xFF" "b", Encoding::Utf8, true, false, true, u"a\uFFFDb"_qs);
    row("UTF-8 mark, cut off", kUtf8Mark + "a\xE4\xB8", Encoding::Utf8, true, false, true, u"a\uFFFD\uFFFD"_qs);
    row("UTF-16 LE, a pair", kLeMark + inEncoding(u"😀\n"_qs, "UTF-16LE"), Encoding::Utf16Le, true, true, false,
        u"😀\n"_qs);
    row("UTF-16 LE, half a unit", kLeMark + QByteArray("a\0b", 3), Encoding::Utf16Le, true, false, true, u"a\uFFFD"_qs);
    row("UTF-16 BE, a lone surrogate", kBeMark + QByteArray("\xD8\0\0a", 4), Encoding::Utf16Be, true, false, true,
        u"\uFFFDa"_qs);
}

void TestTextCodec::detectsInOrder()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(bool, mark);
    QFETCH(bool, lf);
    QFETCH(bool, replaced);
    QFETCH(QString, text);
    const TextCodec::Format expected{Encoding(encoding), mark, lf ? LineEnd::Lf : LineEnd::CrLf, replaced};
    TextCodec::Format format;
    QCOMPARE(TextCodec::decode(bytes, &format), text);
    QVERIFY(format == expected);
    QVERIFY(TextCodec::detect(bytes) == expected);
    // A file reads the same, piece by piece.
    TempProgramDir dir;
    const QString path = dir.file("t.txt");
    QVERIFY(SaveFile::write(path, bytes));
    QString read;
    TextCodec::Format fromFile;
    QVERIFY(TextCodec::readFile(path, &read, nullptr, &fromFile));
    QCOMPARE(read, text);
    QVERIFY(fromFile == expected);
    // Written back: every byte again, unless some could not be read or the
    // line ends were mixed.
    if (text.count(u"\r\n"_qs) == 0 || text.count(u'\n') == text.count(u"\r\n"_qs))
        QCOMPARE(TextCodec::encode(text, format) == bytes, !replaced);
}

void TestTextCodec::filesKeepTheirFormat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<QByteArray>("encoding"); // the system converter's name
    QString large; // a few megabytes, so that characters fall across the pieces a file is read in
    for (int i = 0; i < 300000; ++i)
        large += u"中😀a\n"_qs;
    QTest::newRow("UTF-8") << u"中文\n第二行\n"_qs << QByteArray() << QByteArray("UTF-8");
    QTest::newRow("UTF-8, large") << large << QByteArray() << QByteArray("UTF-8");
    QTest::newRow("UTF-8 with a mark") << u"中文\r\n二\r\n"_qs << kUtf8Mark << QByteArray("UTF-8");
    QTest::newRow("UTF-16 LE with a mark") << u"中文😀\r\n"_qs << kLeMark << QByteArray("UTF-16LE");
    QTest::newRow("UTF-16 LE, large") << large << kLeMark << QByteArray("UTF-16LE");
    QTest::newRow("UTF-16 BE with a mark") << u"中文\n"_qs << kBeMark << QByteArray("UTF-16BE");
    QTest::newRow("GBK") << u"你好\r\n世界\r\n"_qs << QByteArray() << QByteArray("GB18030");
    QTest::newRow("GBK, LF") << u"你好\n世界\n"_qs << QByteArray() << QByteArray("GB18030");
    QTest::newRow("GB18030, four bytes") << u"😀𠀀你\r\n"_qs << QByteArray() << QByteArray("GB18030");
}

void TestTextCodec::filesKeepTheirFormat()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, mark);
    QFETCH(QByteArray, encoding);
    const QByteArray bytes = mark + inEncoding(text, encoding.constData());
    TempProgramDir dir;
    const QString path = dir.file("t.txt");
    QVERIFY(SaveFile::write(path, bytes));
    QString read;
    TextCodec::Format format;
    QVERIFY(TextCodec::readFile(path, &read, nullptr, &format));
    QVERIFY(read == text);
    QVERIFY(!format.replacedBytes);
    // Nothing edited: every byte back.
    QVERIFY(TextCodec::writeFile(path, read, format));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == bytes);
    file.close();
    // Edited as a window edits, in CR LF: the new text in the file's encoding and line ends.
    QString edited = read + u"改了\r\n"_qs;
    TextCodec::toCrLf(edited);
    QVERIFY(TextCodec::writeFile(path, edited, format));
    if (format.lineEnd == LineEnd::Lf)
        TextCodec::toLf(edited);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == mark + inEncoding(edited, encoding.constData()));
}

void TestTextCodec::utf8DetectionAgreesWithTheSystemDecoder()
{
    // Random mixtures of ASCII, whole UTF-8 sequences and stray bytes, held
    // against the literal rule: the system decoder reads them back to the
    // same bytes, and one of them is above 0x7F.
    QRandomGenerator random(20);
    const char32_t samples[] = {0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF, 0x4E2D};
    const QByteArray strays[] = {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                 "\xF5", "\xFF", "\xE4\xB8", "\xF0\x9F\x98"};
    int utf8 = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int parts = random.bounded(1, 6);
        for (int k = 0; k < parts; ++k) {
            const int pick = random.bounded(10);
            if (pick < 3)
                bytes += char(random.bounded(0x20, 0x7F));
            else if (pick < 9)
                bytes += QString::fromUcs4(&samples[random.bounded(int(std::size(samples)))], 1).toUtf8();
            else
                bytes += strays[random.bounded(int(std::size(strays)))];
        }
        const bool valid = QString::fromUtf8(bytes).toUtf8() == bytes;
        const bool high = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
        const bool expected = valid && high;
        utf8 += expected;
        if ((TextCodec::detect(bytes).encoding == Encoding::Utf8) != expected)
            QFAIL(qPrintable(u"disagrees on "_qs + QString::fromLatin1(bytes.toHex(' '))));
    }
    QVERIFY(utf8 > 5000 && utf8 < 15000);
}

void TestTextCodec::appendsInTheFilesFormat_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QByteArray>("after"); // null: refused, the file unchanged
    const QString added = u"加一\r\n"_qs;
    const QByteArray gbk = inEncoding(added, "GB18030");
    const QByteArray gbkLf = inEncoding(u"加一\n"_qs, "GB18030");
    QTest::newRow("no file") << QByteArray() << gbk;
    QTest::newRow("empty") << QByteArray("") << gbk;
    QTest::newRow("ASCII, LF") << QByteArray("a\n") << QByteArray("a\n") + gbkLf;
    QTest::newRow("GBK") << inEncoding(u"你\r\n"_qs, "GB18030") << inEncoding(u"你\r\n"_qs + added, "GB18030");
    QTest::newRow("UTF-8, LF") << u"中\n"_qs.toUtf8() << u"中\n加一\n"_qs.toUtf8();
    QTest::newRow("UTF-8 with a mark") << kUtf8Mark + u"中\r\n"_qs.toUtf8() << kUtf8Mark + u"中\r\n加一\r\n"_qs.toUtf8();
    QTest::newRow("UTF-16 LE") << kLeMark + inEncoding(u"中\r\n"_qs, "UTF-16LE")
                               << kLeMark + inEncoding(u"中\r\n加一\r\n"_qs, "UTF-16LE");
    QTest::newRow("UTF-16 BE, LF") << kBeMark + inEncoding(u"中\n"_qs, "UTF-16BE")
                                   << kBeMark + inEncoding(u"中\n加一\n"_qs, "UTF-16BE");
    QTest::newRow("UTF-16 cut in a unit") << kLeMark + "a" << QByteArray();
}

void TestTextCodec::appendsInTheFilesFormat()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TempProgramDir dir;
    const QString path = dir.file("favourites.txt");
    if (!before.isNull())
        QVERIFY(SaveFile::write(path, before));
    QCOMPARE(TextCodec::appendFile(path, u"加一\r\n"_qs), !after.isNull());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toHex(' '), (after.isNull() ? before : after).toHex(' '));
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
