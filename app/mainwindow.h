#pragma once

#include "app/paneltable.h"
#include "app/skinframe.h"
#include "shell/core/colorscheme.h"
#include "shell/core/mainlayout.h"
#include "shell/widgets/panelcontext.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class ClickLabel;
class Clipboard;
class ContentPanel;
class CoolButton;
class Launcher;
class PanelBox;
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

    // The panels come from `panels` (panelTable() in the program).
    explicit MainWindow(const Places &places, std::vector<PanelRow> panels = panelTable(),
                        QWidget *parent = nullptr);
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

    // The panel behind system-menu entry i (1 to 6); null for an entry
    // without one.
    ContentPanel *panBox(int i) const;

    // What every panel is built with; its services belong to this window.
    PanelContext &context() { return m_context; }

    // Build steps of the main window itself.
    void initColor();
    void InitStateBar();
    void InitSysMenu();
    void InitPanel(QWidget *panel);

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
    // The caption of entry 1 to 7 as the table of panels gives it.
    QString menuCaption(int index) const;
    PanelBox *stateBar() const { return StateBar; }
    CoolButton *sysMenuBeginBar() const { return SysMenuBeginBar; }
    QLabel *lblStateTime() const { return m_lblStateTime; }
    QLabel *lblStateTimeCap() const { return m_lblStateTimeCap; }
    PanelBox *panelMainBox() const { return panelMain; }
    SendToolPanel *sendToolPanel() const { return panelSendTool; }
    QPixmap sysMenuBeginBarImgDown() const { return SysMenuBeginBarImgDown; }
    QPixmap sysMenuBeginBarImgUp() const { return SysMenuBeginBarImgUp; }
    MainLayout::FrameSizes frameSizes() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SkinFrame m_skin;
    ColorScheme m_colors;
    std::unique_ptr<Launcher> m_launcher;
    std::unique_ptr<Clipboard> m_clipboard;
    PanelContext m_context;
    std::vector<PanelRow> m_panelRows;

    int m_curPanel = 1;
    int m_curMenu = 1;
    bool m_keepOnTop = false;
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
    std::array<ContentPanel *, MenuCount> m_panels {}; // by menu entry; element 0 and entry 7 have none
};
