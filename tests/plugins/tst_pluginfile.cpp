// Description files: the reading rules, the one writer, and files that are
// not what they claim to be.

#include "plugins/fuzz/readproperties.h"
#include "plugins/pluginfile.h"

#include "scripteddialogs.h"

#include "shell/core/textcodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/types.h>
#endif

using namespace PluginFile;

namespace {

const QString kDir = QStringLiteral("/opt/Zantoria");

// A description as the code page holds it.
QByteArray cp(const QString &text)
{
    return TextCodec::encode(text);
}

} // namespace

class TestPluginFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data();
    void reading();
    void rejectedFileMessages_data();
    void rejectedFileMessages();
    void writeThenRead_data();
    void writeThenRead();
    void writtenBytes();
    void writeFailureAsksOkCancelAndKeepsTheOldFile();
    void valueWithLineBreakIsNotWritten();
    void hostileFilesRefusedQuickly_data();
    void hostileFilesRefusedQuickly();
    void binaryBytesAndNul();
    void mutantsKeepThePromises();

private:
    QTemporaryDir m_tmp;
};

void TestPluginFile::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("values"); // Name, Version, Path, Description

    const QString m = kMarker;
    QTest::newRow("only the marker") << m << true << QStringList{"", "", "", ""};
    QTest::newRow("marker on the third line") << QStringLiteral("[Name]=early\r\n[Path]=/x\r\n") + m
                                                     + QStringLiteral("\r\n[Version]=2\r\n")
                                              << true << QStringList{"", "2", "", ""};
    QTest::newRow("marker in other case") << QStringLiteral("%zantoria plugin file\r\n[Name]=A\r\n") << false
                                          << QStringList{"", "", "", ""};
    QTest::newRow("other product word") << QStringLiteral("%Zantorium Plugin File\r\n[Name]=A\r\n") << false
                                        << QStringList{"", "", "", ""};
    QTest::newRow("marker anywhere in a line") << QStringLiteral("xx ") + m + QStringLiteral(" yy\r\n[Name]=A")
                                               << true << QStringList{"A", "", "", ""};
    QTest::newRow("two blanks after the key") << m + QStringLiteral("\r\n   [Name]=  Spacefold   \r\n") << true
                                              << QStringList{"  Spacefold", "", "", ""};
    QTest::newRow("eleven characters") << m + QStringLiteral("\r\nx[Name]=abc") << true
                                       << QStringList{"=abc", "", "", ""};
    QTest::newRow("placeholder expanded")
        << m + QStringLiteral("\r\n[Path]={app.path}/Spacefold{app.path}") << true
        << QStringList{"", "", kDir + QStringLiteral("/Spacefold") + kDir, ""};
    QTest::newRow("placeholder in capitals kept") << m + QStringLiteral("\r\n[Path]={APP.PATH}\\Spacefold.exe")
                                                  << true << QStringList{"", "", "{APP.PATH}\\Spacefold.exe", ""};
    QTest::newRow("placeholder only in Path") << m + QStringLiteral("\r\n[Name]={app.path}") << true
                                              << QStringList{"{app.path}", "", "", ""};
    QTest::newRow("LF only") << m + QStringLiteral("\n[Name]=A\n[Version]=1\n[Path]=/p\n[Description]=d\n") << true
                             << QStringList{"A", "1", "/p", "d"};
    QTest::newRow("CR only") << m + QStringLiteral("\r[Name]=A\r[Description]=d") << true
                             << QStringList{"A", "", "", "d"};
    QTest::newRow("later lines win") << m + QStringLiteral("\r\n[Name]=A\r\n[Name]=B\r\n") << true
                                     << QStringList{"B", "", "", ""};
    QTest::newRow("one line sets two fields") << m + QStringLiteral("\r\n[Name]=[Version]=v") << true
                                              << QStringList{"[Version]=v", "rsion]=v", "", ""};
    QTest::newRow("marker line sets a field") << m + QStringLiteral("[Name]=x") << true
                                              << QStringList{"ia Plugin File[Name]=x", "", "", ""};
    QTest::newRow("full-width blank kept") << m + QStringLiteral("\r\n[Name]=　甲　 ") << true
                                           << QStringList{"　甲　", "", "", ""};
    QTest::newRow("character beyond the basic plane counts once")
        << m + QStringLiteral("\r\n\U0001F600[Name]=ab") << true << QStringList{"=ab", "", "", ""};
    QTest::newRow("empty") << QString() << false << QStringList{"", "", "", ""};
}

void TestPluginFile::reading()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QStringList, values);
    const Parsed parsed = parseBytes(cp(text), kDir);
    QCOMPARE(parsed.problem == Problem::None, accepted);
    QCOMPARE(parsed.info.Name, values[0]);
    QCOMPARE(parsed.info.Version, values[1]);
    QCOMPARE(parsed.info.Path, values[2]);
    QCOMPARE(parsed.info.Description, values[3]);
}

