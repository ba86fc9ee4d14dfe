// Sending for real: the tool panel with the X11 window system, against the
// stand-in chat window (a program of its own) under a window manager. What
// arrives is read from the record the chat window keeps.

#include "clipboardowner.h"
#include "findcontrol.h"
#include "processes.h"
#include "slowdialogs.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include "send/chosenwindow.h"
#include "send/sendrules.h"
#include "send/sendtoolpanel.h"
#include "send/sendtoqq.h"

#include "shell/core/fonts.h"
#include "shell/core/sessionplatform.h"
#include "shell/widgets/displayarea.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <functional>
#include <limits>
#include <memory>

namespace {

const QString kNoWindow = QStringLiteral("请先打开QQ聊天窗口！");
const QString kEmpty = QStringLiteral("不可发送空信息！：O");
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

// The chat window as its own process; stopped when the test ends.
class TestChat
{
public:
    explicit TestChat(const QStringList &args = {})
        : m_record(m_dir.filePath(QStringLiteral("record.json")))
        , m_guard(m_process)
    {
        m_process.start(QStringLiteral(ZANTORIA_TESTCHAT), QStringList{QStringLiteral("--record"), m_record} + args);
        m_title = args.contains(QStringLiteral("--conversation")) ? "对话模式" : "发送消息";
        if (const qsizetype t = args.indexOf(QStringLiteral("--title")); t >= 0)
            m_title = args.value(t + 1).toStdString();
        m_args = args;
    }

    // The window is up, the window manager has taken it over and, unless
    // it takes no keyboard, given its box the keyboard.
    bool waitShown(platform::WindowSystem &ws)
    {
        const bool takesFocus = !m_args.contains(QStringLiteral("--nofocus"));
        return waitUntil(
            [&] {
                const bool ready =
                    takesFocus ? record().value(QStringLiteral("ready")).toBool() : QFile::exists(m_record);
                return ready && (m_id = ws.findTopLevelWindow(m_title)) != 0;
            },
            20000);
    }

    platform::WindowId id() const { return m_id; }

    QJsonObject record() const
    {
        QFile file(m_record);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }
    QString box() const { return record().value(QStringLiteral("box")).toString(); }
    QStringList sent() const
    {
        QStringList list;
        for (const QJsonValue &v : record().value(QStringLiteral("sent")).toArray())
            list << v.toString();
        return list;
    }

    void close() { stopProcess(m_process); }

private:
    QTemporaryDir m_dir;
    QString m_record;
    QProcess m_process;
    ProcessGuard m_guard;
    std::string m_title;
    QStringList m_args;
    platform::WindowId m_id = 0;
};

// The real window system, for the panel: it waits longer than a send does
// by default wherever the text is meant to arrive (a loaded machine is
// slow, not deaf), counts the sends and lets a test act as each begins.
class PatientWindowSystem final : public platform::WindowSystem
{
public:
    explicit PatientWindowSystem(platform::WindowSystem &real) : m_real(real) {}

    std::chrono::milliseconds waitLimit{8000};
    int sends = 0;
    std::function<void()> onSend;

    bool isAvailable() const override { return m_real.isAvailable(); }
    platform::WindowId findTopLevelWindow(const std::string &title) override
    {
        return m_real.findTopLevelWindow(title);
    }
    bool restoreWindow(platform::WindowId w) override { return m_real.restoreWindow(w); }
    bool setTopMost(platform::WindowId w, bool topMost) override { return m_real.setTopMost(w, topMost); }
    bool isMinimized(platform::WindowId w) override { return m_real.isMinimized(w); }
    bool minimizeWindow(platform::WindowId w) override { return m_real.minimizeWindow(w); }
    platform::WindowId childWindowAt(platform::WindowId parent, int x, int y) override
    {
        return m_real.childWindowAt(parent, x, y);
    }
    std::vector<platform::WindowInfo> topLevelWindows() override { return m_real.topLevelWindows(); }
    std::optional<platform::WindowInfo> windowInfo(platform::WindowId w) override { return m_real.windowInfo(w); }
    std::optional<platform::PointedWindow> topLevelAt(int x, int y) override { return m_real.topLevelAt(x, y); }
    platform::SendResult sendText(const platform::SendRequest &request) override
    {
        ++sends;
        if (onSend)
            onSend();
        platform::SendRequest patient = request;
        patient.waitLimit = waitLimit;
        return m_real.sendText(patient);
    }

private:
    platform::WindowSystem &m_real;
};

// Changes the clipboard as the user would, until this process owns it
// (`owns`) or not. A program may own the clipboard only with a time later
// than its last owner's, and this test process sees no user input to learn
// the time from: a change to the root window tells it the time first, and
// on a busy machine it may hear of it late.
bool userCopies(const std::function<void(QClipboard *)> &change, bool owns = true)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        Display *display = XOpenDisplay(nullptr);
        const Atom probe = XInternAtom(display, "ZANTORIA_TEST_TIME", False);
        XChangeProperty(display, DefaultRootWindow(display), probe, XA_STRING, 8, PropModeReplace, nullptr, 0);
        XSync(display, False);
        XCloseDisplay(display);
        QTest::qWait(50);
        change(clipboard);
        if (QTest::qWaitFor([&] { return clipboard->ownsClipboard() == owns; }, 1000))
            return true;
    }
    return false;
}

