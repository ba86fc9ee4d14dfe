#pragma once

#include "shell/core/colorscheme.h"
#include "shell/core/mainlayout.h"
#include "shell/app/skinframe.h"

#include <QPixmap>
#include <QTime>
#include <QWidget>

#include <array>
#include <functional>

class AboutPanel;
class ArtTextPanel;
class CoolButton;
class LibraryPanel;
class PaintPanel;
class PanelBox;
class PicToTextPanel;
class PluginPanel;
class ClickLabel;
class QLabel;
class QTimer;
class SendToolPanel;

// frmMain: the skinned main window with the system menu, the content area
// (one panel at a time), the tool panel and the state bar.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MenuCount = MainLayout::MenuCount;
    static constexpr int SysMenuWidth = MainLayout::SysMenuWidth;

    explicit MainWindow(const QString &programDir, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load procedure: runs the build steps in order; `announce` gets the
    // splash text of each step that has one, before the step runs.
    void Form_Load(const std::function<void(const QString &)> &announce);

    int CurPanel() const { return m_curPanel; }
    int CurMenu() const { return m_curMenu; }
    const ColorScheme &colors() const { return m_colors; }
    SkinFrame &skin() { return m_skin; }

    // Selects a system-menu entry (1 to 7) as a click on it does.
    void btnSysMenu_Click(int index);
    void btnSysMenu_MouseMove(int index);
    void btnSysMenu_MouseOut(int index);

    // The panel behind system-menu entry i (1 to 6).
    QWidget *panBox(int i) const;

    // Build steps of the main window itself.
    void initColor();
    void InitStateBar();
    void InitSysMenu();
    void InitPanel(QWidget *panel);

    // Gives a control the window's background colour.
    void letBackColor(QWidget *control) const;

    void SysMenuBeginBar_Click();
    void btnControl_Click();
    void imgLogo_Click();
    void btnMin_Click();
    void btnMax_Click();
    void btnClose_Click();

    // Keeps the window above all others (the tool panel's "保持在最上层")
    // or puts it back among them. A window system that refuses is ignored.
    void setKeepOnTop(bool onTop);
    bool keepOnTop() const { return m_keepOnTop; }

    // Shows the time run since loading ended.
    void timeState_Timer();
    // The clock the running time is measured with, in milliseconds; it must
    // never go back (a steady clock by default, immune to clock changes).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // The parts of the window, for the panels and for tests.
    PanelBox *sysMenuBox() const { return SysMenuBox; }
    CoolButton *btnSysMenu(int index) const;
    PanelBox *stateBar() const { return StateBar; }
    CoolButton *sysMenuBeginBar() const { return SysMenuBeginBar; }
    QLabel *lblStateTime() const { return m_lblStateTime; }
    QLabel *lblStateTimeCap() const { return m_lblStateTimeCap; }
    PanelBox *panelMainBox() const { return panelMain; }
    SendToolPanel *sendToolPanel() const { return panelSendTool; }
    AboutPanel *aboutPanel() const { return m_about; }
    QPixmap sysMenuBeginBarImgDown() const { return SysMenuBeginBarImgDown; }
    QPixmap sysMenuBeginBarImgUp() const { return SysMenuBeginBarImgUp; }
    MainLayout::FrameSizes frameSizes() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SkinFrame m_skin;
    QString m_programDir;
    ColorScheme m_colors;
    PanelContext m_context;

    int m_curPanel = 1;
    int m_curMenu = 1;
    bool m_keepOnTop = false;
    QTime StartTime;
    qint64 m_startMs = 0;
    std::function<qint64()> m_clock;

    PanelBox *SysMenuBox = nullptr;
    QWidget *SysLogo = nullptr;
    ClickLabel *imgLogo = nullptr;
    std::array<CoolButton *, MenuCount + 1> m_btnSysMenu {}; // element 0 takes no part in the menu
    PanelBox *StateBar = nullptr;
    CoolButton *SysMenuBeginBar = nullptr;
    QLabel *m_lblStateCopyright = nullptr;
    QLabel *m_lblStateAuthor = nullptr;
    QLabel *m_lblStateTimeCap = nullptr;
    QLabel *m_lblStateTime = nullptr;
    QTimer *timeState = nullptr;
    QPixmap SysMenuBeginBarImgDown;
    QPixmap SysMenuBeginBarImgUp;

    PanelBox *panelMain = nullptr;
    SendToolPanel *panelSendTool = nullptr;
    LibraryPanel *m_library = nullptr;
    ArtTextPanel *m_artText = nullptr;
    PaintPanel *m_paint = nullptr;
    PicToTextPanel *m_picToText = nullptr;
    PluginPanel *m_plugins = nullptr;
    AboutPanel *m_about = nullptr;
};
