#include "send/sendtoolpanel.h"

#include "send/favourites.h"
#include "send/sendtoqq.h"
#include "send/sendrules.h"

#include "shell/core/clipboard.h"
#include "shell/core/colorscheme.h"
#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/panelcontext.h"

#include "platform/windowsystem.h"
#include "shell/core/sessionplatform.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace {

// The panel is as wide as the content area leaves beside the 417-pixel
// panels of this skin (670 − 4 − 4 − 110 − 5 − 417 − 5).
constexpr int kPanelWidth = 125;
constexpr int kTitleHeight = 24;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 6;
constexpr int kRow = 18;
constexpr int kFrameCaption = 16;
constexpr int kSide = 3;

const QString kTitle = QStringLiteral("Zantoria Tool Panel");
constexpr double kTitleFontSize = 10.5;
constexpr double kSmallestTitleSize = 6;

const QString kSorryTitle = QStringLiteral("对不起啦：)");
const QString kNotInThisVersion = QStringLiteral("此版本的程序暂不提供这项功能：O");

// How soon a tick that found another action of the panel running tries again.
constexpr int kBusyRetryMs = 100;

// Choosing a window ends by itself after this long without a click: in a
// Wayland session a click into a native Wayland window never reaches us.
constexpr int kChooseLimitMs = 60000;
constexpr int kChooserHeight = 20;
constexpr int kChosenLabelHeight = 16;
constexpr int kClearWidth = 34;

const QString kSettingsFile = QStringLiteral("\\Data\\settings.ini");
const QString kNothingChosen = QStringLiteral("（未选择窗口）");
const QString kChoosingHint = QStringLiteral("点输入框，Esc取消");
const QString kChoosingTip = QStringLiteral("请点击聊天窗口中的输入框；按Esc取消");
const QString kChosenName = QStringLiteral("所选窗口：");
const QString kCannotChoose = QStringLiteral(
    "这里没有可用的X11显示，无法选择窗口。发送时文本会放到剪贴板上，请在聊天窗口中按Ctrl+V粘贴！");
const QString kNothingThere = QStringLiteral("这里没有可以发送的窗口，请点击聊天窗口中的输入框！");
const QString kOwnWindow = QStringLiteral("不能选择Zantoria自己的窗口，请点击聊天窗口中的输入框！");
const QString kNoClick = QStringLiteral("没有点击任何窗口，选择已取消。");
const QString kNoClickWayland = QStringLiteral(
    "没有点击到可以选择的窗口，选择已取消。原生Wayland窗口不能通过X11选择：请直接在聊天窗口中粘贴（Ctrl+V）。");
const QString kChoiceNotKept = QStringLiteral("保存所选的窗口时出现错误，下次启动后需要重新选择：（");

// Holds the flag for the time of a handler, also when it returns early.
class BusyScope
{
public:
    explicit BusyScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_flag;
};

template<typename Control>
Control *named(Control *control, const QString &name)
{
    control->setObjectName(name);
    return control;
}

} // namespace

void SendToolTitle::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ensureDrawn();
}

void SendToolTitle::paintEvent(QPaintEvent *)
{
    ensureDrawn();
    QPainter p(this);
    p.drawImage(0, 0, m_drawing);
}

void SendToolTitle::ensureDrawn()
{
    if (width() <= 0 || height() <= 0 || m_drawing.size() == size())
        return;
    m_drawing = QImage(size(), QImage::Format_RGB32);
    QPainter p(&m_drawing);
    // The colours are given blue, red, green, as the gradient takes them.
    DrawGradient(GradColor{236, 157, 190}, GradColor{252, 226, 241}, p, QStringLiteral("h"));
    // The title is printed in the box's own face and size, unless that is
    // wider than the box: then a pixel smaller at a time, never clipped.
    // It is measured as the engraving prints it (unhinted, unsmoothed).
    const auto printed = [](double points) {
        QFont font(Fonts::kSongTi);
        font.setPixelSize(int(std::lround(points * 4.0 / 3.0)));
        font.setStyleStrategy(QFont::NoAntialias);
        return QFontMetrics(font);
    };
    double points = kTitleFontSize;
    while (points > kSmallestTitleSize && printed(points).horizontalAdvance(kTitle) > width() - 8)
        points -= 0.75;
    p.setFont(Fonts::crispFont(Fonts::kSongTi, points));
    const QFontMetrics metrics = printed(points);
    const int x = int(std::lround((width() - metrics.horizontalAdvance(kTitle)) / 2.0 + 1));
    const int y = int(std::lround((height() - metrics.height()) / 2.0 - 4));
    PrintTextFont(kTitle, x, y, 1, RGB(113, 50, 116), 0, p, Fonts::kSongTi, points);
    update();
}

