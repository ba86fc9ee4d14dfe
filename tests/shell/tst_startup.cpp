#include "fulldisk.h"
#include "scripteddialogs.h"
#include "tempprogramdir.h"

#include "shell/core/fonts.h"
#include "app/mainwindow.h"
#include "shell/widgets/contentpanel.h"
#include "shell/core/programpaths.h"
#include "app/skinframe.h"
#include "app/splashwindow.h"
#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <stdexcept>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void init() { m_dialogs = ScriptedDialogs::install(); }
    void splashStartsWithItsFirstText();
    void loadAnnouncesEveryStepInOrder();
    void loadEndsOnTheTipsLibrary();
    void unexpectedFailureShowsTheFatalReport();
    void skinFailureShowsOnlyTheSkinMessage();
    void startsWhereNoDirectoryCanBeCreated();
    void installedWithoutADataDirectorySaysSoAndEnds_data();
    void installedWithoutADataDirectorySaysSoAndEnds();

private:
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestStartup::splashStartsWithItsFirstText()
{
    SplashWindow splash;
    QCOMPARE(splash.progressText(), QStringLiteral("正在进行初始化..."));
    QCOMPARE(splash.size(), QSize(367, 212));
}

void TestStartup::loadAnnouncesEveryStepInOrder()
{
    TempProgramDir dir(true);
    ProgramPaths::CreateDataDirs(dir.path());
    MainWindow window(Places::portable(dir.path()));
    QStringList shown;
    window.Form_Load([&](const QString &text) { shown << text; });
    const QStringList expected = {
        QStringLiteral("正在初调用[系统皮肤]..."),
        QStringLiteral("正在初始化[系统菜单]..."),
        QStringLiteral("正在初始化[Zantoria Tool]..."),
        QStringLiteral("正在初始化系统[关于]..."),
        QStringLiteral("正在初始化[Zantoria秘笈]..."),
        QStringLiteral("正在初始化[图片磨牙]..."),
        QStringLiteral("正在初始化[艺术文字]..."),
        QStringLiteral("正在初始化[我涂我画]..."),
        QStringLiteral("正在初始化[插件管理]..."),
        QStringLiteral("初始化完毕"),
    };
    QCOMPARE(shown, expected);
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestStartup::loadEndsOnTheTipsLibrary()
{
    TempProgramDir dir(true);
    SplashWindow splash;
    const auto window = Startup::loadMainWindow(Places::portable(dir.path()), splash);
    QCOMPARE(splash.progressText(), QStringLiteral("初始化完毕"));
    QCOMPARE(window->windowTitle(), QStringLiteral("『Zantoria』"));
    QCOMPARE(window->CurPanel(), 1);
    QCOMPARE(window->CurMenu(), 1);
    QVERIFY(!window->panBox(1)->isHidden());
    for (int i = 2; i <= 6; ++i)
        QVERIFY(window->panBox(i)->isHidden());
}

void TestStartup::unexpectedFailureShowsTheFatalReport()
{
    const int status = Startup::guarded([]() -> int { throw std::runtime_error("boom"); });
    QVERIFY(status != 0);
    QCOMPARE(m_dialogs->shown.size(), 1);
    const auto &shown = m_dialogs->shown.first();
    QCOMPARE(shown.kind, QStringLiteral("message"));
    QCOMPARE(shown.title, QStringLiteral("很抱歉，出错了：O"));
    QCOMPARE(shown.text, QStringLiteral("发现未知错误！程序将会自动退出运行。\r\n"
                                        "希望您可以将这个BUG告诉给Morvenna，以便程序的改进，"
                                        "在这里对于您的支持，Morvenna真心的表示感谢！^)^"));
    QCOMPARE(shown.icon, Dialogs::Icon::Information);
}

void TestStartup::skinFailureShowsOnlyTheSkinMessage()
{
    const int status = Startup::guarded([]() -> int { throw SkinError("no skin"); });
    QCOMPARE(status, Startup::kExitSkin);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown.first().title, QStringLiteral("『Zantoria』提醒您：)"));
    QCOMPARE(m_dialogs->shown.first().text,
             QStringLiteral("初始化系统皮肤时出现错误，可能是系统的默认皮肤文件已经被损坏或非法修改。：O\r\n"
                            "建议重新安装『Zantoria』，确认后程序会自动结束。"));
}

void TestStartup::startsWhereNoDirectoryCanBeCreated()
{
    // Files stand where the data directories belong (the skin is in place):
    // no directory can be made, nothing is reported, and loading goes on.
    TempProgramDir dir(true);
    for (const char *name : {"data", "Plugin", "Temp"}) {
        QDir(dir.file(QLatin1String(name))).removeRecursively();
        QFile f(dir.file(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    SplashWindow splash;
    const int status = Startup::guarded([&] {
        const auto window = Startup::loadMainWindow(Places::portable(dir.path()), splash);
        return window->CurPanel() == 1 ? 0 : 3;
    });
    QCOMPARE(status, 0);
    QVERIFY(m_dialogs->shown.isEmpty());
    QVERIFY(QFileInfo(dir.file("data")).isFile());
}

void TestStartup::installedWithoutADataDirectorySaysSoAndEnds_data()
{
    QTest::addColumn<bool>("readOnlyHome");
    QTest::newRow("a file where the directory should be") << false;
    QTest::newRow("a read-only home") << true;
}

void TestStartup::installedWithoutADataDirectorySaysSoAndEnds()
{
    QFETCH(bool, readOnlyHome);
    TempProgramDir dir;
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("usr/lib/zantoria"))));
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("usr/share/zantoria/Skin"))));
    const FullDisk home(64, FullDisk::Access::ReadOnly);
    QString xdg = dir.file(QStringLiteral("xdg"));
    if (readOnlyHome) {
        if (!home.available())
            QSKIP("a read-only file system cannot be mounted here (needs root)");
        xdg = home.path();
    } else {
        QFile blocker(xdg + QStringLiteral("/zantoria"));
        QVERIFY(QDir().mkpath(xdg) && blocker.open(QIODevice::WriteOnly));
    }
    SplashWindow splash;
    QVERIFY(!Startup::loadMainWindow(Places::decide(dir.file(QStringLiteral("usr/lib/zantoria")), xdg, QString()), splash));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown.first().title, Startup::dataDirFailureTitle());
    QVERIFY(m_dialogs->shown.first().text.startsWith(QStringLiteral("无法创建数据文件夹：\r\n") + xdg));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
