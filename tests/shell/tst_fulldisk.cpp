// Every writer on a full disk: the old file stays as it was, no temporary
// file is left behind, and the writer says that it failed.

#include "fulldisk.h"
#include "processes.h"
#include "scripteddialogs.h"

#include "library/tipstore.h"
#include "plugins/pluginfile.h"
#include "shell/core/textcodec.h"
#include "shell/widgets/savetextas.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QByteArray kOld = "old text, 80 bytes long, that a failed save must leave exactly as it was......\r\n";

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

using Writer = std::function<bool(const QString &path, const QString &text)>;

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestFullDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void failedAppendLeavesNoHalfEntry();
    void commandLineOutputOnAFullDisk_data();
    void commandLineOutputOnAFullDisk();
};

void TestFullDisk::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<int>("length");

    const Writer text = [](const QString &path, const QString &t) { return TextCodec::writeFile(path, t); };
    const Writer tip = [](const QString &path, const QString &t) { return TipStore::save(path, t); };
    const Writer plugin = [](const QString &path, const QString &t) {
        return PluginFile::write(path, CJInfo{QStringLiteral("名字"), QStringLiteral("1"), t, QStringLiteral("说明")});
    };
    const Writer spacefold = [](const QString &path, const QString &t) {
        ScriptedDialogs dialogs;
        dialogs.files.enqueue(path);
        dialogs.answers.enqueue(true); // overwrite
        return SaveTextAs().run(dialogs, [&] { return t; }) == SaveTextAs::Outcome::Saved;
    };
    // Small texts fail only at the last flush; large ones on the way.
    for (const int length : {10, 40000}) {
        QTest::addRow("text file %d", length) << text << length;
        QTest::addRow("tip %d", length) << tip << length;
        QTest::addRow("plug-in description %d", length) << plugin << length;
        QTest::addRow("save button %d", length) << spacefold << length;
    }
}

void TestFullDisk::failedSaveKeepsTheOldFile()
{
    QFETCH(Writer, writer);
    QFETCH(int, length);
    FullDisk disk;
    if (!disk.available())
        QSKIP("a file system of the test's own cannot be mounted here (needs root)");
    const QString path = disk.file(QStringLiteral("target.txt"));
    QVERIFY(disk.put(QStringLiteral("target.txt"), kOld));
    QVERIFY(disk.fill());

    const QString text(length, QLatin1Char('x'));
    QVERIFY(!writer(path, text));
    QCOMPARE(bytesOf(path), kOld);
    // No temporary file left: only the target and the filler.
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // With room again the same writer succeeds.
    QVERIFY(QFile::remove(disk.file(QStringLiteral(".filler"))));
    QVERIFY(writer(path, text));
    QVERIFY(bytesOf(path).contains(QByteArray(length, 'x')));
}

void TestFullDisk::failedAppendLeavesNoHalfEntry()
{
    FullDisk disk;
    if (!disk.available())
        QSKIP("a file system of the test's own cannot be mounted here (needs root)");
    const QString favourites = disk.file(QStringLiteral("我的最爱.txt"));
    QVERIFY(disk.put(QStringLiteral("我的最爱.txt"), kOld));
    QVERIFY(disk.fill());
    // More than the part-filled last page of the file holds.
    QVERIFY(!TextCodec::appendFile(favourites, QString(10000, QLatin1Char('y'))));
    QCOMPARE(bytesOf(favourites), kOld);
}

void TestFullDisk::commandLineOutputOnAFullDisk_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("-o") << QStringList{QStringLiteral("-o")};
    QTest::newRow("-o --append") << QStringList{QStringLiteral("--append"), QStringLiteral("-o")};
}

void TestFullDisk::commandLineOutputOnAFullDisk()
{
    QFETCH(QStringList, options);
    FullDisk disk;
    if (!disk.available())
        QSKIP("a file system of the test's own cannot be mounted here (needs root)");
    QTemporaryDir elsewhere;
    const QString picture = elsewhere.filePath(QStringLiteral("p.bmp"));
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    QVERIFY(image.save(picture, "BMP"));
    const QString target = disk.file(QStringLiteral("target.txt"));
    QVERIFY(disk.put(QStringLiteral("target.txt"), kOld));
    QVERIFY(disk.fill());

    const CliRun run = runCli(QStringList{QStringLiteral("pic2text")} + options + QStringList{target, picture});
    QCOMPARE(run.status, 1);
    QVERIFY2(!run.err.isEmpty(), run.err);
    QCOMPARE(bytesOf(target), kOld);
}

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