// A chat program's window: any title, the class "chatapp", its edit box
// below its history.
QStringList chatApp(const QString &title)
{
    return {QStringLiteral("--title"), title, QStringLiteral("--class"), QStringLiteral("chatapp"),
            QStringLiteral("--history")};
}

// What the user does with the pointer or the keyboard: a click at a point
// of the screen, or Escape.
void userInput(const QPoint &click, bool escape = false)
{
    Display *display = XOpenDisplay(nullptr);
    const KeyCode key = XKeysymToKeycode(display, XK_Escape);
    if (escape) {
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
    } else {
        XTestFakeMotionEvent(display, -1, click.x(), click.y(), CurrentTime);
        XTestFakeButtonEvent(display, Button1, True, CurrentTime);
        XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    }
    XCloseDisplay(display);
}

// Where the point (x, y) of a window is on the screen.
QPoint onScreen(platform::WindowId window, int x, int y)
{
    Display *display = XOpenDisplay(nullptr);
    int sx = 0;
    int sy = 0;
    Window child = 0;
    XTranslateCoordinates(display, Window(window), DefaultRootWindow(display), x, y, &sx, &sy, &child);
    XCloseDisplay(display);
    return {sx, sy};
}

// How the chat window's editor shows a text with CR LF breaks.
QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class TestSendX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void emptySelectionWithAChatWindow();
    void noChatWindow_data();
    void noChatWindow();
    void length_data();
    void length();
    void messageModeWindowIsTheTarget();
    void conversationModeWindowAlone();
    void pasteOnlyReplacesTheBox();
    void chineseAndFullWidthArriveIntact();
    void clipboardIsGivenBack_data();
    void clipboardIsGivenBack();
    void chatWindowClosedMidLoop();
    void loopEverySecondUntilTheBoxIsCleared();
    void intervalsThatEndTheLoop_data();
    void intervalsThatEndTheLoop();
    void openMessageLetsNoTicksPileUp();
    void windowThatNeverPastesGetsNoReturn();
    void windowThatNeverReadsThePasteGetsNoReturn();
    void keysNeverGoElsewhere();
    void editPointCoveredByOurWindow();

    void chooseByClickThenSend_data();
    void chooseByClickThenSend();
    void ownWindowAndEscape();
    void startedAgainFindsTheWindow();
    void chosenWindowClosedMidLoop();
    void sendInsideWayland();

private:
    // Chooses by a real click at the screen point, and waits for the end.
    void chooseByClick(const QPoint &screen);
    template<typename T>
    T *control(const char *name) const
    {
        return findControl<T>(m_panel.get(), QLatin1String(name));
    }
    void select(const QString &text);
    void pasteAndSend() { control<QRadioButton>("OptSendStyle1")->click(); }
    // Clicks the send button and waits until the tick is over.
    void sendNow();

    // A window that never takes the text or the keyboard is given up on
    // after the send's own wait limit.
    void defaultWaits() { m_ctx->context.windowSystem = m_ws; }

    // The settings are kept here: a new panel on it is Zantoria started again.
    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    platform::WindowSystem *m_ws = nullptr; // the real one, with the send's own limits
    std::unique_ptr<PatientWindowSystem> m_patient;
    std::unique_ptr<DisplayArea> m_area;
    std::unique_ptr<SendToolPanel> m_panel;
};