SendToolPanel::SendToolPanel(PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
    setAccessibleName(kTitle);
    buildControls();
    connectControls();
}

void SendToolPanel::buildControls()
{
    panelSendToolTitle = named(new SendToolTitle(this), QStringLiteral("panelSendToolTitle"));
    panelSendToolTitle->setAccessibleName(kTitle);
    panelSendToolTitle->setToolTip(kTitle);

    btnSendMsg = named(new CoolButton(QStringLiteral("发        送"), this), QStringLiteral("btnSendMsg"));
    btnCopyToClipBoard = named(new CoolButton(QStringLiteral("复制到剪贴板"), this), QStringLiteral("btnCopyToClipBoard"));
    btnAddToFav = named(new CoolButton(QStringLiteral("添加到我的最爱"), this), QStringLiteral("btnAddToFav"));

    frameSendTo = named(new QGroupBox(QStringLiteral("发送到"), this), QStringLiteral("frameSendTo"));
    const char *targets[3] = {"QQ", "ICQ", "MSN"};
    for (int i = 0; i < 3; ++i)
        OptSendTo[i] = named(new QRadioButton(QString::fromLatin1(targets[i]), frameSendTo),
                             QStringLiteral("OptSendTo%1").arg(i));

    frameSendStyle = named(new QGroupBox(QStringLiteral("发送方式"), this), QStringLiteral("frameSendStyle"));
    OptSendStyle[0] = named(new QRadioButton(QStringLiteral("只粘贴"), frameSendStyle), QStringLiteral("OptSendStyle0"));
    OptSendStyle[1] = named(new QRadioButton(QStringLiteral("粘贴并发送"), frameSendStyle),
                            QStringLiteral("OptSendStyle1"));

    frameLoop = named(new QGroupBox(QStringLiteral("循环设置"), this), QStringLiteral("frameLoop"));
    chkLoop = named(new QCheckBox(QStringLiteral("循环发送"), frameLoop), QStringLiteral("chkLoop"));
    Label1 = named(new QLabel(QStringLiteral("间隔："), frameLoop), QStringLiteral("Label1"));
    vLoopInterval = named(new QLineEdit(frameLoop), QStringLiteral("vLoopInterval"));
    vLoopInterval->setAccessibleName(Label1->text());
    vLoopInterval->setToolTip(QStringLiteral("循环发送的间隔，单位是秒"));
    Label1->setBuddy(vLoopInterval);
    VScrollLoop = named(new QScrollBar(Qt::Vertical, frameLoop), QStringLiteral("VScrollLoop"));
    VScrollLoop->setRange(1, 25);
    VScrollLoop->setPageStep(1);
    VScrollLoop->setAccessibleName(Label1->text());
    Label2 = named(new QLabel(QStringLiteral("秒"), frameLoop), QStringLiteral("Label2"));

    chkKeepTop = named(new QCheckBox(QStringLiteral("保持在最上层"), this), QStringLiteral("chkKeepTop"));
    chkCutExtra = named(new QCheckBox(QStringLiteral("文本超长时提醒"), this), QStringLiteral("chkCutExtra"));

    btnChooseWindow = named(new CoolButton(QStringLiteral("选择窗口…"), this), QStringLiteral("btnChooseWindow"));
    btnChooseWindow->setToolTip(QStringLiteral("点这里，再点击聊天窗口中的输入框：以后发送到这个窗口"));
    btnClearWindow = named(new CoolButton(QStringLiteral("清除"), this), QStringLiteral("btnClearWindow"));
    btnClearWindow->setToolTip(QStringLiteral("清除所选的窗口，发送回到QQ聊天窗口"));
    lblChosenWindow = named(new QLabel(kNothingChosen, this), QStringLiteral("lblChosenWindow"));

    m_sendTime = new QTimer(this);
    m_sendTime->setObjectName(QStringLiteral("sendTime"));
    m_chooseLimit = new QTimer(this);
    m_chooseLimit->setSingleShot(true);
}

