#pragma once

#include "spacezip.h"

#include "shell/core/colorscheme.h"
#include "shell/core/textcodec.h"
#include "shell/widgets/panelbox.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <array>
#include <memory>

class ClickLabel;
class CoolButton;
class DisplayArea;
class QCheckBox;
class QGroupBox;
class QLabel;
class QThread;
class QTimer;
struct OpenJob;

// frmSpacefold, the window of the space compressor: a text box, the four
// pass options, six buttons and the statistics of the last run. The window
// is itself the box its buttons' hover frames are drawn on.
class SpacefoldWindow : public PanelBox
{
    Q_OBJECT

public:
    explicit SpacefoldWindow(QWidget *parent = nullptr);
    ~SpacefoldWindow() override;

    // The caption the single-instance rule looks for.
    static QString caption();

    void Form_Load();

    // Procedures of the window.
    void InitZip();
    void initColor();
    void InitLbl();
    void ClearVars();
    void Zip();
    void DealCap(CoolButton *button);
    void letBackColor(QWidget *control);
    void letBtnBackColor(); // every button takes the window's back colour

    // Event handlers.
    void Btn_Click(int index);
    void Btn_MouseMove(int index);
    void Btn_MouseOut(int index);
    void chk_Click(int index);
    void textBox_Change();
    void ZipTimer_Timer();
    void Logo_Click();

    // The controls, for the program's own tests.
    DisplayArea *textBox() const { return m_textBox; }
    QCheckBox *chk(int index) const { return m_chk.at(size_t(index)); }
    CoolButton *Btn(int index) const { return m_btn.at(size_t(index)); }
    QGroupBox *frame(int index) const { return m_frame.at(size_t(index)); }
    QLabel *lblInfB() const { return m_lblInfB; }
    QLabel *lblInfA() const { return m_lblInfA; }
    QLabel *lblZipTime() const { return m_lblZipTime; }
    QLabel *lblZipRate() const { return m_lblZipRate; }
    ClickLabel *Logo() const { return m_logo; }
    QTimer *ZipTimer() const { return m_zipTimer; }
    const ZipOptions &options() const { return m_options; }
    bool isZipping() const { return m_zipping; }
    // A file is being read on a thread of its own; the window answers
    // meanwhile, but only About and Exit act.
    bool isOpening() const { return m_openThread != nullptr; }

protected:
    void closeEvent(QCloseEvent *event) override; // Form_Unload
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void updateZipButton();
    void showStatus(const QString &text);
    void letEventsRun();
    bool openFromFile();
    void openFinished();
    void showSizeBefore(qint64 bytes);
    void saveToFile();
    void showAbout();
    void reportFailure(int index);

    DisplayArea *m_textBox = nullptr;
    std::array<QGroupBox *, 2> m_frame{};
    std::array<QCheckBox *, 4> m_chk{};
    std::array<CoolButton *, 6> m_btn{};
    QLabel *m_lblInfB = nullptr;
    QLabel *m_lblInfA = nullptr;
    QLabel *m_lblZipTime = nullptr;
    QLabel *m_lblZipRate = nullptr;
    ClickLabel *m_logo = nullptr;
    QTimer *m_zipTimer = nullptr;
    QImage m_header;

    ColorScheme m_colors;

    ZipOptions m_options;
    qint64 sizeBefore = 0;
    qint64 sizeAfter = 0;
    qint64 elapsedSec = 0;
    qint64 m_startedAt = 0; // wall-clock seconds when the run started
    bool isWriting = false;
    bool m_zipping = false;
    bool m_closeRequested = false;
    bool m_settingText = false; // the window sets a text it has prepared itself
    QThread *m_openThread = nullptr;
    std::shared_ptr<OpenJob> m_openJob;
    QString m_openedPath; // the file opened last, saved back in the format it came in
    TextCodec::Format m_openedFormat;
};
