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

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

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
constexpr int kGap = 6;
constexpr int kSide = 3;

const QString kTitle = QStringLiteral("Zantoria Tool Panel");
constexpr double kTitleFontSize = 10.5;
constexpr double kSmallestTitleSize = 6;

const QString kSorryTitle = QStringLiteral("对不起啦：)");
const QString kNotInThisVersion = QStringLiteral("此版本的程序暂不提供这项功能：O");

// How soon a tick that found another action of the panel running tries again.
constexpr int kBusyRetryMs = 100;

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

    m_sendTime = new QTimer(this);
    m_sendTime->setObjectName(QStringLiteral("sendTime"));
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
    layoutControls();
    for (CoolButton *button : {btnSendMsg, btnCopyToClipBoard, btnAddToFav})
        wireHoverFrame(this, button, colors);

    m_sendTime->stop();
    m_sendTime->setInterval(0);
}

void SendToolPanel::resizeEvent(QResizeEvent *event)
{
    PanelBox::resizeEvent(event);
    layoutControls();
}

// From the top: the title, the three buttons, the three frames and the two
// options; what height the window gives beyond their own is shared out
// between the groups, so the panel fills its column evenly.
void SendToolPanel::layoutControls()
{
    const int w = width();
    const int inner = w - 2 * kSide;
    const int sendToHeight = kFrameCaption + 3 * kRow + 4;
    const int styleHeight = kFrameCaption + 2 * kRow + 4;
    const int loopHeight = kFrameCaption + 2 * kRow + 12;
    const int optionsHeight = 2 * kRow + 2;
    const int buttonsHeight = 3 * kButtonHeight + 2 * kButtonGap;
    const int needed = kTitleHeight + buttonsHeight + sendToHeight + styleHeight + loopHeight + optionsHeight + 6 * kGap;
    const int gap = kGap + std::max(0, height() - needed) / 6;

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
    const bool sent = sendTarget() != 0
                      || SendToQQ(text, pasteOnly, chkCutExtra->isChecked(), *m_context.dialogs,
                                  *m_context.windowSystem);
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