void TestSendX11::initTestCase()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs an X server with a window manager");
    Fonts::installSubstitutions();
}

void TestSendX11::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    QVERIFY(QDir().mkpath(m_dir->file(QStringLiteral("data"))));
    m_ctx = std::make_unique<TestContext>(m_dir->path());
    m_ctx->windowSystem = platform::createNativeWindowSystem();
    m_ws = m_ctx->windowSystem.get();
    QVERIFY(m_ws->isAvailable());
    m_patient = std::make_unique<PatientWindowSystem>(*m_ws);
    m_ctx->context.windowSystem = m_patient.get();
    m_area = std::make_unique<DisplayArea>();
    m_ctx->displayArea = m_area.get();
    m_panel = std::make_unique<SendToolPanel>(m_ctx->context);
    m_panel->InitPanelSendTool();
}

void TestSendX11::cleanup()
{
    m_panel.reset();
    m_area.reset();
    m_patient.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestSendX11::select(const QString &text)
{
    m_area->setText(text);
    m_area->selectAll();
}

void TestSendX11::sendNow()
{
    m_panel->btnSendMsg_Click();
    const QTimer *timer = m_panel->sendTime();
    QTRY_VERIFY_WITH_TIMEOUT(!m_panel->isBusy() && (!timer->isActive() || timer->interval() > 1), 60000);
}

void TestSendX11::emptySelectionWithAChatWindow()
{
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    m_area->setText(QStringLiteral("没有选中"));
    control<QCheckBox>("chkLoop")->click();
    pasteAndSend();
    sendNow();
    QTest::qWait(1300);
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, kEmpty);
    QVERIFY(!m_panel->sendTime()->isActive());
    QVERIFY(chat.sent().isEmpty());
    QVERIFY(chat.box().isEmpty());
}

void TestSendX11::noChatWindow_data()
{
    QTest::addColumn<QString>("selection");
    QTest::newRow("with a selection") << "x";
    QTest::newRow("nothing selected") << "";
}

void TestSendX11::noChatWindow()
{
    QFETCH(QString, selection);
    select(selection);
    control<QCheckBox>("chkLoop")->click();
    sendNow();
    QTest::qWait(1300);
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, kNoWindow);
    QVERIFY(!m_panel->sendTime()->isActive());
}

void TestSendX11::length_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("warn");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("arrives");
    const QString c250(250, u'字');
    QTest::newRow("250") << c250 << true << QString() << c250;
    QTest::newRow("251") << QString(251, u'字') << true << SendRules::overLongMessage(502) << QString(251, u'字');
    QTest::newRow("600") << QString(600, u'字') << true << SendRules::overLongMessage(1200) << QString(500, u'字');
    QTest::newRow("600 without the warning") << QString(600, u'字') << false << QString() << QString(500, u'字');
    const QString a499(499, u'a');
    QTest::newRow("a pair at 500") << a499 + kEmoji + QString(100, u'b') << true << SendRules::overLongMessage(1202)
                                   << a499;
}

void TestSendX11::length()
{
    QFETCH(QString, text);
    QFETCH(bool, warn);
    QFETCH(QString, message);
    QFETCH(QString, arrives);
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    control<QCheckBox>("chkCutExtra")->setChecked(warn);
    pasteAndSend();
    select(text);
    sendNow();
    QTRY_COMPARE(chat.sent(), QStringList{arrives});
    if (message.isEmpty()) {
        QVERIFY(m_ctx->dialogs.shown.isEmpty());
    } else {
        QCOMPARE(m_ctx->dialogs.shown.size(), 1);
        QCOMPARE(m_ctx->dialogs.shown[0].text, message);
    }
}

void TestSendX11::messageModeWindowIsTheTarget()
{
    TestChat conversation({QStringLiteral("--conversation")});
    TestChat message;
    QVERIFY(conversation.waitShown(*m_ws));
    QVERIFY(message.waitShown(*m_ws));
    pasteAndSend();
    select(QStringLiteral("给发送消息"));
    sendNow();
    QTRY_COMPARE(message.sent(), QStringList{QStringLiteral("给发送消息")});
    QVERIFY(conversation.sent().isEmpty());
    QVERIFY(conversation.box().isEmpty());
}

