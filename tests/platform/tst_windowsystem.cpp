// The X11 backend against real windows of this process on the test display.

#include "platform/windowsystem.h"
#include "processes.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// An X server of the test's own, on a display nobody else uses, with no
// window manager.
class BareServer
{
public:
    BareServer()
        : m_guard(m_process)
    {
        // The server writes the display number it chose to standard output.
        m_process.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                 QStringLiteral("-screen"), QStringLiteral("0"),
                                                 QStringLiteral("320x240x24"), QStringLiteral("-nolisten"),
                                                 QStringLiteral("tcp")});
        QDeadlineTimer deadline(10000);
        while (m_process.state() != QProcess::NotRunning && !m_process.canReadLine() && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
        const QByteArray number = m_process.readLine().trimmed();
        if (!number.isEmpty())
            m_name = ':' + number;
    }

    QByteArray name() const { return m_name; }

private:
    QProcess m_process;
    ProcessGuard m_guard;
    QByteArray m_name;
};

Window titledWindow(Display *display, const char *title, bool overrideRedirect)
{
    XSetWindowAttributes attributes{};
    attributes.override_redirect = overrideRedirect;
    const Window w = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 60, 40, 0, CopyFromParent,
                                   InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    XStoreName(display, w, title);
    return w;
}

bool windowManagerRuns(Display *display)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data) == Success
                       && count == 1;
    if (data)
        XFree(data);
    return found;
}

} // namespace

class TestWindowSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void findsOnlyTheExactTitle();
    void underAWindowManagerOnlyWindowsItTookOverOrShown();
    void withoutAWindowManagerTheRootsChildrenAreLookedAt();
    void minimisesAndRestores();
    void childAtPoint();
    void nullBackendFindsNothing();
    void sendingToAWindowThatWentFindsNoTarget();
};

void TestWindowSystem::initTestCase()
{
    if (!platform::windowSystem().isAvailable())
        QSKIP("needs an X server (DISPLAY)");
}

void TestWindowSystem::findsOnlyTheExactTitle()
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("找窗口 test"));
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto &ws = platform::windowSystem();
    QTRY_VERIFY(ws.findTopLevelWindow("找窗口 test") != 0);
    QCOMPARE(ws.findTopLevelWindow("找窗口"), platform::WindowId(0));
    QCOMPARE(ws.findTopLevelWindow("找窗口 TEST"), platform::WindowId(0));
}

void TestWindowSystem::underAWindowManagerOnlyWindowsItTookOverOrShown()
{
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display);
    if (!windowManagerRuns(display)) {
        XCloseDisplay(display);
        QSKIP("needs a window manager");
    }
    // A window the manager has not taken over (here: never asked to be
    // shown) would lose whatever is asked of it; one that bypasses the
    // manager and is on screen is found.
    titledWindow(display, "not taken over", false);
    const Window popup = titledWindow(display, "on screen by itself", true);
    XMapWindow(display, popup);
    XSync(display, False);
    auto &ws = platform::windowSystem();
    QTRY_COMPARE(ws.findTopLevelWindow("on screen by itself"), platform::WindowId(popup));
    QCOMPARE(ws.findTopLevelWindow("not taken over"), platform::WindowId(0));
    XCloseDisplay(display);
}

void TestWindowSystem::withoutAWindowManagerTheRootsChildrenAreLookedAt()
{
    BareServer server;
    if (server.name().isEmpty())
        QSKIP("Xvfb could not be started");
    Display *display = XOpenDisplay(server.name().constData());
    QVERIFY(display);
    const Window shown = titledWindow(display, "shown without a manager", false);
    XMapWindow(display, shown);
    const Window hidden = titledWindow(display, "not shown", false);
    XSync(display, False);

    const QByteArray previous = qgetenv("DISPLAY");
    qputenv("DISPLAY", server.name());
    auto ws = platform::createNativeWindowSystem();
    qputenv("DISPLAY", previous);
    QVERIFY(ws->isAvailable());
    QCOMPARE(ws->findTopLevelWindow("shown without a manager"), platform::WindowId(shown));
    QCOMPARE(ws->findTopLevelWindow("not shown"), platform::WindowId(hidden));
    ws.reset();
    XCloseDisplay(display);
}

void TestWindowSystem::minimisesAndRestores()
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("restore me"));
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto &ws = platform::windowSystem();
    platform::WindowId id = 0;
    QTRY_VERIFY((id = ws.findTopLevelWindow("restore me")) != 0);
    QVERIFY(ws.minimizeWindow(id));
    QTRY_VERIFY(ws.isMinimized(id));
    QVERIFY(ws.restoreWindow(id));
    QTRY_VERIFY(!ws.isMinimized(id));
    QTRY_VERIFY(!window.isMinimized());
    QVERIFY(ws.setTopMost(id, true));
    QVERIFY(ws.setTopMost(id, false));
}

void TestWindowSystem::childAtPoint()
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("with child"));
    window.resize(200, 100);
    auto *child = new QWidget(&window);
    child->setAttribute(Qt::WA_NativeWindow);
    child->setGeometry(100, 0, 100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto &ws = platform::windowSystem();
    const auto parent = platform::WindowId(window.winId());
    QCOMPARE(ws.childWindowAt(parent, 150, 50), platform::WindowId(child->winId()));
    QCOMPARE(ws.childWindowAt(parent, 10, 50), parent);
}

void TestWindowSystem::nullBackendFindsNothing()
{
    auto null = platform::createNullWindowSystem();
    QVERIFY(!null->isAvailable());
    QCOMPARE(null->findTopLevelWindow("anything"), platform::WindowId(0));
    QVERIFY(!null->restoreWindow(1));
    platform::SendRequest request;
    request.target = 1;
    request.utf8Text = "x";
    request.pasteOnly = false;
    QVERIFY(null->sendText(request) == platform::SendResult::NoTarget);
}

void TestWindowSystem::sendingToAWindowThatWentFindsNoTarget()
{
    platform::WindowId id = 0;
    {
        QWidget window;
        window.setWindowTitle(QStringLiteral("发送消息"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        id = platform::WindowId(window.winId());
    }
    QTest::qWait(100);
    platform::SendRequest request;
    request.target = id;
    request.utf8Text = "不会到";
    QVERIFY(platform::windowSystem().sendText(request) == platform::SendResult::NoTarget);
}

QTEST_MAIN(TestWindowSystem)
#include "tst_windowsystem.moc"
