// The tool panel on its own, with a window system of fakes: its controls
// and their first state, copy and favourites, and the send loop's timing;
// and inside the main window, acting on the last panel with text.

#include "fakewindowsystem.h"
#include "findcontrol.h"
#include "slowdialogs.h"
#include "scripteddialogs.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include "send/sendrules.h"
#include "send/sendtoolpanel.h"
#include "send/sendtoqq.h"

#include "app/mainwindow.h"
#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"
#include "shell/widgets/contentpanel.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <limits>
#include <memory>

namespace {

const QString kHintTitle = QStringLiteral("『Zantoria』提醒您：）");
const QString kFavourites = QStringLiteral("Data/MyFavor/我的最爱.txt");

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class TestSendToolPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void controlsStartAsBuilt();
    void titleBoxIsAGradientWithItsTitle();
    void everyControlHasAnAccessibleName();
    void fitsBesideTheContentPanels();
    void loopControlsFollowTheBox();
    void scrollBarWritesItsValue();
    void otherTargetsApologiseAndFallBack_data();
    void otherTargetsApologiseAndFallBack();
    void keepOnTopAsksTheWindow();

    void copyTakesTheSelectionOnly();
    void copyThatFailsSaysSo();
    void favouritesAppendAndTellTheLibrary();
    void favouritesThatFailSaySo();

    void sendGoesOnceFromTheTimer();
    void emptySelectionStopsTheLoopAtOnce();
    void loopSendsUntilTheBoxIsCleared();
    void intervalsThatEndTheLoop_data();
    void intervalsThatEndTheLoop();
    void selectionIsReadAtEveryTick();
    void failedSendRestsTheButton();
    void openMessageLetsNoTicksPileUp();
    void nothingElseRunsDuringASend();
    void tickDuringAnotherActionWaitsForIt();

    void actsOnTheLastTextPanelInTheMainWindow();

    void chooseKeepAndClearAWindow();
    void choosingRefuses_data();
    void choosingRefuses();
    void damagedChoiceLeavesTheChatClient();
    void withoutAWindowSystemTheTextIsOnTheClipboard();

private:
    template<typename T>
    T *control(const char *name) const
    {
        return findControl<T>(m_panel.get(), QLatin1String(name));
    }
    void select(const QString &text);
    void sendAndWait();

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    FakeWindowSystem *m_ws = nullptr;
    std::unique_ptr<DisplayArea> m_area;
    std::unique_ptr<SendToolPanel> m_panel;
};

void TestSendToolPanel::initTestCase()
{
    Fonts::installSubstitutions();
}

void TestSendToolPanel::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    QVERIFY(QDir().mkpath(m_dir->file(QStringLiteral("Data/MyFavor"))));
    m_ctx = std::make_unique<TestContext>(m_dir->path());
    auto ws = std::make_unique<FakeWindowSystem>();
    m_ws = ws.get();
    m_ctx->windowSystem = std::move(ws);
    m_ctx->context.windowSystem = m_ws;
    m_area = std::make_unique<DisplayArea>();
    m_ctx->displayArea = m_area.get();
    m_panel = std::make_unique<SendToolPanel>(m_ctx->context);
    m_panel->InitPanelSendTool();
    m_panel->resize(m_panel->width(), 395);
    m_panel->show(); // resizing a shown panel lays it out at once
}

