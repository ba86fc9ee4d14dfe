// The tips library on disk: names, listing, create, rename, delete, read and
// save, and the sample tips the build writes.

#include "libraryfixtures.h"

#include "library/samples/sampletips.h"
#include "library/tipstore.h"

#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"
#include "tempprogramdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace LibraryFixtures;

Q_DECLARE_METATYPE(TipOutcome)

class TestTipStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void nameRules_data();
    void nameRules();
    void listing();
    void listingOfMissingDirectoryIsEmpty();
    void createMakesEmptyFilesInsideTheKind_data();
    void createMakesEmptyFilesInsideTheKind();
    void createNeverTouchesAnExistingTip_data();
    void createNeverTouchesAnExistingTip();
    void createThatFails();
    void renameNeverOverwrites_data();
    void renameNeverOverwrites();
    void renameChangesLetterCase();
    void renameRefusals();
    void removeTip();
    void saveAddsOneLineEndOnly_data();
    void saveAddsOneLineEndOnly();
    void readAndSaveKeepBytes_data();
    void readAndSaveKeepBytes();
    void readRefusesWhatIsNoTip();
    void createIfMissingNeverEmpties();
    void sampleTips();
    void sampleTipsNeverWriteOverTheUsersTips();

private:
    QString dir(TipKind kind) const { return tipFile(m_dir->path(), kind, QString()); }
    QString file(TipKind kind, const QString &fileName) const { return tipFile(m_dir->path(), kind, fileName); }
    QStringList entries(TipKind kind) const
    {
        return QDir(dir(kind)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TipStore> m_store;
};

void TestTipStore::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    makeLibraryDirs(m_dir->path());
    m_store = std::make_unique<TipStore>(m_dir->path());
}

void TestTipStore::cleanup()
{
    m_store.reset();
    m_dir.reset();
}

void TestTipStore::nameRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TipOutcome>("outcome");
    QTest::newRow("empty") << QString() << TipOutcome::BlankName;
    QTest::newRow("blanks") << QStringLiteral("   ") << TipOutcome::BlankName;
    const QString bad = QStringLiteral("\\/:*?\"<>|");
    QCOMPARE(TipStore::kBadNameChars, bad);
    for (const QChar c : bad)
        QTest::addRow("forbidden %c", c.toLatin1()) << (QStringLiteral(" a") + c + QStringLiteral("b ")) << TipOutcome::ForbiddenCharacter;
    QTest::newRow("blank first, then forbidden") << QStringLiteral("  ") << TipOutcome::BlankName;
    QTest::newRow("dot name") << QStringLiteral(".x") << TipOutcome::Done;
    QTest::newRow("dot dot") << QStringLiteral("..") << TipOutcome::Done;
    QTest::newRow("full-width blank is a character") << QStringLiteral("　") << TipOutcome::Done;
    QTest::newRow("padded") << QStringLiteral("  abc  ") << TipOutcome::Done;
    QTest::newRow("long") << QString(300, u'名') << TipOutcome::Done;
}

void TestTipStore::nameRules()
{
    QFETCH(QString, name);
    QFETCH(TipOutcome, outcome);
    QCOMPARE(TipStore::checkName(name), outcome);
}

void TestTipStore::listing()
{
    const TipKind k = TipKind::Pictures;
    for (const char *name : {"b.txt", "ABC.TXT", "a.Txt", ".hidden.txt", "c.txt.bak", "notes.md", ".txt", "中文.txt"})
        QVERIFY(writeBytes(file(k, QString::fromUtf8(name)), "x"));
    QDir().mkdir(file(k, QStringLiteral("folder.txt")));
    QVERIFY(writeBytes(file(TipKind::Words, QStringLiteral("word.txt")), "w"));

    const QList<TipEntry> tips = m_store->list(k);
    const QList<TipEntry> expected = {
        {QStringLiteral(".hidden"), QStringLiteral(".hidden.txt")},
        {QStringLiteral("a"), QStringLiteral("a.Txt")},
        {QStringLiteral("ABC"), QStringLiteral("ABC.TXT")},
        {QStringLiteral("b"), QStringLiteral("b.txt")},
        {QStringLiteral("中文"), QStringLiteral("中文.txt")},
    };
    QCOMPARE(tips, expected);
    QCOMPARE(m_store->list(TipKind::Words), (QList<TipEntry>{{QStringLiteral("word"), QStringLiteral("word.txt")}}));

    // Looked up as the user names them: exact spelling first, then any case.
    QCOMPARE(m_store->existingEntry(k, QStringLiteral("abc.txt")), QStringLiteral("ABC.TXT"));
    QCOMPARE(m_store->existingEntry(k, QStringLiteral("FOLDER.txt")), QStringLiteral("folder.txt"));
    QCOMPARE(m_store->existingEntry(k, QStringLiteral("none.txt")), QString());
    QVERIFY(writeBytes(file(k, QStringLiteral("abc.txt")), "y"));
    QCOMPARE(m_store->existingEntry(k, QStringLiteral("abc.txt")), QStringLiteral("abc.txt"));
}