void SendToolPanel::connectControls()
{
    connect(btnSendMsg, &CoolButton::Click, this, &SendToolPanel::btnSendMsg_Click);
    connect(btnCopyToClipBoard, &CoolButton::Click, this, &SendToolPanel::btnCopyToClipBoard_Click);
    connect(btnAddToFav, &CoolButton::Click, this, &SendToolPanel::btnAddToFav_Click);
    for (int i = 0; i < 3; ++i) {
        connect(OptSendTo[i], &QRadioButton::clicked, this, [this, i] { OptSendTo_Click(i); });
    }
    connect(chkLoop, &QCheckBox::toggled, this, &SendToolPanel::chkLoop_Click);
    connect(VScrollLoop, &QScrollBar::valueChanged, this, &SendToolPanel::VScrollLoop_Change);
    connect(chkKeepTop, &QCheckBox::toggled, this, &SendToolPanel::chkKeepTop_Click);
    connect(m_sendTime, &QTimer::timeout, this, &SendToolPanel::sendTime_Timer);
    connect(btnChooseWindow, &CoolButton::Click, this, &SendToolPanel::btnChooseWindow_Click);
    connect(btnClearWindow, &CoolButton::Click, this, &SendToolPanel::btnClearWindow_Click);
    connect(m_chooseLimit, &QTimer::timeout, this, [this] {
        if (!m_choosing)
            return;
        endChoosing();
        BusyScope busy(m_busy);
        const bool wayland = SessionPlatform::isWaylandSession(SessionPlatform::current());
        m_context.dialogs->message(wayland ? kNoClickWayland : kNoClick, Strings::kHintTitle,
                                   Dialogs::Icon::Information);
    });
}

void SendToolPanel::InitPanelSendTool()
{
    const ColorScheme &colors = *m_context.colors;
    for (QWidget *w : std::initializer_list<QWidget *>{OptSendStyle[0], OptSendStyle[1], OptSendTo[0], OptSendTo[1],
                                                      OptSendTo[2]})
        letBackColor(w, colors);
    resize(kPanelWidth, height());
    for (QWidget *w : std::initializer_list<QWidget *>{frameSendTo, this, frameSendStyle, frameLoop, chkLoop})
        letBackColor(w, colors);

    chkLoop->setChecked(false);
    vLoopInterval->setText(QStringLiteral("1"));
    VScrollLoop->setValue(1);
    enabledLoop(false);

    letBackColor(chkKeepTop, colors);
    letBackColor(chkCutExtra, colors);
    chkKeepTop->setChecked(false);
    chkCutExtra->setChecked(true);
    OptSendTo[0]->setChecked(true);
    OptSendStyle[0]->setChecked(true);

    for (CoolButton *button : {btnSendMsg, btnCopyToClipBoard, btnAddToFav})
        FixCaption(*button);
    letBackColor(lblChosenWindow, colors);
    layoutControls();
    for (CoolButton *button : {btnSendMsg, btnCopyToClipBoard, btnAddToFav, btnChooseWindow, btnClearWindow})
        wireHoverFrame(this, button, colors);

    m_sendTime->stop();
    m_sendTime->setInterval(0);

    m_chosen = ChosenTarget(m_context.places.data(kSettingsFile));
    m_chosen.load();
    showChosen();
}

void SendToolPanel::resizeEvent(QResizeEvent *event)
{
    PanelBox::resizeEvent(event);
    layoutControls();
}