void TestSendToolPanel::cleanup()
{
    m_panel.reset();
    m_area.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestSendToolPanel::select(const QString &text)
{
    m_area->setText(text);
    m_area->selectAll();
}

void TestSendToolPanel::sendAndWait()
{
    m_panel->btnSendMsg_Click();
    QTRY_VERIFY(!m_panel->sendTime()->isActive() || m_panel->sendTime()->interval() > 1);
}

void TestSendToolPanel::controlsStartAsBuilt()
{
    const QChar ideographic(0x3000);
    QCOMPARE(control<CoolButton>("btnSendMsg")->caption(), QStringLiteral("发        送") + QString(2, ideographic));
    QCOMPARE(control<CoolButton>("btnCopyToClipBoard")->caption(), QStringLiteral("复制到剪贴板") + QString(6, ideographic));
    QCOMPARE(control<CoolButton>("btnAddToFav")->caption(), QStringLiteral("添加到我的最爱") + QString(7, ideographic));
    for (const char *button : {"btnSendMsg", "btnCopyToClipBoard", "btnAddToFav"})
        QCOMPARE(m_panel->frameColor(control<CoolButton>(button)), m_ctx->colors.NormLineColor);

    QCOMPARE(control<QGroupBox>("frameSendTo")->title(), QStringLiteral("发送到"));
    QCOMPARE(control<QRadioButton>("OptSendTo0")->text(), QStringLiteral("QQ"));
    QCOMPARE(control<QRadioButton>("OptSendTo1")->text(), QStringLiteral("ICQ"));
    QCOMPARE(control<QRadioButton>("OptSendTo2")->text(), QStringLiteral("MSN"));
    QVERIFY(control<QRadioButton>("OptSendTo0")->isChecked());
    QCOMPARE(control<QGroupBox>("frameSendStyle")->title(), QStringLiteral("发送方式"));
    QCOMPARE(control<QRadioButton>("OptSendStyle0")->text(), QStringLiteral("只粘贴"));
    QCOMPARE(control<QRadioButton>("OptSendStyle1")->text(), QStringLiteral("粘贴并发送"));
    QVERIFY(control<QRadioButton>("OptSendStyle0")->isChecked());
    QCOMPARE(control<QGroupBox>("frameLoop")->title(), QStringLiteral("循环设置"));
    QCOMPARE(control<QCheckBox>("chkLoop")->text(), QStringLiteral("循环发送"));
    QVERIFY(!control<QCheckBox>("chkLoop")->isChecked());
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("间隔："));
    QCOMPARE(control<QLabel>("Label2")->text(), QStringLiteral("秒"));
    QCOMPARE(control<QLineEdit>("vLoopInterval")->text(), QStringLiteral("1"));
    auto *scroll = control<QScrollBar>("VScrollLoop");
    QCOMPARE(scroll->minimum(), 1);
    QCOMPARE(scroll->maximum(), 25);
    QCOMPARE(scroll->value(), 1);
    QCOMPARE(scroll->orientation(), Qt::Vertical);
    for (const char *name : {"Label1", "vLoopInterval", "VScrollLoop", "Label2"})
        QVERIFY2(!m_panel->findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
    QCOMPARE(control<QCheckBox>("chkKeepTop")->text(), QStringLiteral("保持在最上层"));
    QVERIFY(!control<QCheckBox>("chkKeepTop")->isChecked());
    QCOMPARE(control<QCheckBox>("chkCutExtra")->text(), QStringLiteral("文本超长时提醒"));
    QVERIFY(control<QCheckBox>("chkCutExtra")->isChecked());
    QVERIFY(!m_panel->sendTime()->isActive());
    QVERIFY(m_ctx->keepOnTopCalls.isEmpty());
}

void TestSendToolPanel::titleBoxIsAGradientWithItsTitle()
{
    const auto *title = control<SendToolTitle>("panelSendToolTitle");
    const QImage &drawing = title->drawing();
    QCOMPARE(drawing.size(), title->size());
    QCOMPARE(drawing.pixelColor(0, drawing.height() - 1), QColor(157, 190, 236));
    // The last band starts within three pixels of the right edge and is
    // nearly the end colour.
    const QColor right = drawing.pixelColor(drawing.width() - 1, drawing.height() - 1);
    QVERIFY(qAbs(right.red() - 226) <= 2 && qAbs(right.green() - 241) <= 2 && qAbs(right.blue() - 252) <= 2);
    // The title is engraved: its own colour, a dark and a light edge, all
    // inside the box (nothing of it cut off at the sides).
    bool own = false;
    bool dark = false;
    bool light = false;
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            const QColor c = drawing.pixelColor(x, y);
            own = own || c == QColor(113, 50, 116);
            dark = dark || c == Qt::black;
            light = light || c == Qt::white;
        }
    }
    QVERIFY(own && dark && light);
    for (int y = 0; y < drawing.height(); ++y) {
        QVERIFY(drawing.pixelColor(0, y) != QColor(113, 50, 116));
        QVERIFY(drawing.pixelColor(drawing.width() - 1, y) != QColor(113, 50, 116));
    }
}