void TestSendX11::conversationModeWindowAlone()
{
    TestChat conversation({QStringLiteral("--conversation")});
    QVERIFY(conversation.waitShown(*m_ws));
    pasteAndSend();
    select(QStringLiteral("对话"));
    sendNow();
    QTRY_COMPARE(conversation.sent(), QStringList{QStringLiteral("对话")});
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
}

void TestSendX11::pasteOnlyReplacesTheBox()
{
    TestChat chat({QStringLiteral("--box"), QStringLiteral("早先写了一半的话")});
    QVERIFY(chat.waitShown(*m_ws));
    QCOMPARE(chat.box(), QStringLiteral("早先写了一半的话"));
    const QString art = QStringLiteral("  /\\_/\\\r\n ( o.o )");
    select(art);
    sendNow();
    QTRY_COMPARE(chat.box(), asShown(art));
    QTest::qWait(300);
    QVERIFY(chat.sent().isEmpty());
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
}

void TestSendX11::chineseAndFullWidthArriveIntact()
{
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    pasteAndSend();
    const QString text = QStringLiteral("中文　全角！＠＃￥……——「」\r\n第二行€") + kEmoji;
    select(text);
    // The send clicks into the edit box, and puts the pointer back.
    const QPoint pointer(7, 9);
    QCursor::setPos(pointer);
    QTRY_COMPARE(QCursor::pos(), pointer);
    sendNow();
    QTRY_COMPARE(chat.sent(), QStringList{asShown(text)});
    QCOMPARE(QCursor::pos(), pointer);
}

void TestSendX11::clipboardIsGivenBack_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text") << "text";
    QTest::newRow("empty") << "empty";
    QTest::newRow("image") << "image";
    // As a toolkit sends a large text: in pieces.
    QTest::newRow("300 KB from another program") << "pieces";
}

void TestSendX11::clipboardIsGivenBack()
{
    QFETCH(QString, kind);
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    QClipboard *clipboard = QGuiApplication::clipboard();
    QImage picture(12, 7, QImage::Format_ARGB32);
    picture.fill(QColor(200, 30, 90));
    picture.setPixelColor(3, 4, QColor(10, 220, 40));
    const QByteArray large = ClipboardOwner::numberedText(300 * 1000);
    std::unique_ptr<ClipboardOwner> owner;
    if (kind == u"pieces") {
        owner = std::make_unique<ClipboardOwner>(large);
        QVERIFY(owner->owning());
    } else {
        QVERIFY(userCopies(
            [&](QClipboard *c) {
                if (kind == u"text")
                    c->setText(QStringLiteral("用户自己复制的"));
                else if (kind == u"image")
                    c->setImage(picture);
                else
                    c->clear();
            },
            kind != u"empty"));
    }
    pasteAndSend();
    select(QStringLiteral("经过剪贴板"));
    sendNow();
    QTRY_COMPARE(chat.sent(), QStringList{QStringLiteral("经过剪贴板")});
    // The send took the clipboard over; this process hears of it in time.
    QTRY_VERIFY(!clipboard->ownsClipboard());
    if (kind == u"text") {
        QCOMPARE(clipboard->text(), QStringLiteral("用户自己复制的"));
    } else if (kind == u"pieces") {
        QCOMPARE(clipboard->text(), QString::fromUtf8(large));
    } else if (kind == u"image") {
        QCOMPARE(clipboard->image().convertToFormat(QImage::Format_ARGB32), picture);
    } else {
        QVERIFY(clipboard->text().isEmpty());
        const QMimeData *data = clipboard->mimeData();
        QVERIFY(!data || data->formats().isEmpty());
    }
}

void TestSendX11::chatWindowClosedMidLoop()
{
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    pasteAndSend();
    control<QCheckBox>("chkLoop")->click();
    select(QStringLiteral("一次"));
    sendNow();
    // A slow record may show the second send of the loop already.
    QTRY_VERIFY(!chat.sent().isEmpty());
    QCOMPARE(chat.sent().first(), QStringLiteral("一次"));
    QTRY_VERIFY(m_panel->sendTime()->isActive());
    chat.close();
    QTRY_COMPARE_WITH_TIMEOUT(m_ctx->dialogs.shown.size(), 1, 5000);
    QCOMPARE(m_ctx->dialogs.shown[0].text, kNoWindow);
    QTRY_VERIFY(!m_panel->isBusy());
    QVERIFY(!m_panel->sendTime()->isActive());
}