void TestTipStore::listingOfMissingDirectoryIsEmpty()
{
    QVERIFY(QDir(dir(TipKind::Words)).removeRecursively());
    QVERIFY(m_store->list(TipKind::Words).isEmpty());
}

void TestTipStore::createMakesEmptyFilesInsideTheKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain") << QStringLiteral("早安") << QStringLiteral("早安.txt");
    QTest::newRow("padded") << QStringLiteral("  早安 ") << QStringLiteral("早安.txt");
    QTest::newRow("dot-file") << QStringLiteral(".x") << QStringLiteral(".x.txt");
    QTest::newRow("dot dot") << QStringLiteral("..") << QStringLiteral("...txt");
}

void TestTipStore::createMakesEmptyFilesInsideTheKind()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    QString made;
    QCOMPARE(m_store->create(TipKind::Words, name, &made), TipOutcome::Done);
    QCOMPARE(made, fileName);
    QCOMPARE(entries(TipKind::Words), QStringList{fileName});
    QCOMPARE(QFileInfo(file(TipKind::Words, fileName)).size(), 0);
    QVERIFY(entries(TipKind::Pictures).isEmpty());
    QCOMPARE(m_store->list(TipKind::Words).value(0).name, fileName.chopped(4));
}

void TestTipStore::createNeverTouchesAnExistingTip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("same") << QStringLiteral("abc");
    QTest::newRow("padded") << QStringLiteral("  abc ");
    QTest::newRow("other case") << QStringLiteral("ABC");
    QTest::newRow("other case, padded") << QStringLiteral(" Abc");
}

void TestTipStore::createNeverTouchesAnExistingTip()
{
    QFETCH(QString, name);
    QVERIFY(writeBytes(file(TipKind::Pictures, QStringLiteral("abc.txt")), "keep me\r\n"));
    QCOMPARE(m_store->create(TipKind::Pictures, name), TipOutcome::Duplicate);
    QCOMPARE(entries(TipKind::Pictures), QStringList{QStringLiteral("abc.txt")});
    QCOMPARE(readBytes(file(TipKind::Pictures, QStringLiteral("abc.txt"))), QByteArray("keep me\r\n"));
}

void TestTipStore::createThatFails()
{
    // A name longer than the file system takes.
    QCOMPARE(m_store->create(TipKind::Words, QString(300, u'a')), TipOutcome::Failed);
    QVERIFY(entries(TipKind::Words).isEmpty());
    // A kind directory that is gone is not made again.
    QVERIFY(QDir(dir(TipKind::Words)).removeRecursively());
    QCOMPARE(m_store->create(TipKind::Words, QStringLiteral("x")), TipOutcome::Failed);
    QVERIFY(!QFileInfo::exists(dir(TipKind::Words)));
}

void TestTipStore::renameNeverOverwrites_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("same name") << QStringLiteral("b");
    QTest::newRow("padded") << QStringLiteral(" b  ");
    QTest::newRow("other case") << QStringLiteral("B");
}

void TestTipStore::renameNeverOverwrites()
{
    QFETCH(QString, target);
    QVERIFY(writeBytes(file(TipKind::Words, QStringLiteral("a.txt")), "first"));
    QVERIFY(writeBytes(file(TipKind::Words, QStringLiteral("b.txt")), "second"));
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("a.txt"), target), TipOutcome::Failed);
    QCOMPARE(readBytes(file(TipKind::Words, QStringLiteral("a.txt"))), QByteArray("first"));
    QCOMPARE(readBytes(file(TipKind::Words, QStringLiteral("b.txt"))), QByteArray("second"));
    QCOMPARE(entries(TipKind::Words), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

void TestTipStore::renameChangesLetterCase()
{
    QVERIFY(writeBytes(file(TipKind::Words, QStringLiteral("abc.txt")), "text"));
    QString renamed;
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("abc.txt"), QStringLiteral(" ABC "), &renamed),
             TipOutcome::Done);
    QCOMPARE(renamed, QStringLiteral("ABC.txt"));
    QCOMPARE(entries(TipKind::Words), QStringList{QStringLiteral("ABC.txt")});
    QCOMPARE(readBytes(file(TipKind::Words, renamed)), QByteArray("text"));
    // Its own name again changes nothing.
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("ABC.txt"), QStringLiteral("ABC")), TipOutcome::Done);
    QCOMPARE(entries(TipKind::Words), QStringList{QStringLiteral("ABC.txt")});
    // A tip listed from "X.TXT" takes its new name with the usual ending.
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("ABC.txt"), QStringLiteral("新名"), &renamed),
             TipOutcome::Done);
    QCOMPARE(entries(TipKind::Words), QStringList{QStringLiteral("新名.txt")});
}

