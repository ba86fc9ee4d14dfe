#include "app/mainwindow.h"

#include "app/aboutpanel.h"
#include "app/shellpictures.h"
#include "shell/core/clipboard.h"
#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/launcher.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/clicklabel.h"
#include "shell/widgets/contentpanel.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/panelbox.h"

#include "platform/windowsystem.h"
#include "send/sendtoolpanel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <chrono>

namespace {

// Sizes the form gives these controls; everything else follows from the skin.
constexpr int kBeginBarWidth = 100;
constexpr int kBeginBarHeight = 22;
constexpr int kSysLogoHeight = 80;

// Element 0 belongs to the form and never shows; entry 7 ends the program.
// The panels' entries take their captions from the table of panels.
const QString kHiddenEntryCaption = QStringLiteral("CorvelButton1");
const QString kExitCaption = QStringLiteral("退    出");

qint64 steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QLabel *stateLabel(PanelBox *bar, const char *name, const QString &text)
{
    auto *label = new QLabel(text, bar);
    label->setObjectName(QLatin1String(name));
    label->setFont(Fonts::crispFont(Fonts::kSongTi, 9));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(62, 72, 90));
    label->setPalette(palette);
    label->adjustSize();
    return label;
}

int textWidth(const QLabel *label, const QString &text)
{
    return QFontMetrics(label->font()).horizontalAdvance(text);
}

} // namespace

MainWindow::MainWindow(const Places &places, std::vector<PanelRow> panels, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_launcher(createSystemLauncher())
    , m_clipboard(createSystemClipboard())
    , m_panelRows(std::move(panels))
    , m_clock(steadyMilliseconds)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Strings::kMainTitle);
    setFixedSize(670, 450); // 10050 × 6750 twips
    m_context.places = places;
    m_context.colors = &m_colors;
    m_context.dialogs = &dialogs();
    m_context.launcher = m_launcher.get();
    m_context.clipboard = m_clipboard.get();
    m_context.windowSystem = &platform::windowSystem();
    m_context.keepOnTop = [this](bool onTop) { setKeepOnTop(onTop); };
    m_context.displayAreaSource = [this]() -> DisplayArea * {
        const ContentPanel *panel = panBox(m_curPanel);
        return panel ? panel->displayArea() : nullptr;
    };
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

void MainWindow::Form_Load(const std::function<void(const QString &)> &announce)
{
    const auto say = [&](const QString &text) {
        if (announce)
            announce(text);
    };
    say(QStringLiteral("正在初调用[系统皮肤]..."));
    m_skin.InitSkinForm(this, QStringLiteral("Zantoria"), QStringLiteral("m"), QStringLiteral("nomax"),
                        m_context.places.resource(QStringLiteral("\\Skin\\default")));
    connect(m_skin.btnControl(), &CoolButton::Click, this, &MainWindow::btnControl_Click);
    connect(m_skin.btnMin(), &CoolButton::Click, this, &MainWindow::btnMin_Click);
    connect(m_skin.btnMax(), &CoolButton::Click, this, &MainWindow::btnMax_Click);
    connect(m_skin.btnClose(), &CoolButton::Click, this, &MainWindow::btnClose_Click);
    connect(&m_skin, &SkinFrame::frameChanged, this, qOverload<>(&QWidget::update));
    initColor();
    InitStateBar();
    say(QStringLiteral("正在初始化[系统菜单]..."));
    InitSysMenu();
    say(QStringLiteral("正在初始化[Zantoria Tool]..."));
    panelSendTool = new SendToolPanel(m_context, this);
    panelSendTool->setObjectName(QStringLiteral("panelSendTool"));
    panelSendTool->InitPanelSendTool();
    // Its place and height follow the frame: under the caption, against the
    // right edge, as tall as the content area beside it.
    const MainLayout::FrameSizes frame = frameSizes();
    panelSendTool->move(MainLayout::toolPanelPos(size(), frame, panelSendTool->width()));
    panelSendTool->resize(panelSendTool->width(), height() - (frame.LBh + frame.Th + StateBar->height()));
    panelMain = new PanelBox(this);
    panelMain->setObjectName(QStringLiteral("panelMain"));
    InitPanel(panelMain);
    for (const PanelRow &row : m_panelRows) {
        say(row.splash);
        ContentPanel *panel = row.create(m_context, panelMain);
        panel->setObjectName(QStringLiteral("panBox%1").arg(row.entry));
        panel->setMenuCaption(row.caption);
        m_panels[std::size_t(row.entry)] = panel;
        panel->build();
    }
    say(QStringLiteral("初始化完毕"));
    m_skin.FreeSkinPics();
    btnSysMenu_Click(1);
    m_startMs = m_clock();
    // Ticks fall on whole seconds after the start, so the display never lags
    // behind the time it shows by most of a second.
    timeState->start();
    timeState_Timer();
}

