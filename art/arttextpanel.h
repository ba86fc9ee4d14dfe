#pragma once

#include "arttext.h"
#include "textcells.h"

#include "shell/widgets/contentpanel.h"

#include <QString>
#include <QStringList>

#include <array>

class CoolButton;
class DisplayArea;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;
class QToolButton;

// The art-text panel ("艺术文字"): words typed in, drawn in a font, and turned
// into character art in its display area by the character groups and the
// effect chosen; the result replaces what is shown or joins it, and in QQ
// mode is cut to fit one message.
//
// Controls are named as the rest of the program knows them (their object
// names too, which is how tests find them).
class ArtTextPanel : public ContentPanel
{
    Q_OBJECT

public:
    explicit ArtTextPanel(PanelContext &context, QWidget *parent = nullptr);
    ~ArtTextPanel() override;

    // Builds the panel; called once while the main window loads.
    void InitWZ();
    void build() override { InitWZ(); }
    DisplayArea *displayArea() const override { return textWZShowBox; }

    // Panel state, read by tests and by nobody else.
    QString fontName() const { return WZFontName; }
    double fontSize() const { return WZFontSizePoints; }
    QString loopString() const { return WZLoopString; }
    int addMode() const { return WZAddMode; }
    int showMode() const { return WZShowModeNow; }
    QString tempFile() const { return WZTempFile; }
    QStringList symbolChars() const { return WZSymbolChars; }
    const TextCells &cells() const { return WZCells; }
    bool isConverting() const { return m_busy; }
    // The font a conversion draws with.
    QFont artFont() const;
    // Where the space compressor is looked for.
    QString spacefoldPath() const;

    // The procedures and handlers, callable as the controls call them.
    void InitChkWZBeginAddMode();
    void InitComWZqj();
    void InitComWZFontName();
    void InitconWZEnabled();
    void WZSetShowMode(int index);
    void WZEnabledCon(bool on);
    int WZFindActEffect() const;
    int conModeState() const;

    void btnWZ_Click(int index);
    void textWZInput_Change();
    void comWZFontName_Click();
    void WZFontSizeScroll_Change();
    void chkWZFontB_Click();
    void chkWZFontI_Click();
    void chkWZConQJ_Click();
    void chkWZConBJ_Click();
    void comWZqjFront_Change();
    void comWZqjBack_Change();
    void textWZbjFront_Change();
    void textWZbjBack_Change();
    void optWZEffect_Click(int index);
    void textWZLoop_Change();
    void chkWZLoopQJ_Click();
    void chkWZBeginAddMode_Click();
    void optWZAddMode_Click(int index);
    void optWZShowMode_Click(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void convert();
    void saveToFile();
    void clearDisplay();
    void startSpacefold();
    void groupClicked(QCheckBox *clicked);
    // The full-width boxes are the combo boxes, the half-width ones the
    // line edits: each keeps one character of its own width.
    void keepOneCharacter(QComboBox *box);
    void keepOneCharacter(QLineEdit *box);
    ArtText::Style currentStyle() const;

    std::array<QGroupBox *, 6> frameWZ{};
    std::array<QLabel *, 9> lblWZ{};
    QPlainTextEdit *textWZInput = nullptr;
    QComboBox *comWZFontName = nullptr;
    QLineEdit *textWZFontSize = nullptr;
    QScrollBar *WZFontSizeScroll = nullptr;
    QToolButton *chkWZFontB = nullptr;
    QToolButton *chkWZFontI = nullptr;
    QCheckBox *chkWZConQJ = nullptr;
    QCheckBox *chkWZConBJ = nullptr;
    QComboBox *comWZqjFront = nullptr;
    QComboBox *comWZqjBack = nullptr;
    QLineEdit *textWZbjFront = nullptr;
    QLineEdit *textWZbjBack = nullptr;
    std::array<QRadioButton *, 6> optWZEffect{};
    QLineEdit *textWZLoop = nullptr;
    QToolButton *chkWZLoopQJ = nullptr;
    QCheckBox *chkWZBeginAddMode = nullptr;
    std::array<QRadioButton *, 2> optWZAddMode{};
    std::array<QToolButton *, 3> optWZShowMode{};
    DisplayArea *textWZShowBox = nullptr;
    PanelBox *WZPicB = nullptr;
    std::array<CoolButton *, 4> btnWZ{};

    QString WZFontName;
    double WZFontSizePoints = 10.5;
    bool WZFontBold = false;
    bool WZFontItalic = false;
    QString WZLoopString;
    int WZAddMode = 0;
    QString WZTempFile;
    QStringList WZSymbolChars;
    QString WZLoopDefaultQJ;
    QString WZLoopDefaultBJ;
    bool WZInitializing = false;
    int WZShowModeNow = 0;
    TextCells WZCells;

    // A conversion is running: every action of the panel waits for its end,
    // and input to the panel's controls is held back meanwhile.
    bool m_busy = false;
    bool m_fixing = false; // a handler is putting its own text back
};