void TestTipStore::renameRefusals()
{
    QVERIFY(writeBytes(file(TipKind::Words, QStringLiteral("a.txt")), "a"));
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("a.txt"), QStringLiteral("  ")), TipOutcome::BlankName);
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("a.txt"), QStringLiteral("a/b")),
             TipOutcome::ForbiddenCharacter);
    QCOMPARE(m_store->rename(TipKind::Words, QStringLiteral("gone.txt"), QStringLiteral("new")), TipOutcome::Failed);
    // The tip is in the other kind.
    QCOMPARE(m_store->rename(TipKind::Pictures, QStringLiteral("a.txt"), QStringLiteral("new")), TipOutcome::Failed);
    QCOMPARE(entries(TipKind::Words), QStringList{QStringLiteral("a.txt")});
    QVERIFY(entries(TipKind::Pictures).isEmpty());
}

void TestTipStore::removeTip()
{
    QVERIFY(writeBytes(file(TipKind::Words, QStringLiteral("a.txt")), "a"));
    QCOMPARE(m_store->remove(TipKind::Pictures, QStringLiteral("a.txt")), TipOutcome::Failed);
    QCOMPARE(m_store->remove(TipKind::Words, QStringLiteral("a.txt")), TipOutcome::Done);
    QVERIFY(entries(TipKind::Words).isEmpty());
    QCOMPARE(m_store->remove(TipKind::Words, QStringLiteral("a.txt")), TipOutcome::Failed);
    QCOMPARE(m_store->remove(TipKind::Words, QString()), TipOutcome::Failed);
    QVERIFY(QDir(dir(TipKind::Words)).exists());
}

void TestTipStore::saveAddsOneLineEndOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("abc") << QStringLiteral("abc") << QByteArray("abc\r\n");
    QTest::newRow("ends with a line end") << QStringLiteral("abc\r\n") << QByteArray("abc\r\n");
    QTest::newRow("two lines") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb\r\n");
    QTest::newRow("ends with an empty line") << QStringLiteral("a\r\n\r\n") << QByteArray("a\r\n\r\n");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("full-width") << QStringLiteral("你好") << QByteArray("\xC4\xE3\xBA\xC3\r\n");
}

void TestTipStore::saveAddsOneLineEndOnly()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QString path = file(TipKind::Words, QStringLiteral("t.txt"));
    QVERIFY(TipStore::save(path, text));
    QCOMPARE(readBytes(path), bytes);
}

void TestTipStore::readAndSaveKeepBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("GBK") << gbkBytes();
    QTest::newRow("beyond GBK") << beyondGbkBytes();
    QTest::newRow("five bytes") << QByteArray("abc\r\n");
    QTest::newRow("empty") << QByteArray();
    // Whatever the encoding and the line ends, and with no line end at the end.
    QTest::newRow("UTF-8, no line end at the end") << QStringLiteral("中文\n二").toUtf8();
    QTest::newRow("UTF-8 with a mark, mixed line ends")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("中\r\n文\n二\r三").toUtf8();
    QTest::newRow("UTF-8 with a mark, a bad byte") << QByteArray("\xEF\xBB\xBF\xFF\r\n");
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\x4E\x2D\0\n", 6);
    QTest::newRow("GBK, LF and a lone CR") << QByteArray("\xC4\xE3\n\r\xBA\xC3\n");
}

void TestTipStore::readAndSaveKeepBytes()
{
    QFETCH(QByteArray, bytes);
    const QString path = file(TipKind::Pictures, QStringLiteral("t.txt"));
    QVERIFY(writeBytes(path, bytes));
    QString text;
    TextCodec::Format format;
    QCOMPARE(TipStore::read(path, &text, &format), TipOutcome::Done);
    // As the view hands it back, in CR LF.
    TextCodec::toCrLf(text);
    QVERIFY(TipStore::save(path, text, format));
    QCOMPARE(readBytes(path), bytes);
}