void TestSendToolPanel::everyControlHasAnAccessibleName()
{
    const QList<QPair<const char *, QString>> names = {
        {"panelSendToolTitle", QStringLiteral("Zantoria Tool Panel")},
        {"btnSendMsg", QStringLiteral("发        送")},
        {"btnCopyToClipBoard", QStringLiteral("复制到剪贴板")},
        {"btnAddToFav", QStringLiteral("添加到我的最爱")},
        {"frameSendTo", QStringLiteral("发送到")},
        {"OptSendTo0", QStringLiteral("QQ")},
        {"OptSendTo1", QStringLiteral("ICQ")},
        {"OptSendTo2", QStringLiteral("MSN")},
        {"frameSendStyle", QStringLiteral("发送方式")},
        {"OptSendStyle0", QStringLiteral("只粘贴")},
        {"OptSendStyle1", QStringLiteral("粘贴并发送")},
        {"frameLoop", QStringLiteral("循环设置")},
        {"chkLoop", QStringLiteral("循环发送")},
        {"Label1", QStringLiteral("间隔：")},
        {"vLoopInterval", QStringLiteral("间隔：")},
        {"VScrollLoop", QStringLiteral("间隔：")},
        {"Label2", QStringLiteral("秒")},
        {"chkKeepTop", QStringLiteral("保持在最上层")},
        {"chkCutExtra", QStringLiteral("文本超长时提醒")},
        {"btnChooseWindow", QStringLiteral("选择窗口…")},
        {"btnClearWindow", QStringLiteral("清除")},
        {"lblChosenWindow", QStringLiteral("所选窗口：（未选择窗口）")},
    };
    for (const auto &[name, expected] : names)
        QCOMPARE(accessibleName(m_panel->findChild<QWidget *>(QLatin1String(name))), expected);
    QCOMPARE(accessibleName(m_panel.get()), QStringLiteral("Zantoria Tool Panel"));
}