void TestSendX11::loopEverySecondUntilTheBoxIsCleared()
{
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    pasteAndSend();
    control<QCheckBox>("chkLoop")->click();
    QCOMPARE(control<QLineEdit>("vLoopInterval")->text(), QStringLiteral("1"));
    select(QStringLiteral("每秒"));
    // The box is cleared while the second send runs: that tick had read
    // it ticked, so one more send follows, and the loop ends there.
    m_patient->onSend = [this] {
        if (m_patient->sends == 2)
            control<QCheckBox>("chkLoop")->click();
    };
    QElapsedTimer clock;
    clock.start();
    m_panel->btnSendMsg_Click();
    QTRY_VERIFY_WITH_TIMEOUT(chat.sent().size() >= 2, 20000);
    // The second send waited a second after the first (the timer may
    // fire up to 5 % early).
    QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(!m_panel->isBusy() && !m_panel->sendTime()->isActive(), 20000);
    QCOMPARE(m_patient->sends, 3);
    QTRY_COMPARE(chat.sent(), QStringList(3, QStringLiteral("每秒")));
    QTest::qWait(1500);
    QCOMPARE(m_patient->sends, 3);
}

void TestSendX11::intervalsThatEndTheLoop_data()
{
    QTest::addColumn<QString>("interval");
    QTest::newRow("0") << "0";
    QTest::newRow("empty") << "";
    QTest::newRow("-1") << "-1";
    QTest::newRow("1e12") << "1e12";
}

void TestSendX11::intervalsThatEndTheLoop()
{
    QFETCH(QString, interval);
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    pasteAndSend();
    control<QCheckBox>("chkLoop")->click();
    control<QLineEdit>("vLoopInterval")->setText(interval);
    select(QStringLiteral("只一次"));
    sendNow();
    QTRY_COMPARE(chat.sent().size(), 1);
    QTest::qWait(1200);
    QCOMPARE(chat.sent().size(), 1);
    QVERIFY(!m_panel->sendTime()->isActive() || m_panel->sendTime()->interval() == std::numeric_limits<int>::max());
}

void TestSendX11::openMessageLetsNoTicksPileUp()
{
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    SlowDialogs slow;
    slow.holdMs = 1500;
    m_ctx->context.dialogs = &slow;
    pasteAndSend();
    control<QCheckBox>("chkLoop")->click();
    control<QLineEdit>("vLoopInterval")->setText(QStringLiteral("0.2"));
    select(QString(260, u'长')); // each tick warns first
    // The box is cleared while the second warning is open: that tick had
    // read it ticked, so one more tick sends, and the loop ends there.
    slow.onMessage = [&] {
        if (slow.messages.size() == 2)
            control<QCheckBox>("chkLoop")->setChecked(false);
    };
    m_panel->btnSendMsg_Click();
    QTRY_VERIFY_WITH_TIMEOUT(m_patient->sends == 3 && !m_panel->sendTime()->isActive() && !m_panel->isBusy(), 30000);
    QCOMPARE(slow.deepest, 1);
    QCOMPARE(slow.messages.size(), 3);
    QTRY_COMPARE(chat.sent().size(), 3);
    QTest::qWait(500);
    QCOMPARE(m_patient->sends, 3);
}

void TestSendX11::windowThatNeverPastesGetsNoReturn()
{
    TestChat chat({QStringLiteral("--deaf"), QStringLiteral("--box"), QStringLiteral("原样")});
    QVERIFY(chat.waitShown(*m_ws));
    QVERIFY(userCopies([](QClipboard *c) { c->setText(QStringLiteral("留着")); }));
    defaultWaits();
    pasteAndSend();
    select(QStringLiteral("收不到"));
    sendNow();
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, SendToQQTexts::kNotTaken);
    QTest::qWait(300);
    QVERIFY(chat.sent().isEmpty());
    QCOMPARE(chat.box(), QStringLiteral("原样"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("留着"));
}

void TestSendX11::windowThatNeverReadsThePasteGetsNoReturn()
{
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("record"));
    const auto noted = [&] {
        QFile file(record);
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    };
    QProcess chat;
    ProcessGuard guard(chat);
    chat.start(QStringLiteral(ZANTORIA_STUBBORNCHAT), {QStringLiteral("--record"), record});
    QVERIFY(waitUntil([&] { return noted().contains("ready"); }, 20000));
    defaultWaits();
    pasteAndSend();
    select(QStringLiteral("读不到"));
    sendNow();
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, SendToQQTexts::kNotTaken);
    QTest::qWait(300);
    QVERIFY(noted().contains("requested"));
    QVERIFY(!noted().contains("return"));
}