void TestTipStore::readRefusesWhatIsNoTip()
{
    QString text = QStringLiteral("unchanged");
    QCOMPARE(TipStore::read(file(TipKind::Words, QStringLiteral("missing.txt")), &text), TipOutcome::Failed);
    QCOMPARE(TipStore::read(dir(TipKind::Words), &text), TipOutcome::Failed);
    // A pipe would wait for a writer for ever.
    const QString fifo = file(TipKind::Words, QStringLiteral("pipe.txt"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(TipStore::read(fifo, &text), TipOutcome::Failed);
    QVERIFY(m_store->list(TipKind::Words).isEmpty());
    // A file past the limit is not read at all (a sparse file costs nothing).
    const QString huge = file(TipKind::Words, QStringLiteral("huge.txt"));
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(TipStore::kMaxFileBytes + 1));
    }
    QCOMPARE(TipStore::read(huge, &text), TipOutcome::TooLarge);
    QCOMPARE(text, QStringLiteral("unchanged"));
    {
        QFile f(huge);
        QVERIFY(f.resize(TipStore::kMaxFileBytes));
    }
    QCOMPARE(TipStore::read(huge, &text), TipOutcome::Done);
    QCOMPARE(text.size(), TipStore::kMaxFileBytes);
}

void TestTipStore::createIfMissingNeverEmpties()
{
    const QString path = m_store->favouritesPath();
    QCOMPARE(path, m_dir->path() + QStringLiteral("/data/MyFavor/我的最爱.txt"));
    QVERIFY(TipStore::createIfMissing(path));
    QCOMPARE(readBytes(path), QByteArray());
    QVERIFY(QFileInfo(path).isFile());
    QVERIFY(writeBytes(path, "entry\r\n"));
    QVERIFY(TipStore::createIfMissing(path));
    QCOMPARE(readBytes(path), QByteArray("entry\r\n"));
    QVERIFY(!TipStore::createIfMissing(m_dir->path() + QStringLiteral("/no/such/dir/f.txt")));
}

void TestTipStore::sampleTips()
{
    TempProgramDir fresh;
    QVERIFY(SampleTips::writeMissing(fresh.path()));
    // Spelled as start-up spells its data directory, so there is one of it.
    QCOMPARE(QDir(fresh.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("data")});
    const TipStore store(fresh.path());
    const QList<TipEntry> pictures = store.list(TipKind::Pictures);
    const QList<TipEntry> words = store.list(TipKind::Words);
    QVERIFY(pictures.size() >= 3);
    QVERIFY(words.size() >= 3);
    for (const SampleTips::Sample &sample : SampleTips::all()) {
        const QString path = store.path(sample.kind, TipStore::fileNameFor(sample.name));
        const QByteArray bytes = readBytes(path);
        QVERIFY2(!bytes.isEmpty(), qPrintable(sample.name));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(TextCodec::encode(TextCodec::decode(bytes)), bytes);
        QCOMPARE(TextCodec::decode(bytes), sample.text);
        const QStringList lines = TextCodec::splitLines(sample.text);
        QCOMPARE(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), sample.text); // no lone CR or LF
        for (const QString &line : lines) {
            // Every line fits the view at its starting size without scrolling.
            QVERIFY2(TextCodec::byteLength(line) <= 36, qPrintable(line));
            if (sample.kind == TipKind::Pictures) {
                for (const QChar c : line)
                    QVERIFY2(TextCodec::isFullWidth(c.unicode()), qPrintable(line));
            }
        }
    }
}

void TestTipStore::sampleTipsNeverWriteOverTheUsersTips()
{
    TempProgramDir fresh;
    QVERIFY(SampleTips::writeMissing(fresh.path()));
    const SampleTips::Sample first = SampleTips::all().first();
    const TipStore store(fresh.path());
    const QString path = store.path(first.kind, TipStore::fileNameFor(first.name));
    QVERIFY(writeBytes(path, "mine\r\n"));
    const QString other = store.path(TipKind::Words, TipStore::fileNameFor(SampleTips::all().last().name));
    QVERIFY(QFile::remove(other));
    QVERIFY(SampleTips::writeMissing(fresh.path()));
    QCOMPARE(readBytes(path), QByteArray("mine\r\n"));
    QVERIFY(QFileInfo(other).isFile());
}

QTEST_GUILESS_MAIN(TestTipStore)
#include "tst_tipstore.moc"
