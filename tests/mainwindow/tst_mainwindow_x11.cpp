// The main window on a real X server with a window manager: keeping it on
// top goes through the window system, and the skin's caption band moves it.

#include "tempprogramdir.h"

#include "shell/core/fonts.h"
#include "app/mainwindow.h"

#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

// True when the window manager lists _NET_WM_STATE_ABOVE for the window.
bool listedAbove(WId window)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, Window(window), state, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success
        && data) {
        const auto *atoms = reinterpret_cast<const Atom *>(data);
        for (unsigned long i = 0; i < count; ++i)
            found = found || atoms[i] == above;
        XFree(data);
    }
    XCloseDisplay(display);
    return found;
}

// Presses the left button at a screen point, drags it by `by` in steps and lets go.
void dragWithThePointer(QPoint from, QPoint by)
{
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display);
    XTestFakeMotionEvent(display, -1, from.x(), from.y(), 0);
    XFlush(display);
    QTest::qWait(100);
    XTestFakeButtonEvent(display, 1, True, 0);
    XFlush(display);
    QTest::qWait(150);
    for (int step = 1; step <= 6; ++step) {
        const QPoint at = from + by * step / 6;
        XTestFakeMotionEvent(display, -1, at.x(), at.y(), 0);
        XFlush(display);
        QTest::qWait(40);
    }
    XTestFakeButtonEvent(display, 1, False, 0);
    XFlush(display);
    QTest::qWait(150);
    XCloseDisplay(display);
}

} // namespace

class TestMainWindowX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void keepOnTopReachesTheWindowManager();
    void captionBandMovesTheWindow();
};

void TestMainWindowX11::keepOnTopReachesTheWindowManager()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs an X server");
    TempProgramDir dir(true);
    MainWindow window(Places::portable(dir.path()));
    window.Form_Load({});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!listedAbove(window.winId()));
    window.setKeepOnTop(true);
    QTRY_VERIFY(listedAbove(window.winId()));
    window.setKeepOnTop(false);
    QTRY_VERIFY(!listedAbove(window.winId()));
}

void TestMainWindowX11::captionBandMovesTheWindow()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs an X server");
    TempProgramDir dir(true);
    MainWindow window(Places::portable(dir.path()));
    window.Form_Load({});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    const QPoint start = window.geometry().topLeft();

    // Three pixels from the top edge is outside the band: nothing moves.
    dragWithThePointer(window.mapToGlobal(QPoint(200, 3)), QPoint(60, 40));
    QCOMPARE(window.geometry().topLeft(), start);

    dragWithThePointer(window.mapToGlobal(QPoint(200, 10)), QPoint(60, 40));
    QTRY_COMPARE(window.geometry().topLeft(), start + QPoint(60, 40));
}

QTEST_MAIN(TestMainWindowX11)
#include "tst_mainwindow_x11.moc"