void TestSendX11::keysNeverGoElsewhere()
{
    // The keyboard stays with a witness window, because the target takes
    // none: nothing may be typed into the witness.
    TestChat witness({QStringLiteral("--conversation")});
    QVERIFY(witness.waitShown(*m_ws));
    QVERIFY(m_ws->restoreWindow(witness.id()));
    TestChat target({QStringLiteral("--nofocus")});
    QVERIFY(target.waitShown(*m_ws));
    QVERIFY(m_ws->restoreWindow(witness.id()));
    QTest::qWait(300);
    defaultWaits();
    pasteAndSend();
    select(QStringLiteral("不该出现"));
    sendNow();
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, SendToQQTexts::kNotTaken);
    QTest::qWait(300);
    QVERIFY(witness.sent().isEmpty());
    QVERIFY(witness.box().isEmpty());
    QVERIFY(target.sent().isEmpty());
}

void TestSendX11::editPointCoveredByOurWindow()
{
    TestChat chat;
    QVERIFY(chat.waitShown(*m_ws));
    // Where the edit point is on the screen.
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display);
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, Window(chat.id()), DefaultRootWindow(display), 200, 150, &x, &y, &child);
    XCloseDisplay(display);

    QWidget cover(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    cover.setWindowTitle(QStringLiteral("kept on top"));
    cover.setGeometry(x - 60, y - 60, 120, 120);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    const QPoint pointer(5, 5);
    QCursor::setPos(pointer);
    QTRY_COMPARE(QCursor::pos(), pointer);

    pasteAndSend();
    select(QStringLiteral("盖住了也到"));
    sendNow();
    QTRY_COMPARE(chat.sent(), QStringList{QStringLiteral("盖住了也到")});
    QCOMPARE(QCursor::pos(), pointer);
}

void TestSendX11::chooseByClick(const QPoint &screen)
{
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    m_panel->btnChooseWindow_Click();
    QVERIFY(m_panel->isChoosing());
    QTest::qWait(200); // the grab reaches the server
    userInput(screen);
    QTRY_VERIFY_WITH_TIMEOUT(!m_panel->isChoosing(), 10000);
}

void TestSendX11::chooseByClickThenSend_data()
{
    QTest::addColumn<bool>("pasteOnly");
    QTest::newRow("paste only") << true;
    QTest::newRow("paste and send") << false;
}

void TestSendX11::chooseByClickThenSend()
{
    QFETCH(bool, pasteOnly);
    TestChat chat(chatApp(QStringLiteral("张三 - 聊天")) + QStringList{QStringLiteral("--box"), QStringLiteral("半句")});
    QVERIFY(chat.waitShown(*m_ws));
    chooseByClick(onScreen(chat.id(), 120, 330));
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
    const ChosenWindow chosen{"张三 - 聊天", "chatapp", 120, 330};
    QCOMPARE(m_panel->chosenTarget().chosen(), std::optional(chosen));
    if (!pasteOnly)
        pasteAndSend();
    // The keyboard is in the history: only the click into the box pastes there.
    const QString text = QStringLiteral("你好，张三！　全角＠\r\n第二行") + kEmoji;
    select(text);
    sendNow();
    if (pasteOnly)
        QTRY_COMPARE(chat.box(), asShown(text));
    else
        QTRY_COMPARE(chat.sent(), QStringList{asShown(text)});
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
}

void TestSendX11::ownWindowAndEscape()
{
    TestChat chat(chatApp(QStringLiteral("张三 - 聊天")));
    QVERIFY(chat.waitShown(*m_ws));
    m_panel->show();
    m_panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
    chooseByClick(m_panel->mapToGlobal(QPoint(20, 100)));
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, QStringLiteral("不能选择Zantoria自己的窗口，请点击聊天窗口中的输入框！"));
    m_panel->btnChooseWindow_Click();
    QTest::qWait(200);
    userInput({}, true);
    QTRY_VERIFY(!m_panel->isChoosing());
    QVERIFY(!m_panel->chosenTarget().isChosen());
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
}