// From the top: the title, the three buttons, the targets with the chosen
// window below them, the two other frames and the two options; what height
// the window gives beyond their own is shared out between the groups, so
// the panel fills its column evenly.
void SendToolPanel::layoutControls()
{
    const int w = width();
    const int inner = w - 2 * kSide;
    const int sendToHeight = kFrameCaption + 3 * kRow + 4;
    const int chooserHeight = kChooserHeight + 1 + kChosenLabelHeight;
    const int styleHeight = kFrameCaption + 2 * kRow + 4;
    const int loopHeight = kFrameCaption + 2 * kRow + 12;
    const int optionsHeight = 2 * kRow + 2;
    const int buttonsHeight = 3 * kButtonHeight + 2 * kButtonGap;
    const int fixed =
        kTitleHeight + buttonsHeight + sendToHeight + chooserHeight + styleHeight + loopHeight + optionsHeight;
    // Seven gaps; at the main window's height they are narrow.
    const int gap = std::max(2, (height() - fixed) / 7);

    int top = 0;
    panelSendToolTitle->setGeometry(0, top, w, kTitleHeight);
    panelSendToolTitle->ensureDrawn();
    top += kTitleHeight + gap;
    for (CoolButton *button : {btnSendMsg, btnCopyToClipBoard, btnAddToFav}) {
        button->setGeometry(kSide + 3, top, inner - 6, kButtonHeight);
        top += kButtonHeight + kButtonGap;
    }
    top += gap - kButtonGap;

    frameSendTo->setGeometry(kSide, top, inner, sendToHeight);
    for (int i = 0; i < 3; ++i)
        OptSendTo[i]->setGeometry(10, kFrameCaption + i * kRow, inner - 14, kRow);
    top += sendToHeight + gap;

    btnChooseWindow->setGeometry(kSide + 3, top, inner - 6 - kClearWidth - 4, kChooserHeight);
    btnClearWindow->setGeometry(w - kSide - 3 - kClearWidth, top, kClearWidth, kChooserHeight);
    lblChosenWindow->setGeometry(kSide + 3, top + kChooserHeight + 1, inner - 6, kChosenLabelHeight);
    showChosen();
    top += chooserHeight + gap;

    frameSendStyle->setGeometry(kSide, top, inner, styleHeight);
    for (int i = 0; i < 2; ++i)
        OptSendStyle[i]->setGeometry(10, kFrameCaption + i * kRow, inner - 14, kRow);
    top += styleHeight + gap;

    frameLoop->setGeometry(kSide, top, inner, loopHeight);
    chkLoop->setGeometry(10, kFrameCaption, inner - 14, kRow);
    const int rowTop = kFrameCaption + kRow + 4;
    const int labelWidth = QFontMetrics(Label1->font()).horizontalAdvance(Label1->text()) + 2;
    Label1->setGeometry(8, rowTop, labelWidth, 20);
    vLoopInterval->setGeometry(8 + labelWidth, rowTop, 34, 20);
    VScrollLoop->setGeometry(vLoopInterval->geometry().right() + 1, rowTop, 16, 20);
    Label2->setGeometry(VScrollLoop->geometry().right() + 4, rowTop,
                        QFontMetrics(Label2->font()).horizontalAdvance(Label2->text()) + 2, 20);
    top += loopHeight + gap;

    chkKeepTop->setGeometry(kSide + 4, top, inner - 4, kRow);
    chkCutExtra->setGeometry(kSide + 4, top + kRow + 2, inner - 4, kRow);
}

// The chosen window's title, cut to fit, the whole of it in the tooltip.
void SendToolPanel::showChosen()
{
    if (m_choosing)
        return;
    const auto &chosen = m_chosen.chosen();
    btnClearWindow->setEnabled(chosen.has_value());
    if (!chosen) {
        lblChosenWindow->setText(kNothingChosen);
        lblChosenWindow->setToolTip(QStringLiteral("发送到QQ聊天窗口（“发送消息”或“对话模式”）"));
        lblChosenWindow->setAccessibleName(kChosenName + kNothingChosen);
        return;
    }
    const QString title = QString::fromUtf8(chosen->title);
    const QFontMetrics metrics(lblChosenWindow->font());
    lblChosenWindow->setText(metrics.elidedText(title, Qt::ElideRight, std::max(0, lblChosenWindow->width())));
    lblChosenWindow->setToolTip(title + QStringLiteral("\n（") + QString::fromUtf8(chosen->windowClass)
                                + QStringLiteral("）"));
    lblChosenWindow->setAccessibleName(kChosenName + title);
}

