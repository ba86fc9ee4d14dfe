#pragma once

#include "pictotextconverter.h"

#include "shell/widgets/contentpanel.h"
#include "shell/core/pixelsurface.h"

#include <QImage>
#include <QString>

#include <array>

class CoolButton;
class DisplayArea;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

// The picture-to-text panel ("图片磨牙"): picks a picture from the resource
// directories or any file, previews and describes it, and turns it into
// character art in its display area with the grey string chosen.
//
// Controls are named as the rest of the program knows them (their object
// names too, which is how tests find them).
class PicToTextPanel : public ContentPanel
{
    Q_OBJECT

public:
    explicit PicToTextPanel(PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitCCMY();
    void build() override { InitCCMY(); }
    DisplayArea *displayArea() const override { return m_textMYPicView; }

    // The display area, the panel's output for the copy and send actions.
    DisplayArea *textMYPicView() const { return m_textMYPicView; }

    // Panel state, read by tests and by nobody else.
    QString picPath() const { return MYPicPath; }
    QSize picSize() const { return QSize(MYPicWidth, MYPicHeight); }
    QString grayInUse() const { return MYGrayInUse; }
    QString grayNormal() const { return MYGrayNormal; }
    QString gray94() const { return MYGray94; }
    QString grayCustom() const { return MYGrayCustom; }
    QString grayCustomDefault() const { return MYGrayCustomDefault; }
    QString tempFile() const { return MYTempFile; }
    bool addMode() const { return MYAddMode; }
    float fontSize() const { return MYFontSize == 0 ? 2.0f : MYFontSize; }
    bool isConverting() const { return m_converter.isRunning(); }
    const QImage &picture() const { return m_picture; }
    // The output options the controls set: what the next conversion makes.
    PicToTextOptions outputOptions() const;

    // The handlers, callable as the controls call them.
    void InitlstMYSource(int index, int option);
    bool ReadMYPicFile(const QString &path);
    void btnMY_Click(int index);
    void optMYSource_Click(int option);
    void lstMYSource_Click();
    void lstMYSource_MouseMove();
    void lblMYPicName_MouseMove();
    void chkMYSetGray_Click(int option);
    void textMYGraySet_Change();
    void textMYGraySet_LostFocus();
    void chkMYAddMode_Click();
    void MYSetFontSize();
    void ClearMYTextPicView();
    // The result's size in the particulars, after any change of the picture,
    // the grey string or the output options.
    void showOutputSize();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildOutputControls();
    void tooLargeOutput();
    void connectControls();
    QString ReSortGrayChar(const QString &text);
    QString resourceDir(int option) const;
    int checkedSource() const;
    void startConversion();

    std::array<QGroupBox *, 4> frameMY{};
    std::array<QRadioButton *, 3> optMYSource{};
    QListWidget *lstMYSource = nullptr;
    QWidget *picMYPreBox = nullptr;
    QLabel *imgMYPre = nullptr;
    QLabel *lblMYPicName = nullptr;
    QLabel *lblMYPicType = nullptr;
    QLabel *lblMYPicSize = nullptr;
    QLabel *lblMYPicWH = nullptr;
    std::array<QRadioButton *, 3> chkMYSetGray{};
    QLineEdit *textMYGraySet = nullptr;
    QCheckBox *chkMYAddMode = nullptr;
    DisplayArea *m_textMYPicView = nullptr;
    std::array<CoolButton *, 5> btnMY{};
    // The output frame: width and height in characters (0: from the picture),
    // keeping the aspect, invert, dithering, braille.
    QGroupBox *frameMYOutput = nullptr;
    QSpinBox *spinMYWidth = nullptr;
    QSpinBox *spinMYHeight = nullptr;
    QCheckBox *chkMYKeepAspect = nullptr;
    QCheckBox *chkMYInvert = nullptr;
    QCheckBox *chkMYDither = nullptr;
    QCheckBox *chkMYBraille = nullptr;
    QLabel *lblMYOutSize = nullptr;

    QString MYPicPath;
    int MYPicWidth = 0;
    int MYPicHeight = 0;
    QString MYGrayNormal;
    QString MYGray94;
    QString MYGrayCustom;
    QString MYGrayCustomDefault;
    QString MYGrayInUse;
    QString MYTempFile;
    bool MYAddMode = false;
    float MYFontSize = 0;

    QImage m_picture; // the grey levels of the picture, what a conversion converts
    PixelSurface MYTempPicBox;
    QString m_openFileName; // the open dialog keeps its file name between uses
    PicToTextConverter m_converter;
};
