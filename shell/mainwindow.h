#pragma once

#include "colorscheme.h"
#include "skinframe.h"

#include <QElapsedTimer>
#include <QTime>
#include <QWidget>

#include <array>
#include <functional>

class AboutPanel;
class ArtTextPanel;
class LibraryPanel;
class PaintPanel;
class PanelBox;
class PicToTextPanel;
class PluginPanel;
class SendToolPanel;

// frmMain: the skinned main window with the system menu, the content area
// (one panel at a time), the tool panel and the state bar.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const QString &programDir, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load procedure: runs the build steps in order; `announce` gets the
    // splash text of each step that has one, before the step runs.
    void Form_Load(const std::function<void(const QString &)> &announce);

    int CurPanel() const { return m_curPanel; }
    int CurMenu() const { return m_curMenu; }
    const ColorScheme &colors() const { return m_colors; }

    // Selects a system-menu entry (1 to 7) as a click on it does.
    void btnSysMenu_Click(int index);

    // The panel behind system-menu entry i (1 to 6).
    QWidget *panBox(int i) const;

    // Build steps of the main window itself.
    void initColor();
    void InitStateBar();
    void InitSysMenu();
    void InitPanel(QWidget *panel);

private:
    QString m_programDir;
    SkinFrame m_skin;
    ColorScheme m_colors;
    PanelContext m_context;

    int m_curPanel = 1;
    int m_curMenu = 1;
    QTime StartTime;
    QElapsedTimer m_running; // the state bar counts from here; immune to clock changes

    PanelBox *panelMain = nullptr;
    SendToolPanel *panelSendTool = nullptr;
    LibraryPanel *m_library = nullptr;
    ArtTextPanel *m_artText = nullptr;
    PaintPanel *m_paint = nullptr;
    PicToTextPanel *m_picToText = nullptr;
    PluginPanel *m_plugins = nullptr;
    AboutPanel *m_about = nullptr;
};