MainLayout::FrameSizes MainWindow::frameSizes() const
{
    MainLayout::FrameSizes f;
    f.Lw = m_skin.pieceSize(SkinFrame::Left).width();
    f.Rw = m_skin.pieceSize(SkinFrame::Right).width();
    f.Th = m_skin.pieceSize(SkinFrame::Top).height();
    f.Bh = m_skin.pieceSize(SkinFrame::Bottom).height();
    f.LBh = m_skin.pieceSize(SkinFrame::LeftBottom).height();
    return f;
}

ContentPanel *MainWindow::panBox(int i) const
{
    return i >= 1 && i < MenuCount ? m_panels[std::size_t(i)] : nullptr;
}

QString MainWindow::menuCaption(int index) const
{
    if (index == MenuCount)
        return kExitCaption;
    for (const PanelRow &row : m_panelRows) {
        if (row.entry == index)
            return row.caption;
    }
    return QString();
}

CoolButton *MainWindow::btnSysMenu(int index) const
{
    return index >= 0 && index <= MenuCount ? m_btnSysMenu[index] : nullptr;
}

void MainWindow::btnSysMenu_Click(int index)
{
    if (index < 1 || index > MenuCount)
        return;
    for (int i = 1; i <= MenuCount; ++i)
        DrawBtnBox(SysMenuBox, m_btnSysMenu[i], m_colors.MenuLineColor, m_colors.MenuBackColor, 0);
    m_curMenu = index;
    DrawBtnBox(SysMenuBox, m_btnSysMenu[index], m_colors.MenuLineColor, m_colors.MenuSelBackColor, 0);
    for (ContentPanel *panel : m_panels) {
        if (panel)
            panel->hide();
    }
    if (index == MenuCount) {
        close();
        QCoreApplication::quit();
        return;
    }
    // The panels with text are the ones the tool panel acts on; the others
    // (plug-ins, About) leave that choice alone.
    if (ContentPanel *panel = panBox(index)) {
        panel->show();
        if (panel->displayArea())
            m_curPanel = index;
    }
}

void MainWindow::btnSysMenu_MouseMove(int index)
{
    CoolButton *entry = btnSysMenu(index);
    if (!entry)
        return;
    entry->setUseBorders(false);
    if (index != m_curMenu)
        DrawBtnBox(SysMenuBox, entry, m_colors.MenuHotLineColor, m_colors.MenuHotBackColor, 0);
}

void MainWindow::btnSysMenu_MouseOut(int index)
{
    DrawBtnBox(SysMenuBox, btnSysMenu(index), m_colors.MenuLineColor, m_colors.MenuBackColor, 0);
    DrawBtnBox(SysMenuBox, btnSysMenu(m_curMenu), m_colors.MenuLineColor, m_colors.MenuSelBackColor, 0);
}

void MainWindow::initColor()
{
    m_colors = ColorScheme::standard();
    m_colors.BackColor = m_skin.backColor();
}