void TestPluginFile::rejectedFileMessages_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");

    QTest::newRow("no marker") << QByteArray("[Name]=A\r\n") << "所读取的文件不是『Zantoria』的标准插件配置文件！"
                               << "读取错误：O";
    QTest::newRow("missing file") << QByteArray() << "在读取插件配置文件时出现错误！" << "『Zantoria』提醒您：）";
}

void TestPluginFile::rejectedFileMessages()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, title);
    const QString path = m_tmp.filePath(QStringLiteral("rejected.ini"));
    QFile::remove(path);
    if (!bytes.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    ScriptedDialogs dialogs;
    const CJInfo read = ReadCJFile(path, kDir, dialogs);
    QVERIFY(read == CJInfo{});
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].kind, QStringLiteral("message"));
    QCOMPARE(dialogs.shown[0].text, text);
    QCOMPARE(dialogs.shown[0].title, title);
    QCOMPARE(dialogs.shown[0].icon, Dialogs::Icon::Critical);
}

void TestPluginFile::writeThenRead_data()
{
    QTest::addColumn<CJInfo>("written");
    QTest::addColumn<CJInfo>("read");

    QTest::newRow("plain") << CJInfo{"Spacefold", "1.0", "/opt/x/Spacefold", "空格压缩"}
                           << CJInfo{"Spacefold", "1.0", "/opt/x/Spacefold", "空格压缩"};
    QTest::newRow("trailing blanks lost, leading kept")
        << CJInfo{"  A  ", " 1 ", "/p ", " d"} << CJInfo{"  A", " 1", "/p", " d"};
    QTest::newRow("empty values") << CJInfo{} << CJInfo{};
    QTest::newRow("outside the code page's two bytes") << CJInfo{"€ \U0001F600 ㈠", "", "", "𠀀"}
                                                       << CJInfo{"€ \U0001F600 ㈠", "", "", "𠀀"};
}

void TestPluginFile::writeThenRead()
{
    QFETCH(CJInfo, written);
    QFETCH(CJInfo, read);
    const QString path = m_tmp.filePath(QStringLiteral("roundtrip.ini"));
    ScriptedDialogs dialogs;
    QVERIFY(WriteCJFile(path, written, dialogs));
    QVERIFY(ReadCJFile(path, kDir, dialogs) == read);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestPluginFile::writtenBytes()
{
    const QString path = m_tmp.filePath(QStringLiteral("bytes.ini"));
    QVERIFY(write(path, CJInfo{"甲", "1", "/p", "d"}));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("%Zantoria Plugin File\r\n[Name]=\xbc\xd7\r\n[Version]=1\r\n[Path]=/p\r\n"
                                     "[Description]=d\r\n"));
}

void TestPluginFile::writeFailureAsksOkCancelAndKeepsTheOldFile()
{
    // A directory stands where the file should go: nothing can be written.
    const QString blocked = m_tmp.filePath(QStringLiteral("blocked.ini"));
    QVERIFY(QDir().mkpath(blocked));
    ScriptedDialogs dialogs;
    dialogs.answers.enqueue(true);
    QVERIFY(!WriteCJFile(blocked, CJInfo{"A", "", "/p", ""}, dialogs));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].kind, QStringLiteral("okcancel"));
    // What failed, where, and why in the system's words.
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("写入插件配置文件时出现错误！\r\n") + QDir::toNativeSeparators(blocked)
                                        + QStringLiteral("：") + qt_error_string(EISDIR));
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("写入失败：（"));
    QCOMPARE(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    QVERIFY(QFileInfo(blocked).isDir());

    // A missing directory: nothing is created.
    QVERIFY(!WriteCJFile(m_tmp.filePath(QStringLiteral("no/such.ini")), CJInfo{}, dialogs));
    QVERIFY(!QFileInfo::exists(m_tmp.filePath(QStringLiteral("no"))));
}

void TestPluginFile::valueWithLineBreakIsNotWritten()
{
    const QString path = m_tmp.filePath(QStringLiteral("keep.ini"));
    QVERIFY(write(path, CJInfo{"Old", "", "/old", ""}));
    for (const QString &broken : {QStringLiteral("a\nb"), QStringLiteral("a\rb"), QStringLiteral("a\r\n")}) {
        QVERIFY(holdsLineBreak(broken));
        QVERIFY(!write(path, CJInfo{"New", "", broken, ""}));
        QVERIFY(!write(path, CJInfo{broken, "", "/p", ""}));
    }
    QCOMPARE(read(path, kDir).info.Name, QStringLiteral("Old"));
}

void TestPluginFile::hostileFilesRefusedQuickly_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("100 MB file") << "huge";
    QTest::newRow("directory") << "dir";
    QTest::newRow("device") << "device";
    QTest::newRow("just above the cap") << "above";
}