void TestSendX11::startedAgainFindsTheWindow()
{
    auto first = std::make_unique<TestChat>(chatApp(QStringLiteral("张三 - 聊天")));
    QVERIFY(first->waitShown(*m_ws));
    chooseByClick(onScreen(first->id(), 200, 330));
    pasteAndSend();
    const auto startAgain = [&] {
        m_panel = std::make_unique<SendToolPanel>(m_ctx->context);
        m_panel->InitPanelSendTool();
        pasteAndSend();
        select(QStringLiteral("又见面了"));
        sendNow();
    };
    startAgain();
    QTRY_COMPARE(first->sent(), QStringList{QStringLiteral("又见面了")});
    QVERIFY(m_ctx->dialogs.shown.isEmpty());

    // Another conversation of the same program, alone: taken, and said.
    first->close();
    TestChat second(chatApp(QStringLiteral("李四 - 聊天")));
    QVERIFY(second.waitShown(*m_ws));
    startAgain();
    QTRY_COMPARE(second.sent(), QStringList{QStringLiteral("又见面了")});
    QCOMPARE(m_ctx->dialogs.shown.size(), 1);
    QCOMPARE(m_ctx->dialogs.shown[0].text, SendToQQTexts::otherTitleUsed("张三 - 聊天", "李四 - 聊天"));

    // Two of them, neither the one chosen: nothing is sent to a guess.
    TestChat third(chatApp(QStringLiteral("王五 - 聊天")));
    QVERIFY(third.waitShown(*m_ws));
    const QString settings = m_dir->file(QStringLiteral("data/settings.ini"));
    QVERIFY(ChosenWindows::save(settings, ChosenWindow{"张三 - 聊天", "chatapp", 200, 330}));
    startAgain();
    QCOMPARE(m_ctx->dialogs.shown.size(), 2);
    QCOMPARE(m_ctx->dialogs.shown[1].text, SendToQQTexts::kChosenNotOpen);
    QTest::qWait(300);
    QCOMPARE(second.sent().size(), 1);
    QVERIFY(third.sent().isEmpty() && third.box().isEmpty());
}

void TestSendX11::chosenWindowClosedMidLoop()
{
    TestChat chat(chatApp(QStringLiteral("张三 - 聊天")));
    QVERIFY(chat.waitShown(*m_ws));
    chooseByClick(onScreen(chat.id(), 200, 330));
    pasteAndSend();
    control<QCheckBox>("chkLoop")->click();
    select(QStringLiteral("一次"));
    sendNow();
    QTRY_VERIFY(!chat.sent().isEmpty());
    QTRY_VERIFY(m_panel->sendTime()->isActive());
    chat.close();
    QTRY_COMPARE_WITH_TIMEOUT(m_ctx->dialogs.shown.size(), 1, 5000);
    QCOMPARE(m_ctx->dialogs.shown[0].text, SendToQQTexts::kChosenNotOpen);
    QTRY_VERIFY(!m_panel->isBusy());
    QVERIFY(!m_panel->sendTime()->isActive());
}

void TestSendX11::sendInsideWayland()
{
    if (qEnvironmentVariableIsEmpty("ZANTORIA_IN_WESTON"))
        QSKIP("runs inside weston (tst_sendinweston)");
    QCOMPARE(SessionPlatform::platformFor({{}, qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"),
                                           qgetenv("DISPLAY")}),
             QByteArray("xcb;wayland"));
    TestChat chat({QStringLiteral("--title"), QStringLiteral("张三 - 聊天"), QStringLiteral("--class"),
                   QStringLiteral("chatapp")});
    QVERIFY(chat.waitShown(*m_ws));
    // Chosen before, found by its class and title.
    QVERIFY(ChosenWindows::save(m_dir->file(QStringLiteral("data/settings.ini")),
                                ChosenWindow{"张三 - 聊天", "chatapp", 200, 150}));
    m_panel = std::make_unique<SendToolPanel>(m_ctx->context);
    m_panel->InitPanelSendTool();
    pasteAndSend();
    select(QStringLiteral("在Wayland里：中文") + kEmoji);
    sendNow();
    QTRY_COMPARE(chat.sent(), QStringList{QStringLiteral("在Wayland里：中文") + kEmoji});
    QVERIFY(m_ctx->dialogs.shown.isEmpty());
}

QTEST_MAIN(TestSendX11)
#include "tst_sendx11.moc"