void TestSendToolPanel::fitsBesideTheContentPanels()
{
    QVERIFY(m_panel->width() <= 125);
    // Every control lies inside the panel, one below the other, at the
    // height the main window gives and at a taller one.
    for (int height : {395, 520}) {
        m_panel->resize(m_panel->width(), height);
        int lastBottom = -1;
        for (const char *name : {"panelSendToolTitle", "btnSendMsg", "btnCopyToClipBoard", "btnAddToFav",
                                 "frameSendTo", "btnChooseWindow", "lblChosenWindow", "frameSendStyle", "frameLoop", "chkKeepTop", "chkCutExtra"}) {
            const QRect g = m_panel->findChild<QWidget *>(QLatin1String(name))->geometry();
            QVERIFY2(m_panel->rect().contains(g), name);
            QVERIFY2(g.top() > lastBottom, name);
            lastBottom = g.bottom();
        }
        const auto *loop = control<QGroupBox>("frameLoop");
        for (QWidget *w : loop->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(loop->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
}

void TestSendToolPanel::loopControlsFollowTheBox()
{
    auto *loop = control<QCheckBox>("chkLoop");
    loop->click();
    for (const char *name : {"Label1", "vLoopInterval", "VScrollLoop", "Label2"})
        QVERIFY2(m_panel->findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
    loop->click();
    for (const char *name : {"Label1", "vLoopInterval", "VScrollLoop", "Label2"})
        QVERIFY2(!m_panel->findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
}

void TestSendToolPanel::scrollBarWritesItsValue()
{
    auto *scroll = control<QScrollBar>("VScrollLoop");
    scroll->setValue(25);
    QCOMPARE(control<QLineEdit>("vLoopInterval")->text(), QStringLiteral("25"));
    scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(control<QLineEdit>("vLoopInterval")->text(), QStringLiteral("24"));
}

void TestSendToolPanel::otherTargetsApologiseAndFallBack_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("ICQ") << "OptSendTo1";
    QTest::newRow("MSN") << "OptSendTo2";
}

void TestSendToolPanel::otherTargetsApologiseAndFallBack()
{
    QFETCH(QString, option);
    m_panel->findChild<QRadioButton *>(option)->click();
    QVERIFY(control<QRadioButton>("OptSendTo0")->isChecked());
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, QStringLiteral("此版本的程序暂不提供这项功能：O"));
    QCOMPARE(m_ctx->dialogs.shown[0].title, QStringLiteral("对不起啦：)"));
    QCOMPARE(m_ctx->dialogs.shown[0].icon, Dialogs::Icon::Information);
    control<QRadioButton>("OptSendTo0")->click();
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
}

void TestSendToolPanel::keepOnTopAsksTheWindow()
{
    control<QCheckBox>("chkKeepTop")->click();
    control<QCheckBox>("chkKeepTop")->click();
    QCOMPARE(m_ctx->keepOnTopCalls, QList<bool>({true, false}));
}

void TestSendToolPanel::copyTakesTheSelectionOnly()
{
    m_area->setText(QStringLiteral("整个文本"));
    m_ctx->clipboard.contents = QStringLiteral("用户的");
    m_panel->btnCopyToClipBoard_Click();
    QCOMPARE(m_ctx->clipboard.contents, QStringLiteral("用户的"));
    QCOMPARE(m_ctx->clipboard.sets, 0);

    const QString art = QStringLiteral("（＾o＾）\r\n第二行");
    select(art);
    m_panel->btnCopyToClipBoard_Click();
    m_panel->btnCopyToClipBoard_Click();
    QCOMPARE(m_ctx->clipboard.contents, art);
    QCOMPARE(m_ctx->clipboard.sets, 2);
    QVERIFY(m_ctx->dialogs.shown.isEmpty());

    m_ctx->displayArea = nullptr; // no text panel shown yet
    m_panel->btnCopyToClipBoard_Click();
    QCOMPARE(m_ctx->clipboard.sets, 2);
}

void TestSendToolPanel::copyThatFailsSaysSo()
{
    select(QStringLiteral("x"));
    m_ctx->clipboard.refuse = true;
    m_panel->btnCopyToClipBoard_Click();
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].title, QStringLiteral("出错了：（"));
    QCOMPARE(m_ctx->dialogs.shown[0].icon, Dialogs::Icon::Critical);
}

void TestSendToolPanel::favouritesAppendAndTellTheLibrary()
{
    QSignalSpy changed(&m_ctx->context, &PanelContext::favouritesChanged);
    const QString file = m_dir->file(kFavourites);
    m_area->setText(QStringLiteral("未选中"));
    m_panel->btnAddToFav_Click();
    QVERIFY(QFile::exists(file));
    QCOMPARE(QFile(file).size(), 0);

    const QString art = QStringLiteral("★彡\r\nab");
    select(art);
    m_panel->btnAddToFav_Click();
    m_panel->btnAddToFav_Click();
    QString text;
    QVERIFY(TextCodec::readFile(file, &text));
    QCOMPARE(text, art + u"\r\n" + art + u"\r\n");
    QCOMPARE(changed.count(), 3);
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
}

void TestSendToolPanel::favouritesThatFailSaySo()
{
    QSignalSpy changed(&m_ctx->context, &PanelContext::favouritesChanged);
    QVERIFY(QDir(m_dir->file(QStringLiteral("Data/MyFavor"))).removeRecursively());
    select(QStringLiteral("x"));
    m_panel->btnAddToFav_Click();
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text,
             QStringLiteral("在向『我的最爱』中添加文本时出现错误，可能是有其他程序也在使用『我的最爱』对应的文件！"));
    QCOMPARE(m_ctx->dialogs.shown[0].title, QStringLiteral("出错了：（"));
    QCOMPARE(m_ctx->dialogs.shown[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(changed.count(), 0);
}

void TestSendToolPanel::sendGoesOnceFromTheTimer()
{
    m_ws->windows["发送消息"] = 7;
    select(QStringLiteral("你好"));
    m_panel->btnSendMsg_Click();
    QVERIFY(m_ws->sends.empty()); // the timer sends, not the click
    QTRY_COMPARE(m_ws->sends.size(), std::size_t(1));
    QVERIFY(!m_panel->sendTime()->isActive());
    QCOMPARE(QString::fromStdString(m_ws->sends[0].utf8Text), QStringLiteral("你好"));
    QVERIFY(m_ws->sends[0].pasteOnly);
    control<QRadioButton>("OptSendStyle1")->click();
    sendAndWait();
    QCOMPARE(m_ws->sends.size(), std::size_t(2));
    QVERIFY(!m_ws->sends[1].pasteOnly);
}

void TestSendToolPanel::emptySelectionStopsTheLoopAtOnce()
{
    m_ws->windows["发送消息"] = 7;
    m_area->setText(QStringLiteral("没有选中"));
    control<QCheckBox>("chkLoop")->click();
    sendAndWait();
    QTest::qWait(1300);
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, QStringLiteral("不可发送空信息！：O"));
    QVERIFY(!m_panel->sendTime()->isActive());
}

void TestSendToolPanel::loopSendsUntilTheBoxIsCleared()
{
    m_ws->windows["发送消息"] = 7;
    select(QStringLiteral("循环"));
    control<QCheckBox>("chkLoop")->click();
    QElapsedTimer clock;
    clock.start();
    m_panel->btnSendMsg_Click();
    QTRY_COMPARE(m_ws->sends.size(), std::size_t(1));
    QVERIFY(clock.elapsed() < 500);
    QCOMPARE(m_panel->sendTime()->interval(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(m_ws->sends.size(), std::size_t(2), 2000);
    QVERIFY(clock.elapsed() >= 950);
    control<QCheckBox>("chkLoop")->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_ws->sends.size(), std::size_t(3), 2000);
    QVERIFY(!m_panel->sendTime()->isActive());
    QTest::qWait(1200);
    QCOMPARE(m_ws->sends.size(), std::size_t(3));
}

void TestSendToolPanel::intervalsThatEndTheLoop_data()
{
    QTest::addColumn<QString>("interval");
    QTest::addColumn<int>("rearmed"); // 0: not
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("-1") << "-1" << 0;
    QTest::newRow("1e12") << "1e12" << std::numeric_limits<int>::max();
}

void TestSendToolPanel::intervalsThatEndTheLoop()
{
    QFETCH(QString, interval);
    QFETCH(int, rearmed);
    m_ws->windows["发送消息"] = 7;
    select(QStringLiteral("x"));
    control<QCheckBox>("chkLoop")->click();
    control<QLineEdit>("vLoopInterval")->setText(interval);
    m_panel->btnSendMsg_Click();
    QTRY_COMPARE(m_ws->sends.size(), std::size_t(1));
    QCOMPARE(m_panel->sendTime()->isActive(), rearmed != 0);
    if (rearmed)
        QCOMPARE(m_panel->sendTime()->interval(), rearmed);
    QTest::qWait(300);
    QCOMPARE(m_ws->sends.size(), std::size_t(1));
}

void TestSendToolPanel::selectionIsReadAtEveryTick()
{
    m_ws->windows["发送消息"] = 7;
    select(QStringLiteral("第一"));
    control<QCheckBox>("chkLoop")->click();
    control<QLineEdit>("vLoopInterval")->setText(QStringLiteral("0.2"));
    m_ws->onSend = [this] {
        if (m_ws->sends.size() == 1)
            select(QStringLiteral("第二"));
        if (m_ws->sends.size() == 2)
            control<QCheckBox>("chkLoop")->setChecked(false);
    };
    m_panel->btnSendMsg_Click();
    QTRY_COMPARE(m_ws->sends.size(), std::size_t(3));
    QCOMPARE(QString::fromStdString(m_ws->sends[0].utf8Text), QStringLiteral("第一"));
    QCOMPARE(QString::fromStdString(m_ws->sends[1].utf8Text), QStringLiteral("第二"));
    QTRY_VERIFY(!m_panel->sendTime()->isActive());
}

void TestSendToolPanel::failedSendRestsTheButton()
{
    auto *button = control<CoolButton>("btnSendMsg");
    Q_EMIT button->MouseMove(Qt::NoButton, Qt::NoModifier, 1, 1);
    QCOMPARE(m_panel->frameColor(button), m_ctx->colors.HotLineColor);
    control<QCheckBox>("chkLoop")->click();
    select(QStringLiteral("x"));
    m_panel->btnSendMsg_Click(); // no chat window
    QTRY_COMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, QStringLiteral("请先打开QQ聊天窗口！"));
    QCOMPARE(m_panel->frameColor(button), m_ctx->colors.NormLineColor);
    QCOMPARE(button->buttonBackColor(), m_panel->backColor());
    QVERIFY(!m_panel->sendTime()->isActive());
}

void TestSendToolPanel::openMessageLetsNoTicksPileUp()
{
    SlowDialogs slow;
    slow.holdMs = 1500;
    m_ctx->context.dialogs = &slow;
    m_ws->windows["发送消息"] = 7;
    select(QString(300, u'长')); // warns at every tick
    control<QCheckBox>("chkLoop")->click();
    control<QLineEdit>("vLoopInterval")->setText(QStringLiteral("0.1"));
    // The second tick finds the box cleared: it sends, and the loop ends.
    m_ws->onSend = [this] {
        if (m_ws->sends.size() == 1)
            control<QCheckBox>("chkLoop")->setChecked(false);
    };
    m_panel->btnSendMsg_Click();
    QTRY_COMPARE_WITH_TIMEOUT(m_ws->sends.size(), std::size_t(2), 6000);
    QTest::qWait(300);
    QCOMPARE(slow.deepest, 1);
    QCOMPARE(slow.messages.size(), 2);
    QCOMPARE(m_ws->sends.size(), std::size_t(2));
}

void TestSendToolPanel::nothingElseRunsDuringASend()
{
    m_ws->windows["发送消息"] = 7;
    select(QStringLiteral("x"));
    bool busyInside = false;
    m_ws->onSend = [&] {
        busyInside = m_panel->isBusy();
        m_panel->btnCopyToClipBoard_Click();
        m_panel->btnAddToFav_Click();
        m_panel->btnSendMsg_Click();
        m_panel->sendTime_Timer();
    };
    m_panel->btnSendMsg_Click();
    QTRY_COMPARE(m_ws->sends.size(), std::size_t(1));
    QVERIFY(busyInside);
    QVERIFY(!m_panel->isBusy());
    QCOMPARE(m_ctx->clipboard.sets, 0);
    QVERIFY(!QFile::exists(m_dir->file(kFavourites)));
    QVERIFY(!m_panel->sendTime()->isActive());
    QTest::qWait(100);
    QCOMPARE(m_ws->sends.size(), std::size_t(1));
}

void TestSendToolPanel::tickDuringAnotherActionWaitsForIt()
{
    // The copy's error box is still open when the send's tick comes.
    SlowDialogs slow;
    slow.holdMs = 500;
    m_ctx->context.dialogs = &slow;
    m_ctx->clipboard.refuse = true;
    m_ws->windows["发送消息"] = 7;
    select(QStringLiteral("x"));
    control<QCheckBox>("chkLoop")->click();
    control<QLineEdit>("vLoopInterval")->setText(QStringLiteral("25"));
    m_panel->btnSendMsg_Click();
    m_panel->btnCopyToClipBoard_Click();
    QCOMPARE(slow.messages.size(), 1);
    QCOMPARE(m_ws->sends.size(), std::size_t(0));
    QTRY_COMPARE(m_ws->sends.size(), std::size_t(1));
    QVERIFY(control<QCheckBox>("chkLoop")->isChecked());
    QTRY_VERIFY(!m_panel->isBusy());
    QVERIFY(m_panel->sendTime()->isActive());
    QCOMPARE(m_panel->sendTime()->interval(), 25000);
}

void TestSendToolPanel::actsOnTheLastTextPanelInTheMainWindow()
{
    TempProgramDir dir(true);
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("Data/MyFavor"))));
    ScriptedDialogs::install();
    MainWindow window(Places::portable(dir.path()));
    window.Form_Load({});
    SendToolPanel *tool = window.sendToolPanel();
    QVERIFY(tool->width() <= 125);
    QCOMPARE(tool->height(), window.panelMainBox()->height());

    window.btnSysMenu_Click(4);
    DisplayArea *area = window.panBox(4)->displayArea();
    QVERIFY(area);
    const QString art = QStringLiteral("＠＠\r\n..");
    area->setText(art);
    area->selectAll();
    for (int other : {5, 6}) {
        window.btnSysMenu_Click(other);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        tool->btnCopyToClipBoard_Click();
        QCOMPARE(QApplication::clipboard()->text(), art);
        tool->btnAddToFav_Click();
    }
    QString favourites;
    QVERIFY(TextCodec::readFile(dir.file(kFavourites), &favourites));
    QCOMPARE(favourites, art + u"\r\n" + art + u"\r\n");
}

