// Where files live: the mode decision, the first start of an installed copy
// and the starts after it.

#include "fulldisk.h"

#include "plugins/pluginfile.h"
#include "shell/core/places.h"
#include "shell/core/sessionplatform.h"

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

// An installed tree: programs in usr/lib/zantoria, resources in
// usr/share/zantoria, a home of its own.
struct Installed
{
    QTemporaryDir root;
    QString programs = root.filePath(QStringLiteral("usr/lib/zantoria"));
    QString shared = root.filePath(QStringLiteral("usr/share/zantoria"));
    QString home = root.filePath(QStringLiteral("home"));

    Installed()
    {
        QDir().mkpath(programs);
        QDir().mkpath(shared + QStringLiteral("/Skin/Default"));
        put(shared + QStringLiteral("/data/Zantoria秘笈/Words/问候.txt"), "hello\r\n");
        put(shared + QStringLiteral("/Plugin/Spacefold.ini"),
            "%Zantoria Plugin File\r\n[Name]=Spacefold\r\n[Path]={app.path}/Spacefold\r\n");
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
    void firstStartCopiesWhatShipsAndLaterStartsChangeNothing();
    void appPathNamesTheProgramsInBothModes();
    void platformFollowsTheSession_data();
    void platformFollowsTheSession();
};

void TestPlaces::modeDecision()
{
    QTemporaryDir dir;
    const Places portable = Places::decide(dir.path(), QStringLiteral("/xdg"), QStringLiteral("/home/x"));
    QCOMPARE(portable.mode(), Places::Mode::Portable);
    QCOMPARE(portable.dataDir(), dir.path());
    QCOMPARE(portable.resourceDir(), dir.path());

    const Installed installed;
    const Places places = installed.places();
    QCOMPARE(places.mode(), Places::Mode::Installed);
    QCOMPARE(places.resourceDir(), installed.shared);
    QCOMPARE(places.dataDir(), installed.home + QStringLiteral("/.local/share/zantoria"));
    // XDG_DATA_HOME counts only when absolute.
    QCOMPARE(Places::decide(installed.programs, QStringLiteral("/xdg"), installed.home).dataDir(),
             QStringLiteral("/xdg/zantoria"));
    QCOMPARE(Places::decide(installed.programs, QStringLiteral("xdg"), installed.home).dataDir(), places.dataDir());

    // A program directory nobody may write keeps its resources beside it.
    const FullDisk readOnly(64, FullDisk::Access::ReadOnly);
    if (!readOnly.available())
        QSKIP("a read-only file system cannot be mounted here (needs root)");
    const Places unpacked = Places::decide(readOnly.path(), QString(), QStringLiteral("/home/x"));
    QCOMPARE(unpacked.mode(), Places::Mode::Installed);
    QCOMPARE(unpacked.resourceDir(), readOnly.path());
    QCOMPARE(unpacked.dataDir(), QStringLiteral("/home/x/.local/share/zantoria"));
}

void TestPlaces::firstStartCopiesWhatShipsAndLaterStartsChangeNothing()
{
    const Installed installed;
    const Places places = installed.places();
    const QString tip = installed.data(QStringLiteral("data/Zantoria秘笈/Words/问候.txt"));
    const QString plugin = installed.data(QStringLiteral("Plugin/Spacefold.ini"));
    QVERIFY(places.prepare(nullptr));
    QCOMPARE(bytesOf(tip), QByteArray("hello\r\n"));
    QVERIFY(QFileInfo(plugin).isFile());
    QVERIFY(QFileInfo(installed.data(QStringLiteral("Temp"))).isDir());
    QVERIFY(!QFileInfo::exists(installed.data(QStringLiteral("Skin"))));

    // The user changes one file and deletes the other: later starts leave
    // both so. A sample added by a later version arrives, but never over a
    // file of the user's by that name.
    QVERIFY(put(tip, "mine\r\n"));
    QVERIFY(QFile::remove(plugin));
    QVERIFY(put(installed.shared + QStringLiteral("/data/Zantoria秘笈/Words/新.txt"), "new\r\n"));
    QVERIFY(put(installed.shared + QStringLiteral("/data/Zantoria秘笈/Words/旧.txt"), "shipped\r\n"));
    QVERIFY(put(installed.data(QStringLiteral("data/Zantoria秘笈/Words/旧.txt")), "user's\r\n"));
    for (int start = 0; start < 2; ++start)
        QVERIFY(places.prepare(nullptr));
    QCOMPARE(bytesOf(tip), QByteArray("mine\r\n"));
    QVERIFY(!QFileInfo::exists(plugin));
    QCOMPARE(bytesOf(installed.data(QStringLiteral("data/Zantoria秘笈/Words/新.txt"))), QByteArray("new\r\n"));
    QCOMPARE(bytesOf(installed.data(QStringLiteral("data/Zantoria秘笈/Words/旧.txt"))), QByteArray("user's\r\n"));
    // No temporary file is left behind.
    QCOMPARE(QDir(QFileInfo(tip).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestPlaces::appPathNamesTheProgramsInBothModes()
{
    const Installed installed;
    QVERIFY(installed.places().prepare(nullptr));
    QTemporaryDir portableDir;
    QVERIFY(QFile::copy(installed.shared + QStringLiteral("/Plugin/Spacefold.ini"),
                        portableDir.filePath(QStringLiteral("Spacefold.ini"))));
    for (const auto &[places, file] : {std::pair{installed.places(), installed.data(QStringLiteral("Plugin/Spacefold.ini"))},
                                       std::pair{Places::portable(portableDir.path()),
                                                 portableDir.filePath(QStringLiteral("Spacefold.ini"))}}) {
        const PluginFile::Parsed parsed = PluginFile::read(file, places.programDir());
        QCOMPARE(parsed.info.Path, places.programDir() + QStringLiteral("/Spacefold"));
    }
}

QTEST_GUILESS_MAIN(TestPlaces)
void TestPlaces::platformFollowsTheSession_data()
{
    QTest::addColumn<QByteArray>("qpa");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("session");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("asked");
    const QByteArray x11("xcb;wayland");
    QTest::newRow("Wayland with XWayland") << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray(":0") << x11;
    QTest::newRow("only the socket says Wayland") << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray(":1") << x11;
    QTest::newRow("only the session type, in capitals") << QByteArray() << QByteArray() << QByteArray("Wayland") << QByteArray(":1") << x11;
    QTest::newRow("the user's own choice") << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray(":0") << QByteArray();
    QTest::newRow("Wayland without X11") << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray() << QByteArray();
    QTest::newRow("an X11 session") << QByteArray() << QByteArray() << QByteArray("x11") << QByteArray(":0") << QByteArray();
    QTest::newRow("a blank choice is none") << QByteArray(" ") << QByteArray("wayland-0") << QByteArray() << QByteArray(":0") << x11;
    QTest::newRow("no session at all") << QByteArray() << QByteArray() << QByteArray("tty") << QByteArray() << QByteArray();
}

void TestPlaces::platformFollowsTheSession()
{
    QFETCH(QByteArray, qpa);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, session);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, asked);
    QCOMPARE(SessionPlatform::platformFor({qpa, wayland, session, display}), asked);
}

#include "tst_places.moc"