void SendToolPanel::enabledLoop(bool flag)
{
    for (QWidget *w : std::initializer_list<QWidget *>{vLoopInterval, VScrollLoop, Label1, Label2})
        w->setEnabled(flag);
}

QString SendToolPanel::selectedText() const
{
    const DisplayArea *area = m_context.currentDisplayArea();
    return area ? area->selectedText() : QString();
}

int SendToolPanel::sendTarget() const
{
    int target = 0;
    for (int i = 0; i < 3; ++i) {
        if (OptSendTo[i]->isChecked())
            target = i;
    }
    return target;
}

void SendToolPanel::btnSendMsg_Click()
{
    if (m_busy)
        return;
    // A new send: its first tick decides where it goes.
    m_loopChosen.reset();
    m_pinned.reset();
    // The first send comes almost at once, from the timer like every other.
    m_sendTime->start(1);
}

void SendToolPanel::sendTime_Timer()
{
    // A tick is never entered twice: the timer rests while a send runs, so a
    // message box left open holds the loop instead of piling up ticks.
    m_sendTime->stop();
    if (m_busy) {
        // Another action of the panel runs (its message box may be open):
        // the send comes once it is over, instead of the loop ending unseen.
        m_sendTime->start(kBusyRetryMs);
        return;
    }
    BusyScope busy(m_busy);
    const QString text = selectedText();
    const bool pasteOnly = OptSendStyle[0]->isChecked();
    // 0 ends the loop after this tick.
    const int next = chkLoop->isChecked() ? SendRules::loopIntervalMs(vLoopInterval->text()).value_or(0) : 0;
    const bool warn = chkCutExtra->isChecked();
    Dialogs &dialogs = *m_context.dialogs;
    platform::WindowSystem &ws = *m_context.windowSystem;
    if (!m_loopChosen)
        m_loopChosen = m_chosen.isChosen();
    bool sent = true;
    if (sendTarget() == 0) {
        if (!ws.isAvailable())
            sent = SendThroughClipboard(text, warn, dialogs, m_context.clipboard);
        else if (*m_loopChosen)
            sent = SendToChosen(text, pasteOnly, warn, dialogs, ws, m_chosen, m_pinned);
        else
            sent = SendToQQ(text, pasteOnly, warn, dialogs, ws);
    }
    // A new choice made during the send shows once it is over.
    showChosen();
    // This tick decides what follows, whatever was refused meanwhile.
    m_sendTime->stop();
    if (!sent) {
        restHoverFrame(this, btnSendMsg, *m_context.colors);
        return;
    }
    if (next > 0)
        m_sendTime->start(next);
}

void SendToolPanel::btnCopyToClipBoard_Click()
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    const QString text = selectedText();
    if (text.isEmpty())
        return;
    if (!m_context.clipboard || !m_context.clipboard->setText(text))
        m_context.dialogs->message(Strings::kCopyFailed, Strings::kCopyFailedTitle, Dialogs::Icon::Critical);
}

void SendToolPanel::btnAddToFav_Click()
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    if (!Favourites::add(m_context.places.dataDir(), selectedText())) {
        m_context.dialogs->message(Favourites::kAddFailed, Favourites::kAddFailedTitle, Dialogs::Icon::Critical);
        return;
    }
    m_context.notifyFavouritesChanged();
}

void SendToolPanel::OptSendTo_Click(int index)
{
    if (index != 1 && index != 2)
        return;
    if (!m_busy) {
        BusyScope busy(m_busy);
        m_context.dialogs->message(kNotInThisVersion, kSorryTitle, Dialogs::Icon::Information);
    }
    OptSendTo[0]->setChecked(true);
}