void TestSendToolPanel::chooseKeepAndClearAWindow()
{
    m_ws->windows = {{"发送消息", 3}, {"张三 - 聊天", 5}};
    m_ws->classes[5] = "chatapp";
    m_ws->pointed = platform::PointedWindow{5, 30, 300};
    m_panel->btnChooseWindow_Click();
    QVERIFY(m_panel->isChoosing() && m_panel->isBusy());
    QTest::keyClick(m_panel.get(), Qt::Key_Escape);
    QVERIFY(!m_panel->isChoosing() && !m_panel->isBusy());
    QVERIFY(!m_panel->chosenTarget().isChosen());
    m_panel->btnChooseWindow_Click();
    m_panel->windowPointed(QPoint(400, 500));
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
    const ChosenWindow chosen{"张三 - 聊天", "chatapp", 30, 300};
    QCOMPARE(m_panel->chosenTarget().chosen(), std::optional(chosen));
    auto *label = control<QLabel>("lblChosenWindow");
    QCOMPARE(label->toolTip(), QStringLiteral("张三 - 聊天\n（chatapp）"));
    select(QStringLiteral("你好"));
    sendAndWait();
    QCOMPARE(m_ws->sends.size(), 1u);
    QVERIFY(m_ws->sends[0].target == 5 && m_ws->sends[0].editX == 30 && m_ws->sends[0].editY == 300);

    // Started again: the choice is read back.
    SendToolPanel again(m_ctx->context);
    again.InitPanelSendTool();
    QCOMPARE(again.chosenTarget().chosen(), std::optional(chosen));
    findControl<CoolButton>(&again, QStringLiteral("btnClearWindow"))->Click();
    QVERIFY(!again.chosenTarget().isChosen());
    QVERIFY(!ChosenWindows::load(m_dir->file(QStringLiteral("Data/settings.ini"))));
    QCOMPARE(findControl<QLabel>(&again, QStringLiteral("lblChosenWindow"))->text(), QStringLiteral("（未选择窗口）"));
}

