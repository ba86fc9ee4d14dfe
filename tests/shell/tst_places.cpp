// Where files live: the mode decision, the first start of an installed copy
// and the starts after it.

#include "fulldisk.h"

#include "plugins/pluginfile.h"
#include "shell/core/places.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// An installed tree: programs in prefix/lib/zantoria, resources in
// prefix/share/zantoria, a home of its own.
struct Installed
{
    QTemporaryDir root;
    QString prefix = root.path() + QStringLiteral("/usr");
    QString programs = prefix + QStringLiteral("/lib/zantoria");
    QString shared = prefix + QStringLiteral("/share/zantoria");
    QString home = root.path() + QStringLiteral("/home");
    QString tip = QStringLiteral("data/Zantoria秘笈/Words/问候.txt");
    QString plugin = QStringLiteral("Plugin/Spacefold.ini");

    Installed()
    {
        QDir().mkpath(programs);
        QDir().mkpath(shared + QStringLiteral("/Skin/Default"));
        QDir().mkpath(home);
        put(shared + u'/' + tip, "hello\r\n");
        put(shared + u'/' + plugin,
            "%Zantoria Plugin File\r\n[Name]=Spacefold\r\n[Version]=1.0\r\n[Path]={app.path}/Spacefold\r\n"
            "[Description]=x\r\n");
    }
    Places places() const { return Places::decide(programs, QString(), home); }
    QString data(const QString &relative) const { return home + QStringLiteral("/.local/share/zantoria/") + relative; }
};

} // namespace

class TestPlaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modeDecision();
    void readOnlyProgramDirectoryKeepsItsResources();
    void firstStartCopiesWhatShipsAndLaterStartsChangeNothing();
    void appPathNamesTheProgramsInBothModes();
    void dataDirectoryThatCannotBeMade_data();
    void dataDirectoryThatCannotBeMade();
};

void TestPlaces::modeDecision()
{
    QTemporaryDir dir;
    const Places portable = Places::decide(dir.path(), QStringLiteral("/elsewhere"), QStringLiteral("/home/x"));
    QCOMPARE(portable.mode(), Places::Mode::Portable);
    QCOMPARE(portable.dataDir(), dir.path());
    QCOMPARE(portable.resourceDir(), dir.path());

    const Installed installed;
    Places places = installed.places();
    QCOMPARE(places.mode(), Places::Mode::Installed);
    QCOMPARE(places.programDir(), installed.programs);
    QCOMPARE(places.resourceDir(), installed.shared);
    QCOMPARE(places.dataDir(), installed.home + QStringLiteral("/.local/share/zantoria"));
    // XDG_DATA_HOME counts only when absolute.
    places = Places::decide(installed.programs, QStringLiteral("/xdg"), installed.home);
    QCOMPARE(places.dataDir(), QStringLiteral("/xdg/zantoria"));
    places = Places::decide(installed.programs, QStringLiteral("relative/xdg"), installed.home);
    QCOMPARE(places.dataDir(), installed.home + QStringLiteral("/.local/share/zantoria"));
}

void TestPlaces::readOnlyProgramDirectoryKeepsItsResources()
{
    const FullDisk disk(64, FullDisk::Access::ReadOnly);
    if (!disk.available())
        QSKIP("a read-only file system cannot be mounted here (needs root)");
    const Places places = Places::decide(disk.path(), QString(), QStringLiteral("/home/x"));
    QCOMPARE(places.mode(), Places::Mode::Installed);
    QCOMPARE(places.resourceDir(), disk.path());
    QCOMPARE(places.dataDir(), QStringLiteral("/home/x/.local/share/zantoria"));
}

void TestPlaces::firstStartCopiesWhatShipsAndLaterStartsChangeNothing()
{
    const Installed installed;
    const Places places = installed.places();
    QString problem;
    QVERIFY2(places.prepare(&problem), qPrintable(problem));
    QCOMPARE(bytesOf(installed.data(installed.tip)), QByteArray("hello\r\n"));
    QVERIFY(QFileInfo(installed.data(QStringLiteral("Temp"))).isDir());
    QVERIFY(!QFileInfo::exists(installed.data(QStringLiteral("Skin"))));

    // The user changes one file and deletes the other: the next starts
    // leave both so.
    QVERIFY(put(installed.data(installed.tip), "mine\r\n"));
    QVERIFY(QFile::remove(installed.data(installed.plugin)));
    const QByteArray record = bytesOf(installed.data(QLatin1String(Places::kShippedRecord)));
    for (int start = 0; start < 2; ++start)
        QVERIFY(places.prepare(&problem));
    QCOMPARE(bytesOf(installed.data(installed.tip)), QByteArray("mine\r\n"));
    QVERIFY(!QFileInfo::exists(installed.data(installed.plugin)));
    QCOMPARE(bytesOf(installed.data(QLatin1String(Places::kShippedRecord))), record);

    // A sample added by a later version arrives; a file the user made under
    // its name first is kept.
    QVERIFY(put(installed.shared + QStringLiteral("/data/Zantoria秘笈/Words/新.txt"), "new\r\n"));
    QVERIFY(put(installed.shared + QStringLiteral("/data/Zantoria秘笈/Words/旧.txt"), "shipped\r\n"));
    QVERIFY(put(installed.data(QStringLiteral("data/Zantoria秘笈/Words/旧.txt")), "user's\r\n"));
    QVERIFY(places.prepare(&problem));
    QCOMPARE(bytesOf(installed.data(QStringLiteral("data/Zantoria秘笈/Words/新.txt"))), QByteArray("new\r\n"));
    QCOMPARE(bytesOf(installed.data(QStringLiteral("data/Zantoria秘笈/Words/旧.txt"))), QByteArray("user's\r\n"));
    // No temporary file is left anywhere.
    const QStringList words = QDir(installed.data(QStringLiteral("data/Zantoria秘笈/Words"))).entryList(QDir::Files);
    QCOMPARE(words.size(), 3);
}

void TestPlaces::appPathNamesTheProgramsInBothModes()
{
    const Installed installed;
    QTemporaryDir portableDir;
    QVERIFY(put(portableDir.filePath(installed.plugin), bytesOf(installed.shared + u'/' + installed.plugin)));
    const Places installedPlaces = installed.places();
    QVERIFY(installedPlaces.prepare(nullptr));
    for (const Places &places : {installedPlaces, Places::portable(portableDir.path())}) {
        const PluginFile::Parsed parsed = PluginFile::read(places.data(installed.plugin), places.programDir());
        QCOMPARE(parsed.info.Path, places.programDir() + QStringLiteral("/Spacefold"));
    }
}

void TestPlaces::dataDirectoryThatCannotBeMade_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("a file where the directory should be") << QStringLiteral("file");
    QTest::newRow("a read-only home") << QStringLiteral("read-only");
}

void TestPlaces::dataDirectoryThatCannotBeMade()
{
    QFETCH(QString, obstacle);
    const Installed installed;
    const FullDisk readOnlyHome(64, FullDisk::Access::ReadOnly);
    QString home = installed.home;
    if (obstacle == u"file") {
        QVERIFY(put(installed.data(QString()).chopped(1), "in the way"));
    } else {
        if (!readOnlyHome.available())
            QSKIP("a read-only file system cannot be mounted here (needs root)");
        home = readOnlyHome.path();
    }
    QString problem;
    QVERIFY(!Places::decide(installed.programs, QString(), home).prepare(&problem));
    QVERIFY2(problem.contains(QStringLiteral("无法创建数据文件夹")), qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestPlaces)
#include "tst_places.moc"
