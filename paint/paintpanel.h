#pragma once

#include "thgrid.h"
#include "thhistory.h"

#include "shell/core/textcodec.h"
#include "shell/widgets/contentpanel.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

class CoolButton;
class DisplayArea;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class THCanvas;

// The paint panel ("我涂我画"): painting with characters on a grid of cells
// with the pen, the eraser, lines, rectangles, fill and a selection to copy,
// cut, paste and move; the same picture as text in text mode, size
// controls, files, and undo.
//
// Controls are named as the rest of the program knows them (their object
// names too, which is how tests find them).
class PaintPanel : public ContentPanel
{
    Q_OBJECT

public:
    explicit PaintPanel(PanelContext &context, QWidget *parent = nullptr);

    // The tools, in the order of their options.
    enum class Tool { Pen, Eraser, Line, Rect, Fill, Select };

    // Builds the panel; called once while the main window loads.
    void InitTH();
    void build() override { InitTH(); }
    DisplayArea *displayArea() const override { return thTextBox; }

    // Panel state, read by tests and by nobody else.
    const THGrid &grid() const { return thGrid; }
    int cols() const { return thCols; }
    int rows() const { return thRows; }
    int maxCols() const { return thMaxCols; }
    int maxRows() const { return thMaxRows; }
    int curCol() const { return thCurCol; }
    int curRow() const { return thCurRow; }
    QString brush() const { return thBrush; }
    bool pen() const { return thPen; }
    bool drawing() const { return thDrawing; }
    bool paintMode() const { return thPaintMode; }
    bool autoSize() const { return thAutoSize; }
    bool isBusy() const { return m_busy; }
    int lastMode() const { return thLastMode; }
    const THHistory &history() const { return m_history; }
    THCanvas *canvas() const { return thTable; }
    Tool tool() const;
    QRect selection() const { return m_selection; }

    // The handlers, callable as the controls call them.
    void InitthTable();
    void InitTHSize();
    void thCopyToTextBox();
    void thCopyToTable();
    void thTable_MouseDown(Qt::MouseButton button, QPointF pos);
    void thTable_MouseMove(Qt::MouseButtons buttons, QPointF pos);
    void thTable_MouseUp();
    void thTable_KeyPress(QKeyEvent *event);
    void thTable_InputMethod(const QString &commit);
    void thBJChar_Change();
    void thQJChar_Change();
    void thQJChar_Click();
    void thOptChar_Click(int index);
    void thOptTool_Click();
    void thOptMode_Click(int index);
    void thVS_Change();
    void thHS_Change();
    void panBox_MouseMove();
    void thFrame_MouseMove();
    void btnTH_Click(int index);
    void comTHw_Change();
    void comTHh_Change();
    void chkTHAutoSize_Click();

    // Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) on the grid.
    void undo();
    void redo();

    // Ctrl+C, Ctrl+X, Ctrl+V and Delete on the canvas. Copy puts the selected
    // rows on the clipboard (false when there is no selection or the
    // clipboard refused); paste lays the clipboard's text in at the
    // selection's top-left cell, or at the first cell, and selects it.
    bool copySelection();
    void cutSelection();
    void pasteClipboard();
    void blankSelection();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void setPaintMode(bool on);
    void selectPen();
    void brushChosen();
    void chooseBrush(bool press);
    void drawAtPointer();
    bool brushPaints();
    void fillAtPointer();
    void pressSelection(QPoint cell);
    void dragTo(QPoint cell);
    void showResult(THGrid result);
    void setSelection(const QRect &cells);
    void trackPointer(QPointF pos);
    void endStroke();
    void rebuild();
    void applyMode(int index);
    void reselectLastMode();
    void clearGrid();
    void openFile();
    void saveFile();
    void switchMode();
    bool importTextBox(); // false when the panel went away meanwhile
    void importFailed(bool autoSize);
    void showGrid(const THGrid &shown);
    void stepHistory(bool forward);
    void setSizeCaption();
    void fillRow(int row);

    std::array<QGroupBox *, 4> thFrame{};
    std::array<QRadioButton *, 2> thOptChar{};
    std::array<QLabel *, 2> thlblChar{};
    QLineEdit *thBJChar = nullptr;
    QComboBox *thQJChar = nullptr;
    std::array<QRadioButton *, 6> thOptTool{};
    QCheckBox *chkTHFilled = nullptr;
    std::array<QRadioButton *, 3> thOptMode{};
    QLabel *lblTHw = nullptr;
    QLabel *lblTHh = nullptr;
    QComboBox *comTHw = nullptr;
    QComboBox *comTHh = nullptr;
    QCheckBox *chkTHAutoSize = nullptr;
    PanelBox *thPicReset = nullptr;
    QLabel *thlblCurC = nullptr;
    QWidget *thContainer = nullptr;
    THCanvas *thTable = nullptr;
    QScrollBar *thHS = nullptr;
    QScrollBar *thVS = nullptr;
    DisplayArea *thTextBox = nullptr;
    std::array<CoolButton *, 5> btnTH{};

    THGrid thGrid;
    int thCols = 60;
    int thRows = 20;
    int thMaxCols = 120;
    int thMaxRows = 120;
    int thCurCol = -1;
    int thCurRow = -1;
    QString thBrush;
    bool thDrawing = false;
    bool thPen = true;
    bool thModeQuiet = true;
    bool thModeKeep = false;
    int thLastMode = 0;
    bool thPaintMode = true;
    bool thAutoSize = false;

    // An import runs (it lets events through once a row): every other action
    // of the panel waits its turn by being ignored.
    bool m_busy = false;
    QString m_filter; // the file dialogs' filter, set by the open dialog
    QString m_openedPath; // the file opened last, saved back in the format it came in
    TextCodec::Format m_openedFormat;
    THHistory m_history;
    std::optional<THGrid> m_strokeBefore; // the grid as a stroke, shape or move found it

    // What the left button does while it is held (thDrawing).
    enum class Drag { Stroke, Shape, Select, Move };
    Drag m_drag = Drag::Stroke;
    Tool m_shapeTool = Tool::Line;
    char32_t m_shapeBrush = 0;
    QPoint m_anchor; // the cell the button went down on
    QRect m_selection; // selected cells; empty for none
    QRect m_moveFrom; // the selection as a move found it
};