void TestSendToolPanel::choosingRefuses_data()
{
    QTest::addColumn<int>("window"); // -1: none there; 0: this panel's own
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("message");
    QTest::newRow("the bare desktop") << -1 << 10 << QStringLiteral("这里没有可以发送的窗口，请点击聊天窗口中的输入框！");
    QTest::newRow("the title bar") << 5 << -12 << QStringLiteral("这里没有可以发送的窗口，请点击聊天窗口中的输入框！");
    QTest::newRow("our own window") << 0 << 10 << QStringLiteral("不能选择Zantoria自己的窗口，请点击聊天窗口中的输入框！");
    QTest::newRow("closed while choosing") << 9 << 10 << SendToQQTexts::kChosenNotOpen;
}

void TestSendToolPanel::choosingRefuses()
{
    QFETCH(int, window);
    QFETCH(int, y);
    QFETCH(QString, message);
    m_ws->windows = {{"张三 - 聊天", 5}};
    if (window >= 0) {
        const platform::WindowId id = window ? platform::WindowId(window) : m_panel->windowHandle()->winId();
        m_ws->pointed = platform::PointedWindow{id, 10, y};
    }
    m_panel->btnChooseWindow_Click();
    m_panel->windowPointed(QPoint(1, 1));
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, message);
    QVERIFY(!m_panel->chosenTarget().isChosen() && !m_panel->isBusy());
    QVERIFY(!QFile::exists(m_dir->file(QStringLiteral("Data/settings.ini"))));
}

