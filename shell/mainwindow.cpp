#include "mainwindow.h"

#include "aboutpanel.h"
#include "panelbox.h"
#include "programpaths.h"
#include "texts.h"

#include "art/arttextpanel.h"
#include "art/pictotextpanel.h"
#include "library/librarypanel.h"
#include "paint/paintpanel.h"
#include "plugins/pluginpanel.h"
#include "send/sendtoolpanel.h"

#include <QApplication>
#include <QScreen>

MainWindow::MainWindow(const QString &programDir, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_programDir(programDir)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Strings::kMainTitle);
    setFixedSize(670, 450); // 10050 × 6750 twips
    m_context.programDir = programDir;
    m_context.colors = &m_colors;
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
                        ProgramPaths::resolve(m_programDir, QStringLiteral("\\Skin\\default")));
    initColor();
    InitStateBar();
    say(QStringLiteral("正在初始化[系统菜单]..."));
    InitSysMenu();
    say(QStringLiteral("正在初始化[Zantoria Tool]..."));
    panelSendTool = new SendToolPanel(m_context, this);
    panelSendTool->InitPanelSendTool();
    panelMain = new PanelBox(this);
    InitPanel(panelMain);
    say(QStringLiteral("正在初始化系统[关于]..."));
    m_about = new AboutPanel(m_context, panelMain);
    m_about->initAbout();
    say(QStringLiteral("正在初始化[Zantoria秘笈]..."));
    m_library = new LibraryPanel(m_context, panelMain);
    m_library->InitCCMJ();
    say(QStringLiteral("正在初始化[图片磨牙]..."));
    m_picToText = new PicToTextPanel(m_context, panelMain);
    m_picToText->InitCCMY();
    say(QStringLiteral("正在初始化[艺术文字]..."));
    m_artText = new ArtTextPanel(m_context, panelMain);
    m_artText->InitWZ();
    say(QStringLiteral("正在初始化[我涂我画]..."));
    m_paint = new PaintPanel(m_context, panelMain);
    m_paint->InitTH();
    say(QStringLiteral("正在初始化[插件管理]..."));
    m_plugins = new PluginPanel(m_context, panelMain);
    m_plugins->initCJ();
    say(QStringLiteral("初始化完毕"));
    m_skin.FreeSkinPics();
    btnSysMenu_Click(1);
    StartTime = QTime::currentTime();
    m_running.start();
}

QWidget *MainWindow::panBox(int i) const
{
    switch (i) {
    case 1: return m_library;
    case 2: return m_artText;
    case 3: return m_paint;
    case 4: return m_picToText;
    case 5: return m_plugins;
    case 6: return m_about;
    default: return nullptr;
    }
}

void MainWindow::btnSysMenu_Click(int index)
{
    m_curMenu = index;
    for (int i = 1; i <= 6; ++i) {
        if (QWidget *panel = panBox(i))
            panel->hide();
    }
    if (index == 7) {
        close();
        return;
    }
    if (QWidget *panel = panBox(index))
        panel->show();
    if (index >= 1 && index <= 4)
        m_curPanel = index;
}

void MainWindow::initColor()
{
    m_colors.HotLineColor = QColor(49, 106, 197);
    m_colors.NormLineColor = QColor(177, 177, 177);
    m_colors.HotBackColor = QColor(192, 210, 238);
    m_colors.MenuHotLineColor = QColor(255, 255, 255);
    m_colors.MenuLineColor = QColor(160, 150, 131);
    m_colors.MenuHotBackColor = QColor(252, 205, 135);
    m_colors.MenuBackColor = QColor(142, 219, 255);
    m_colors.MenuSelBackColor = QColor(221, 221, 221);
    if (!m_colors.BackColor.isValid())
        m_colors.BackColor = QColor(236, 233, 216);
}

void MainWindow::InitStateBar()
{
}

void MainWindow::InitSysMenu()
{
}

void MainWindow::InitPanel(QWidget *panel)
{
    panel->setGeometry(115, 30, 425, 395);
    if (auto *box = qobject_cast<PanelBox *>(panel))
        box->setBackColor(m_colors.BackColor);
    panel->show();
}
