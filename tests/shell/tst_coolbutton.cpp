#include "shell/widgets/coolbutton.h"
#include "shell/widgets/panelbox.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestCoolButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickNeedsPressAndReleaseInside();
    void disabledButtonRaisesNoClick();
    void keyboardClicks();
    void hoverThenLeaveRaisesMouseOut();
    void settingAPropertyRepaintsAtOnce_data();
    void settingAPropertyRepaintsAtOnce();
    void drawsNothingOutsideItsRectangle();
    void containerFramesButtonOnePixelOutside();
};

void TestCoolButton::clickNeedsPressAndReleaseInside()
{
    CoolButton button(QStringLiteral("开始"));
    button.resize(80, 24);
    button.show();
    QSignalSpy clicks(&button, &CoolButton::Click);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    QCOMPARE(clicks.count(), 1);
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
}

void TestCoolButton::disabledButtonRaisesNoClick()
{
    CoolButton button(QStringLiteral("压缩"));
    button.resize(80, 24);
    button.show();
    button.setEnabled(false);
    QSignalSpy clicks(&button, &CoolButton::Click);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(&button, Qt::Key_Space);
    QCOMPARE(clicks.count(), 0);
}

void TestCoolButton::keyboardClicks()
{
    CoolButton button(QStringLiteral("OK"));
    button.show();
    QSignalSpy clicks(&button, &CoolButton::Click);
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 2);
}

void TestCoolButton::hoverThenLeaveRaisesMouseOut()
{
    CoolButton button;
    button.resize(80, 24);
    button.show();
    QSignalSpy moves(&button, &CoolButton::MouseMove);
    QSignalSpy outs(&button, &CoolButton::MouseOut);
    QTest::mouseMove(&button, QPoint(5, 5));
    QTRY_VERIFY(moves.count() >= 1);
    QCOMPARE(moves.last().at(2).toInt(), 5);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(outs.count(), 1);
    // A leave without a hover before it raises nothing.
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(outs.count(), 1);
}

void TestCoolButton::settingAPropertyRepaintsAtOnce_data()
{
    QTest::addColumn<int>("property");
    QTest::newRow("ButtonBackColor") << 0;
    QTest::newRow("Caption") << 1;
    QTest::newRow("ButtonIcon") << 2;
    QTest::newRow("Picture") << 3;
    QTest::newRow("Enabled") << 4;
}

void TestCoolButton::settingAPropertyRepaintsAtOnce()
{
    QFETCH(int, property);
    CoolButton button(QStringLiteral("x"));
    button.resize(60, 20);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    PaintCounter counter;
    button.installEventFilter(&counter);
    QPixmap icon(8, 8);
    icon.fill(Qt::red);
    switch (property) {
    case 0: button.setButtonBackColor(QColor(Qt::yellow)); break;
    case 1: button.setCaption(QStringLiteral("y")); break;
    case 2: button.setButtonIcon(icon); break;
    case 3: button.setPicture(icon); break;
    case 4: button.setEnabled(false); break;
    }
    QVERIFY(counter.paints >= 1); // no event loop turn in between
}

void TestCoolButton::drawsNothingOutsideItsRectangle()
{
    PanelBox box;
    box.setBackColor(QColor(10, 200, 10));
    box.resize(100, 60);
    auto *button = new CoolButton(QStringLiteral("按钮"), &box);
    button->setGeometry(20, 20, 60, 20);
    button->setButtonBackColor(QColor(250, 0, 0));
    box.show();
    const QImage shot = box.grab().toImage();
    for (int x = 18; x < 83; ++x) {
        QCOMPARE(shot.pixelColor(x, 19), QColor(10, 200, 10));
        QCOMPARE(shot.pixelColor(x, 40), QColor(10, 200, 10));
    }
    QCOMPARE(shot.pixelColor(19, 30), QColor(10, 200, 10));
    QCOMPARE(shot.pixelColor(80, 30), QColor(10, 200, 10));
}

void TestCoolButton::containerFramesButtonOnePixelOutside()
{
    PanelBox box;
    box.setBackColor(QColor(240, 240, 240));
    box.resize(100, 60);
    auto *button = new CoolButton(QStringLiteral("按钮"), &box);
    button->setGeometry(20, 20, 60, 20);
    box.show();
    DrawBtnBox(&box, button, QColor(49, 106, 197), QColor(192, 210, 238), 0);
    QCOMPARE(button->buttonBackColor(), QColor(192, 210, 238));
    QVERIFY(!button->useBorders());
    const QImage shot = box.grab().toImage();
    const QColor line(49, 106, 197);
    QCOMPARE(shot.pixelColor(19, 19), line);   // (left − 1, top − 1)
    QCOMPARE(shot.pixelColor(80, 40), line);   // (left + width, top + height)
    QCOMPARE(shot.pixelColor(50, 19), line);
    QCOMPARE(shot.pixelColor(19, 30), line);
    QCOMPARE(shot.pixelColor(18, 18), QColor(240, 240, 240));
    DrawBtnBox(&box, button, QColor(177, 177, 177), box.backColor(), 0);
    QCOMPARE(box.grab().toImage().pixelColor(19, 19), QColor(177, 177, 177));
}

QTEST_MAIN(TestCoolButton)
#include "tst_coolbutton.moc"