void TestSendToolPanel::damagedChoiceLeavesTheChatClient()
{
    QFile file(m_dir->file(QStringLiteral("Data/settings.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[SendWindow]\ntitle=%E5\nclass=\xff\nx=1\ny=2\n");
    file.close();
    SendToolPanel panel(m_ctx->context);
    panel.InitPanelSendTool();
    QVERIFY(!panel.chosenTarget().isChosen());
    QCOMPARE(findControl<QLabel>(&panel, QStringLiteral("lblChosenWindow"))->text(), QStringLiteral("（未选择窗口）"));
}

void TestSendToolPanel::withoutAWindowSystemTheTextIsOnTheClipboard()
{
    m_ws->available = false;
    control<QCheckBox>("chkLoop")->click();
    select(QStringLiteral("贴上"));
    sendAndWait();
    QVERIFY(!m_panel->sendTime()->isActive());
    QCOMPARE(m_ctx->clipboard.contents, QStringLiteral("贴上"));
    m_panel->btnChooseWindow_Click();
    QVERIFY(!m_panel->isChoosing());
    m_ctx->clipboard.refuse = true;
    sendAndWait();
    QCOMPARE(m_ctx->dialogs.shown.size(), 3);
    QCOMPARE(m_ctx->dialogs.shown[0].text, SendToQQTexts::kOnClipboard);
    QVERIFY(m_ctx->dialogs.shown[1].text.contains(QStringLiteral("Ctrl+V")));
    QCOMPARE(m_ctx->dialogs.shown[2].text, SendToQQTexts::kClipboardFailed);
}

QTEST_MAIN(TestSendToolPanel)
#include "tst_sendtoolpanel.moc"
