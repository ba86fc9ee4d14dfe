// The X11 backend against real windows of this process on the test display.

#include "platform/windowsystem.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

class TestWindowSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void findsOnlyTheExactTitle();
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