void SendToolPanel::chkLoop_Click()
{
    // Only the controls follow; a running loop ends at its next tick.
    enabledLoop(chkLoop->isChecked());
}

void SendToolPanel::VScrollLoop_Change()
{
    vLoopInterval->setText(QString::number(VScrollLoop->value()));
}

void SendToolPanel::chkKeepTop_Click()
{
    if (m_context.keepOnTop)
        m_context.keepOnTop(chkKeepTop->isChecked());
}

void SendToolPanel::btnChooseWindow_Click()
{
    if (m_busy)
        return;
    if (!m_context.windowSystem->isAvailable()) {
        BusyScope busy(m_busy);
        m_context.dialogs->message(kCannotChoose, Strings::kHintTitle, Dialogs::Icon::Information);
        return;
    }
    // Every other action of the panel waits (a tick of the loop too) until
    // the click or Escape.
    m_busy = true;
    m_choosing = true;
    restHoverFrame(this, btnChooseWindow, *m_context.colors);
    lblChosenWindow->setText(kChoosingHint);
    lblChosenWindow->setToolTip(kChoosingTip);
    grabMouse(Qt::CrossCursor);
    grabKeyboard();
    m_chooseLimit->start(kChooseLimitMs);
}

void SendToolPanel::endChoosing()
{
    releaseKeyboard();
    releaseMouse();
    m_chooseLimit->stop();
    m_choosing = false;
    m_busy = false;
    showChosen();
}

void SendToolPanel::cancelChoosing()
{
    if (m_choosing)
        endChoosing();
}

bool SendToolPanel::isOwnWindow(platform::WindowId window) const
{
    for (QWindow *own : QGuiApplication::topLevelWindows()) {
        if (own->handle() && platform::WindowId(own->winId()) == window)
            return true;
    }
    return false;
}

void SendToolPanel::windowPointed(const QPoint &screenPoint)
{
    if (!m_choosing)
        return;
    endChoosing();
    BusyScope busy(m_busy);
    platform::WindowSystem &ws = *m_context.windowSystem;
    const auto tell = [&](const QString &message) {
        m_context.dialogs->message(message, Strings::kHintTitle, Dialogs::Icon::Information);
    };
    const auto pointed = ws.topLevelAt(screenPoint.x(), screenPoint.y());
    if (!pointed || pointed->x < 0 || pointed->y < 0 || pointed->x > ChosenWindows::kMaxCoordinate
        || pointed->y > ChosenWindows::kMaxCoordinate) {
        tell(kNothingThere);
        return;
    }
    if (isOwnWindow(pointed->window)) {
        tell(kOwnWindow);
        return;
    }
    // Closed the moment it was clicked: nothing of it can be kept.
    const auto info = ws.windowInfo(pointed->window);
    if (!info) {
        tell(SendToQQTexts::kChosenNotOpen);
        return;
    }
    const bool kept = m_chosen.choose(*info, pointed->x, pointed->y);
    showChosen();
    if (!kept)
        m_context.dialogs->message(kChoiceNotKept, Strings::kCopyFailedTitle, Dialogs::Icon::Critical);
}

void SendToolPanel::btnClearWindow_Click()
{
    if (m_busy || !m_chosen.isChosen())
        return;
    BusyScope busy(m_busy);
    const bool kept = m_chosen.clear();
    showChosen();
    if (!kept)
        m_context.dialogs->message(kChoiceNotKept, Strings::kCopyFailedTitle, Dialogs::Icon::Critical);
}

void SendToolPanel::mousePressEvent(QMouseEvent *event)
{
    if (!m_choosing) {
        PanelBox::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        cancelChoosing();
        return;
    }
    // Qt's positions are in device-independent pixels; the window system's
    // are the screen's own.
    const QWindow *window = this->window()->windowHandle();
    const qreal ratio = window ? window->devicePixelRatio() : 1.0;
    windowPointed((event->globalPosition() * ratio).toPoint());
}

void SendToolPanel::keyPressEvent(QKeyEvent *event)
{
    if (!m_choosing) {
        PanelBox::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape)
        cancelChoosing();
}