void MainWindow::InitStateBar()
{
    StateBar = new PanelBox(this);
    StateBar->setObjectName(QStringLiteral("StateBar"));
    SysMenuBeginBar = new CoolButton(StateBar);
    SysMenuBeginBar->setObjectName(QStringLiteral("SysMenuBeginBar"));
    SysMenuBeginBar->setGeometry(0, -1, kBeginBarWidth, kBeginBarHeight);
    SysMenuBeginBar->setButtonBackColor(m_colors.BackColor);
    SysMenuBeginBar->setFontSize(10);
    SysMenuBeginBar->setCaption(PadCaption(u"Zantoria"));
    SysMenuBeginBar->setToolTip(QStringLiteral("显示或隐藏系统菜单"));
    SysMenuBeginBar->setFocusPolicy(Qt::NoFocus);
    connect(SysMenuBeginBar, &CoolButton::Click, this, &MainWindow::SysMenuBeginBar_Click);

    StateBar->setBackColor(m_colors.BackColor);
    StateBar->setGeometry(MainLayout::stateBar(size(), frameSizes(), SysMenuBeginBar->height()));
    wireHoverFrame(StateBar, SysMenuBeginBar, m_colors);

    m_lblStateCopyright = stateLabel(StateBar, "lblStateCopyright", QStringLiteral("© Zantoria 项目"));
    m_lblStateAuthor = stateLabel(StateBar, "lblStateAuthor", QStringLiteral("M o r v e n n a"));
    m_lblStateTimeCap = stateLabel(StateBar, "lblStateTimeCap", QStringLiteral("『Zantoria』已经运行了"));
    m_lblStateTime = stateLabel(StateBar, "lblStateTime", QStringLiteral("00:00:00"));

    const int top = 5;
    const int barWidth = StateBar->width();
    const QString timeText = m_lblStateTime->text();
    m_lblStateTimeCap->move(barWidth - textWidth(m_lblStateTimeCap, m_lblStateTimeCap->text() + timeText) - 20, top);
    m_lblStateTime->move(barWidth - textWidth(m_lblStateTime, timeText) - 15, top);
    // The copyright starts past the begin button, which would otherwise cover it.
    const int copyrightLeft = SysMenuBeginBar->geometry().right() + 1 + 10;
    m_lblStateCopyright->move(copyrightLeft, top);
    m_lblStateAuthor->move(copyrightLeft + textWidth(m_lblStateCopyright, m_lblStateCopyright->text()) + 10, top);

    timeState = new QTimer(this);
    timeState->setObjectName(QStringLiteral("timeState"));
    timeState->setInterval(1000);
    timeState->setTimerType(Qt::PreciseTimer); // a coarse one may fire early and show a second twice
    connect(timeState, &QTimer::timeout, this, &MainWindow::timeState_Timer);
    timeState->start();
}

