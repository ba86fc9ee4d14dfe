// The plug-ins on a real X server with a window manager: a rejected
// description file found while Zantoria loads asks above the splash, and the
// shipped Spacefold entry starts Spacefold.

#include "plugins/pluginpanel.h"

#include "processes.h"
#include "scripteddialogs.h"
#include "tempprogramdir.h"

#include "platform/windowsystem.h"
#include "app/mainwindow.h"
#include "shell/core/fonts.h"
#include "shell/widgets/coolbutton.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <csignal>
#include <vector>

namespace {

const std::string kSpacefoldCaption = "空格压缩器(Spacefold) V1.0 For Zantoria";

// One connection for a test's look at the window manager's view.
class Display_
{
public:
    Display_() : d(XOpenDisplay(nullptr)) {}
    ~Display_()
    {
        if (d)
            XCloseDisplay(d);
    }
    Display *d;

    std::vector<unsigned long> cardinals(Window w, const char *property, Atom type)
    {
        std::vector<unsigned long> out;
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(d, w, XInternAtom(d, property, False), 0, 4096, False, type, &actual, &format,
                               &count, &after, &data)
                == Success
            && data) {
            const auto *values = reinterpret_cast<const unsigned long *>(data);
            out.assign(values, values + count);
            XFree(data);
        }
        return out;
    }

    // Windows as the window manager stacks them, bottom first.
    std::vector<unsigned long> stacking()
    {
        return cardinals(DefaultRootWindow(d), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    }

    bool viewable(Window w)
    {
        XWindowAttributes attributes {};
        return XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable;
    }

    void pressReturn()
    {
        const KeyCode key = XKeysymToKeycode(d, XK_Return);
        XTestFakeKeyEvent(d, key, True, 0);
        XTestFakeKeyEvent(d, key, False, 0);
        XFlush(d);
    }
};

qsizetype stackIndex(const std::vector<unsigned long> &stack, platform::WindowId w)
{
    for (std::size_t i = 0; i < stack.size(); ++i) {
        if (stack[i] == w)
            return qsizetype(i);
    }
    return -1;
}

// Ends a program that was started detached, by its process id.
struct PidGuard
{
    pid_t pid = 0;
    ~PidGuard()
    {
        if (pid > 0)
            ::kill(pid, SIGTERM);
    }
};

} // namespace

class TestPluginsX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void rejectedFileAsksAboveTheSplash();
    void shippedSpacefoldStartsFromTheManager();
};

void TestPluginsX11::rejectedFileAsksAboveTheSplash()
{
    auto &ws = platform::windowSystem();
    if (!ws.isAvailable())
        QSKIP("needs an X server (DISPLAY)");
    QVERIFY2(!ws.findTopLevelWindow("『Zantoria』"), "another Zantoria already runs on this display");

    // A program directory of its own, with one description file that is none.
    TempProgramDir dir(true);
    QVERIFY(QFile::copy(QStringLiteral(ZANTORIA_PROGRAM_DIR "/Zantoria"), dir.file(QStringLiteral("Zantoria"))));
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("Plugin"))));
    QFile broken(dir.file(QStringLiteral("Plugin/Broken.ini")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("[Name]=Broken\r\n");
    broken.close();

    QProcess zantoria;
    zantoria.setProcessChannelMode(QProcess::ForwardedChannels);
    zantoria.start(dir.file(QStringLiteral("Zantoria")), {});
    ProcessGuard guard(zantoria);
    QVERIFY(zantoria.waitForStarted());

    Display_ x;
    QVERIFY(x.d);
    int answered = 0;
    bool hidden = false;
    platform::WindowId main = 0;
    const bool loaded = waitUntil(
        [&] {
            if ((main = ws.findTopLevelWindow("『Zantoria』")) != 0)
                return true;
            const platform::WindowId box = ws.findTopLevelWindow("读取错误：O");
            const platform::WindowId splash = ws.findTopLevelWindow("Zantoria");
            if (!box || !x.viewable(box))
                return false;
            // While it asks, the splash is still up, and the box is above it.
            QTest::qWait(300);
            const auto stack = x.stacking();
            if (!splash || stackIndex(stack, box) <= stackIndex(stack, splash)) {
                hidden = true;
                return false;
            }
            ws.restoreWindow(box);
            QTest::qWait(200);
            x.pressReturn();
            if (waitUntil([&] { return ws.findTopLevelWindow("读取错误：O") != box; }, 5000))
                ++answered;
            return false;
        },
        40000);
    QVERIFY2(!hidden, "a box opened under the splash");
    QVERIFY2(answered >= 1, "no box was answered above the splash");
    QVERIFY2(loaded, "Zantoria never finished loading");
    QVERIFY(main != 0);
    QCOMPARE(zantoria.state(), QProcess::Running);
}

void TestPluginsX11::shippedSpacefoldStartsFromTheManager()
{
    auto &ws = platform::windowSystem();
    if (!ws.isAvailable() || QGuiApplication::platformName() != u"xcb")
        QSKIP("needs an X server (DISPLAY)");
    QVERIFY2(!ws.findTopLevelWindow(kSpacefoldCaption), "another Spacefold already runs on this display");

    // The program directory as unpacked: the shipped description and Spacefold.
    TempProgramDir dir(true);
    QVERIFY(QFileInfo::exists(dir.file(QStringLiteral("Plugin/Spacefold.ini"))));
    const QString spacefold = dir.file(QStringLiteral("Spacefold"));
    QVERIFY(QFile::copy(QStringLiteral(ZANTORIA_PROGRAM_DIR "/Spacefold"), spacefold));

    ScriptedDialogs *dialogs = ScriptedDialogs::install();
    MainWindow window(Places::portable(dir.path()));
    window.Form_Load({});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.btnSysMenu_Click(5);
    auto *panel = qobject_cast<PluginPanel *>(window.panBox(5));
    QVERIFY(panel && panel->isVisible());
    QCOMPARE(panel->listedFiles(), QStringList{QStringLiteral("Spacefold.ini")});
    QCOMPARE(panel->curCJ().Path, spacefold);

    auto *run = panel->findChild<CoolButton *>(QStringLiteral("btnCJ0"));
    QVERIFY(run);
    QTest::mouseClick(run, Qt::LeftButton, {}, run->rect().center());
    platform::WindowId started = 0;
    PidGuard guard;
    Display_ x;
    QVERIFY(x.d);
    QVERIFY2(waitUntil([&] { return (started = ws.findTopLevelWindow(kSpacefoldCaption)) != 0; }, 20000),
             "Spacefold never showed its window");
    const auto pid = x.cardinals(Window(started), "_NET_WM_PID", XA_CARDINAL);
    QVERIFY(!pid.empty());
    guard.pid = pid_t(pid[0]);
    QCOMPARE(QFileInfo(QStringLiteral("/proc/%1/exe").arg(guard.pid)).canonicalFilePath(),
             QFileInfo(spacefold).canonicalFilePath());
    QVERIFY(dialogs->shown.isEmpty());
}

QTEST_MAIN(TestPluginsX11)
#include "tst_plugins_x11.moc"
