// The bounded reader of regular files: what it reads, what it refuses and
// why, and that nothing standing at the path can make it wait.

#include "specialfiles.h"

#include "shell/core/regularfile.h"
#include "shell/core/textcodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(ReadOutcome)

class TestRegularFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data();
    void outcomes();
    void fifoInPlaceOfTheFileIsNotWaitedOn();
    void unreadableFile();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return f.fileName();
    }

    QTemporaryDir m_dir;
};

void TestRegularFile::outcomes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("cap");
    QTest::addColumn<ReadOutcome>("outcome");
    QTest::addColumn<QString>("text");
    const QString words = QStringLiteral("中文€\r\nabc\r\n");
    QTest::newRow("regular file, decoded") << "regular" << qint64(100) << ReadOutcome::Done << words;
    QTest::newRow("empty file") << "empty" << qint64(100) << ReadOutcome::Done << QString();
    QTest::newRow("exactly the cap") << "regular" << TextCodec::byteLength(words) << ReadOutcome::Done << words;
    QTest::newRow("a byte over the cap") << "regular" << TextCodec::byteLength(words) - 1 << ReadOutcome::TooLarge
                                         << QString();
    QTest::newRow("sparse 100 MB file") << "sparse" << qint64(1 << 20) << ReadOutcome::TooLarge << QString();
    QTest::newRow("link to a regular file") << "link" << qint64(100) << ReadOutcome::Done << words;
    QTest::newRow("nothing there") << "missing" << qint64(100) << ReadOutcome::Missing << QString();
    QTest::newRow("in a missing directory") << "missing dir" << qint64(100) << ReadOutcome::Missing << QString();
    QTest::newRow("link to nothing") << "dangling" << qint64(100) << ReadOutcome::Missing << QString();
    QTest::newRow("directory") << "dir" << qint64(100) << ReadOutcome::NotRegularFile << QString();
    QTest::newRow("FIFO") << "fifo" << qint64(100) << ReadOutcome::NotRegularFile << QString();
    QTest::newRow("device that never ends") << "device" << qint64(100) << ReadOutcome::NotRegularFile << QString();
}

void TestRegularFile::outcomes()
{
    QFETCH(QString, kind);
    QFETCH(qint64, cap);
    QFETCH(ReadOutcome, outcome);
    QFETCH(QString, text);
    const QString words = QStringLiteral("中文€\r\nabc\r\n");
    const SpecialFile special(kind, m_dir.filePath(kind));
    if (!special.available())
        QSKIP("nothing of the kind here");
    QString path = special.path();
    if (kind == u"regular" || kind == u"link") {
        path = write(QStringLiteral("regular.txt"), TextCodec::encode(words));
        if (kind == u"link") {
            QVERIFY(QFile::link(path, m_dir.filePath(QStringLiteral("link.txt"))));
            path = m_dir.filePath(QStringLiteral("link.txt"));
        }
    } else if (kind == u"empty") {
        path = write(QStringLiteral("empty.txt"), QByteArray());
    } else if (kind == u"sparse") {
        path = write(QStringLiteral("sparse.txt"), "x");
        QVERIFY(QFile::resize(path, 100LL * 1000 * 1000));
    } else if (kind == u"missing dir") {
        path = m_dir.filePath(QStringLiteral("no/such.txt"));
    } else if (kind == u"dangling") {
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("gone")), path));
    }

    QElapsedTimer clock;
    clock.start();
    QString got = QStringLiteral("untouched");
    QCOMPARE(ReadTextFile(path, cap, &got), outcome);
    QCOMPARE(got, outcome == ReadOutcome::Done ? text : QStringLiteral("untouched"));
    QByteArray bytes = "untouched";
    QCOMPARE(ReadRegularFile(path, cap, &bytes), outcome);
    QCOMPARE(bytes, outcome == ReadOutcome::Done ? TextCodec::encode(text) : QByteArray("untouched"));
    QVERIFY2(clock.elapsed() < 2000, "held up");
    QVERIFY(!special.heldUp());
}

void TestRegularFile::fifoInPlaceOfTheFileIsNotWaitedOn()
{
    // The open that follows the look by name: what stands there by then is
    // what counts, and a FIFO swapped in meanwhile is opened without waiting
    // for a writer and refused.
    const QString path = m_dir.filePath(QStringLiteral("swapped.txt"));
    FifoGuard fifo(path);
    if (!fifo.made())
        QSKIP("no FIFOs here");
    QFile file;
    QCOMPARE(OpenRegularFile(path, 100, file), ReadOutcome::NotRegularFile);
    QVERIFY(!file.isOpen());
    QVERIFY(!fifo.heldUp());
    if (QFileInfo::exists(QStringLiteral("/dev/zero")))
        QCOMPARE(OpenRegularFile(QStringLiteral("/dev/zero"), 100, file), ReadOutcome::NotRegularFile);
    const QString regular = write(QStringLiteral("big.txt"), QByteArray(101, 'x'));
    QCOMPARE(OpenRegularFile(regular, 100, file), ReadOutcome::TooLarge);
    QCOMPARE(OpenRegularFile(regular, 101, file), ReadOutcome::Done);
    QCOMPARE(file.readAll().size(), 101);
}

void TestRegularFile::unreadableFile()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        QSKIP("permissions do not hold for root");
#endif
    const QString path = write(QStringLiteral("secret.txt"), "x");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    QString text;
    QCOMPARE(ReadTextFile(path, 100, &text), ReadOutcome::ReadError);
}

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