void TestPluginFile::hostileFilesRefusedQuickly()
{
    QFETCH(QString, kind);
    QString path = m_tmp.filePath(kind + QStringLiteral(".ini"));
    if (kind == u"fifo") {
#ifdef Q_OS_UNIX
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#else
        QSKIP("no FIFOs here");
#endif
    } else if (kind == u"huge") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(cp(kMarker + QStringLiteral("\r\n"))) > 0);
        QVERIFY(f.resize(100LL * 1000 * 1000)); // sparse: no disk, but a 100 MB file
    } else if (kind == u"dir") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == u"device") {
        path = QStringLiteral("/dev/zero");
        if (!QFileInfo::exists(path))
            QSKIP("no /dev/zero");
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(cp(kMarker + QStringLiteral("\r\n") + QString(kMaxFileSize, u'x'))) > kMaxFileSize);
    }
    QElapsedTimer clock;
    clock.start();
    ScriptedDialogs dialogs;
    const CJInfo info = ReadCJFile(path, kDir, dialogs);
    QVERIFY2(clock.elapsed() < 2000, "a hostile file held the reader up");
    QVERIFY(info == CJInfo{});
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("在读取插件配置文件时出现错误！"));
}

void TestPluginFile::binaryBytesAndNul()
{
    // NUL characters, bytes that are no code, a lone 0x80 ("€") and a lead
    // byte cut off at the end: read without harm, the values as decoded.
    QByteArray bytes = cp(kMarker);
    bytes += QByteArray("\r\n[Name]=a\0b", 12);
    bytes += "\r\n[Version]=\x80\xff\x81\x30";
    bytes += "\r\n[Description]=\xbc";
    const Parsed parsed = parseBytes(bytes, kDir);
    QCOMPARE(parsed.problem, Problem::None);
    QCOMPARE(parsed.info.Name, QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
    QVERIFY(parsed.info.Version.startsWith(QChar(0x20AC)));
    QCOMPARE(parsed.info.Description, QString(QChar(0xDCBC))); // the cut-off byte, kept
    QVERIFY(PluginFileProperties::violation(bytes, kDir).isEmpty());

    // A NUL right in the marker breaks it.
    QByteArray broken = cp(kMarker);
    broken[5] = '\0';
    QCOMPARE(parseBytes(broken, kDir).problem, Problem::NotPluginFile);
}

void TestPluginFile::mutantsKeepThePromises()
{
    const QList<QByteArray> parents = {
        cp(format(CJInfo{"Spacefold", "1.0", "{app.path}/Spacefold", "空格压缩器"})),
        cp(QStringLiteral("junk\n  %1  \n x[Name]=abc \r[Path]={APP.PATH}\\x{app.path}\r\r\n[Version]=  2").arg(kMarker)),
        cp(kMarker),
    };
    // Bytes that matter to the reader: line ends, blanks, NUL, the euro byte,
    // lead bytes with and without their trail, and the key characters.
    const QByteArray interesting("\r\n \0\x80\xff\x81\x30\xbc[]={}%", 17);
    QRandomGenerator random(20241208);
    const auto pick = [&](qsizetype bound) { return qsizetype(random.bounded(int(qMax<qsizetype>(1, bound)))); };

    QElapsedTimer clock;
    clock.start();
    int mutants = 0;
    const QString file = m_tmp.filePath(QStringLiteral("mutant.ini"));
    for (; mutants < 4000 && clock.elapsed() < 20000; ++mutants) {
        QByteArray b = parents[mutants % parents.size()];
        const int edits = 1 + int(random.bounded(6));
        for (int e = 0; e < edits; ++e) {
            const qsizetype at = pick(b.size() + 1);
            switch (random.bounded(6)) {
            case 0: // flip a bit
                if (!b.isEmpty())
                    b[pick(b.size())] ^= char(1 << random.bounded(8));
                break;
            case 1: // put in a byte that matters
                b.insert(at, interesting[pick(interesting.size())]);
                break;
            case 2: // take some bytes out
                b.remove(at, 1 + pick(8));
                break;
            case 3: // repeat a stretch
                b.insert(at, b.mid(pick(b.size()), 1 + pick(24)));
                break;
            case 4: // cut the file short
                b.truncate(at);
                break;
            default: // a random byte
                b.insert(at, char(random.bounded(256)));
                break;
            }
        }
        const QString broken = PluginFileProperties::violation(b, kDir);
        QVERIFY2(broken.isEmpty(), qPrintable(broken + QStringLiteral(": ") + QString::fromLatin1(b.toHex())));
        // Through a real file now and then, as the manager reads them.
        if (mutants % 20 == 0) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(b);
            f.close();
            const Parsed fromFile = read(file, kDir);
            const Parsed fromBytes = parseBytes(b, kDir);
            QCOMPARE(fromFile.problem, fromBytes.problem);
            QVERIFY(fromFile.info == fromBytes.info);
        }
    }
    QVERIFY2(mutants >= 1000, "too few mutants in the time allowed");
    qInfo("%d mutants in %lld ms", mutants, clock.elapsed());
}

QTEST_GUILESS_MAIN(TestPluginFile)
#include "tst_pluginfile.moc"
