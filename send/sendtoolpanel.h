#pragma once

#include "send/chosenwindow.h"

#include "shell/widgets/panelbox.h"

#include <QImage>

#include <array>
#include <optional>

class CoolButton;
class PanelContext;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QTimer;

// The title box of the tool panel: a gradient with the engraved title,
// drawn once for its size and kept.
class SendToolTitle : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;
    const QImage &drawing() const { return m_drawing; }
    // Draws the box for its present size unless that drawing is kept
    // already (a hidden box hears of no resize until it is shown).
    void ensureDrawn();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_drawing;
};

// The tool panel at the right of the main window ("Zantoria Tool Panel"):
// sending the selected text into an open chat window, once or in a loop,
// copying it, adding it to the favourites, and the window's two options.
// Its buttons act on the display area of the last content panel shown.
//
// Below the targets the user may point at any chat window instead
// ("选择窗口…": a crosshair until the click into the window's edit box,
// Escape cancels); "清除" goes back to the chat client's own titles. The
// choice is kept in the settings file of the user's data.
//
// Controls are named as the rest of the program knows them (their object
// names too, which is how tests find them).
class SendToolPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit SendToolPanel(PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads. Its width
    // is final when this returns; the height is the main window's to give.
    void InitPanelSendTool();

    PanelContext &context() const { return m_context; }

    // Enables the interval box, its scroll bar and their labels together.
    void enabledLoop(bool flag);

    // The handlers, callable as the controls call them.
    void btnSendMsg_Click();
    void btnCopyToClipBoard_Click();
    void btnAddToFav_Click();
    void sendTime_Timer();
    void OptSendTo_Click(int index);
    void chkLoop_Click();
    void VScrollLoop_Change();
    void chkKeepTop_Click();
    void btnChooseWindow_Click();
    void btnClearWindow_Click();
    // The click that ends the choosing, at a point of the screen in the
    // window system's pixels; and Escape.
    void windowPointed(const QPoint &screenPoint);
    void cancelChoosing();

    bool isChoosing() const { return m_choosing; }
    const ChosenTarget &chosenTarget() const { return m_chosen; }

    // True while a send runs; every handler then leaves the panel alone.
    bool isBusy() const { return m_busy; }
    QTimer *sendTime() const { return m_sendTime; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void layoutControls();
    QString selectedText() const;
    int sendTarget() const;
    void endChoosing();
    void showChosen();
    bool isOwnWindow(platform::WindowId window) const;

    PanelContext &m_context;
    SendToolTitle *panelSendToolTitle = nullptr;
    CoolButton *btnSendMsg = nullptr;
    CoolButton *btnCopyToClipBoard = nullptr;
    CoolButton *btnAddToFav = nullptr;
    QGroupBox *frameSendTo = nullptr;
    std::array<QRadioButton *, 3> OptSendTo{};
    QGroupBox *frameSendStyle = nullptr;
    std::array<QRadioButton *, 2> OptSendStyle{};
    QGroupBox *frameLoop = nullptr;
    QCheckBox *chkLoop = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *vLoopInterval = nullptr;
    QScrollBar *VScrollLoop = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *chkKeepTop = nullptr;
    QCheckBox *chkCutExtra = nullptr;
    CoolButton *btnChooseWindow = nullptr;
    CoolButton *btnClearWindow = nullptr;
    QLabel *lblChosenWindow = nullptr;
    QTimer *m_sendTime = nullptr;
    QTimer *m_chooseLimit = nullptr;
    bool m_busy = false;
    bool m_choosing = false;
    ChosenTarget m_chosen;
    // What the running send or loop goes to: decided at its first tick.
    std::optional<bool> m_loopChosen;
    std::optional<platform::PointedWindow> m_pinned;
};