void MainWindow::InitSysMenu()
{
    SysMenuBeginBarImgDown = QPixmap::fromImage(ShellPictures::beginBarIcon(true));
    SysMenuBeginBarImgUp = QPixmap::fromImage(ShellPictures::beginBarIcon(false));
    SysMenuBeginBar->setButtonIcon(SysMenuBeginBarImgDown);

    const MainLayout::FrameSizes frame = frameSizes();
    SysMenuBox = new PanelBox(this);
    SysMenuBox->setObjectName(QStringLiteral("SysMenuBox"));
    SysMenuBox->setBackColor(m_colors.MenuBackColor);
    SysMenuBox->setGeometry(MainLayout::sysMenuBox(size(), frame, StateBar->height()));
    SysMenuBox->show();

    SysLogo = new QWidget(SysMenuBox);
    SysLogo->setObjectName(QStringLiteral("SysLogo"));
    SysLogo->setGeometry(0, 0, SysMenuBox->width(), kSysLogoHeight);
    imgLogo = new ClickLabel(SysLogo);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setScaledContents(true);
    imgLogo->setGeometry(-1, 0, SysLogo->width() + 3, SysLogo->height());
    imgLogo->setPixmap(QPixmap::fromImage(ShellPictures::menuBanner(imgLogo->size())));
    imgLogo->setToolTip(AboutPanel::homePage());
    imgLogo->setAccessibleName(QStringLiteral("Zantoria主页"));
    connect(imgLogo, &ClickLabel::Click, this, &MainWindow::imgLogo_Click);

    // Element 0 belongs to the form and never shows.
    m_btnSysMenu[0] = new CoolButton(kHiddenEntryCaption, SysMenuBox);
    m_btnSysMenu[0]->hide();

    const int entryHeight = MainLayout::menuEntryHeight(size(), frame, StateBar->height());
    for (int i = 1; i <= MenuCount; ++i) {
        auto *entry = new CoolButton(SysMenuBox);
        m_btnSysMenu[i] = entry;
        entry->setObjectName(QStringLiteral("btnSysMenu_%1").arg(i));
        entry->setGeometry(MainLayout::menuEntry(i, SysLogo->height(), entryHeight));
        entry->setFontSize(10.5);
        entry->setButtonBackColor(SysMenuBox->backColor());
        entry->setMenuStyle(true);
        entry->setFocusPolicy(Qt::NoFocus);
        entry->setCaption(PadCaption(menuCaption(i)));
        DrawBtnBox(SysMenuBox, entry, m_colors.MenuLineColor, m_colors.MenuBackColor, 0);
        connect(entry, &CoolButton::Click, this, [this, i] { btnSysMenu_Click(i); });
        connect(entry, &CoolButton::MouseMove, this, [this, i] { btnSysMenu_MouseMove(i); });
        connect(entry, &CoolButton::MouseOut, this, [this, i] { btnSysMenu_MouseOut(i); });
    }
}

void MainWindow::InitPanel(QWidget *panel)
{
    panel->show();
    letBackColor(panel, m_colors);
    const int toolTop = panelSendTool ? panelSendTool->y() : frameSizes().Th;
    const int toolWidth = panelSendTool ? panelSendTool->width() : 0;
    panel->setGeometry(MainLayout::contentArea(size(), frameSizes(), toolTop, toolWidth, StateBar->height()));
}

void MainWindow::SysMenuBeginBar_Click()
{
    SysMenuBox->setHidden(!SysMenuBox->isHidden());
    SysMenuBeginBar->setButtonIcon(SysMenuBox->isHidden() ? SysMenuBeginBarImgUp : SysMenuBeginBarImgDown);
}

void MainWindow::btnControl_Click()
{
    btnSysMenu_Click(6);
}

void MainWindow::imgLogo_Click()
{
    m_launcher->openUrl(QUrl(AboutPanel::homePage()));
}

void MainWindow::btnMin_Click()
{
    m_skin.SkinMinimize();
}

void MainWindow::btnMax_Click()
{
    m_skin.SkinMaxRestore();
}

void MainWindow::btnClose_Click()
{
    m_skin.SkinClose();
}

void MainWindow::setKeepOnTop(bool onTop)
{
    m_keepOnTop = onTop;
    // The window system is asked only when the window is one of its own; the
    // toolkit's hint does it otherwise (offscreen, or nothing to ask).
    const QString qpa = QGuiApplication::platformName();
    const bool native = qpa == u"xcb" || qpa == u"windows";
    platform::WindowSystem &ws = *m_context.windowSystem;
    if (native && ws.isAvailable() && testAttribute(Qt::WA_WState_Created) && ws.setTopMost(winId(), onTop))
        return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible)
        show();
}

void MainWindow::timeState_Timer()
{
    if (m_lblStateTime)
        m_lblStateTime->setText(MainLayout::formatRunningTime(m_clock() - m_startMs));
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_skin.frame().isNull())
        p.fillRect(rect(), m_colors.BackColor.isValid() ? m_colors.BackColor : palette().window().color());
    else
        p.drawImage(0, 0, m_skin.frame());
}
