#include "paintpanel.h"

#include "thcanvas.h"
#include "thdrawing.h"
#include "thimagesurface.h"
#include "thrender.h"
#include "thinputs.h"
#include "thtext.h"
#include "thtools.h"

#include "shell/core/clipboard.h"
#include "shell/core/colorscheme.h"
#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/regularfile.h"
#include "shell/core/textcodec.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/labelname.h"
#include "shell/widgets/panelcontext.h"
#include "shell/widgets/savetextas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include <exception>
#include <functional>
#include <utility>

namespace {

const QString kOpenFailed = QStringLiteral("打开文件时出现错误！文件不存在或是已经损坏：O");
const QString kFailedTitle = QStringLiteral("出错了：（");

// A picture of the largest canvas as text is some tens of kilobytes; a file
// far beyond that is no picture for the grid, and loading it would hold the
// window up.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

const std::array<const char *, 5> kButtonCaptions = {"清空画板", "导入字符画文件", "保存到文件", "", "文本模式"};

// Where everything sits on the 417 × 385 panel: the brush, tool and mode
// frames on top, the size frame under them, the buttons, then the canvas
// with its scroll bars (or the text in text mode) and the position label.
const QRect kFrameRects[4] = {QRect(4, 0, 118, 90), QRect(126, 0, 108, 90), QRect(238, 0, 175, 90),
                              QRect(4, 92, 409, 46)};
const QRect kButtonRects[5] = {QRect(5, 142, 80, 22), QRect(91, 142, 112, 22), QRect(209, 142, 92, 22),
                               QRect(1, 1, 24, 24), QRect(307, 142, 105, 22)};
const QRect kContainerRect(4, 168, 393, 180);
const QRect kVSRect(397, 168, 16, 180);
const QRect kHSRect(4, 348, 393, 16);
const QRect kTextBoxRect(4, 168, 409, 196);
const QRect kPositionRect(6, 366, 405, 18);

// The tools in two columns, 画笔 直线 矩形 (and 实心 under it) on the left,
// 橡皮 填充 选取 on the right: (column, row) of each option.
const std::array<const char *, 6> kToolCaptions = {"画笔", "橡皮", "直线", "矩形", "填充", "选取"};
const std::array<QPoint, 6> kToolPlaces = {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1),
                                           QPoint(0, 2), QPoint(1, 1), QPoint(1, 2)};

// The rebuild button's picture: a small grid with a turning arrow, drawn
// here rather than shipped.
QPixmap rebuildPicture()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(120, 120, 120));
    for (int i = 1; i <= 13; i += 4) {
        p.drawLine(1, i, 13, i);
        p.drawLine(i, 1, i, 13);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 120, 40), 2));
    p.drawArc(QRect(5, 5, 10, 10), 90 * 16, 270 * 16);
    p.setBrush(QColor(30, 120, 40));
    p.setPen(Qt::NoPen);
    const QPointF head[3] = {QPointF(9, 2.5), QPointF(13, 5.5), QPointF(9, 8.5)};
    p.drawPolygon(head, 3);
    return pixmap;
}

} // namespace

PaintPanel::PaintPanel(PanelContext &context, QWidget *parent)
    : ContentPanel(context, parent)
{
    buildControls();
    connectControls();
}

void PaintPanel::buildControls()
{
    const char *frameCaptions[4] = {"涂画字符", "涂画工具", "画板模式", "当前画板尺寸:60x20"};
    for (int i = 0; i < 4; ++i) {
        thFrame[i] = new QGroupBox(QString::fromUtf8(frameCaptions[i]), this);
        thFrame[i]->setObjectName(QStringLiteral("thFrame%1").arg(i));
        thFrame[i]->setGeometry(kFrameRects[i]);
        thFrame[i]->setMouseTracking(true);
        thFrame[i]->installEventFilter(this);
    }

    // The two brush kinds: an option, its label and its input on one line.
    const char *charNames[2] = {"半角涂画字符", "全角涂画字符"};
    for (int i = 0; i < 2; ++i) {
        const int y = 24 + i * 32;
        thOptChar[i] = new QRadioButton(thFrame[0]);
        thOptChar[i]->setObjectName(QStringLiteral("thOptChar%1").arg(i));
        thOptChar[i]->setGeometry(8, y, 20, 18);
        thOptChar[i]->setAccessibleName(QString::fromUtf8(charNames[i]));
        thlblChar[i] = new QLabel(QStringLiteral("字符："), thFrame[0]);
        thlblChar[i]->setObjectName(QStringLiteral("thlblChar%1").arg(i));
        thlblChar[i]->setGeometry(28, y, 36, 18);
    }
    thBJChar = new QLineEdit(QStringLiteral("#"), thFrame[0]);
    thBJChar->setObjectName(QStringLiteral("thBJChar"));
    thBJChar->setGeometry(64, 22, 26, 22);
    thBJChar->setMaxLength(1);
    thBJChar->setAlignment(Qt::AlignCenter);
    thBJChar->setToolTip(QStringLiteral("在涂画过程中，可以用键盘来变换半角涂画字符：)"));
    thBJChar->setAccessibleName(QString::fromUtf8(charNames[0]));
    thlblChar[0]->setBuddy(thBJChar);
    thQJChar = new QComboBox(thFrame[0]);
    thQJChar->setObjectName(QStringLiteral("thQJChar"));
    thQJChar->setGeometry(64, 54, 50, 22);
    thQJChar->setEditable(true);
    thQJChar->setInsertPolicy(QComboBox::NoInsert);
    thQJChar->setAccessibleName(QString::fromUtf8(charNames[1]));
    thlblChar[1]->setBuddy(thQJChar);

    for (std::size_t i = 0; i < thOptTool.size(); ++i) {
        thOptTool[i] = new QRadioButton(QString::fromUtf8(kToolCaptions[i]), thFrame[1]);
        thOptTool[i]->setObjectName(QStringLiteral("thOptTool%1").arg(i));
        thOptTool[i]->setGeometry(8 + kToolPlaces[i].x() * 50, 18 + kToolPlaces[i].y() * 18, 48, 18);
    }
    chkTHFilled = new QCheckBox(QStringLiteral("实心"), thFrame[1]);
    chkTHFilled->setObjectName(QStringLiteral("chkTHFilled"));
    chkTHFilled->setGeometry(20, 18 + 3 * 18, 50, 18);
    chkTHFilled->setToolTip(QStringLiteral("矩形工具画出实心的矩形"));
    for (int i = 0; i < 3; ++i) {
        thOptMode[i] = new QRadioButton(QString::fromUtf16(thModes[std::size_t(i)].caption), thFrame[2]);
        thOptMode[i]->setObjectName(QStringLiteral("thOptMode%1").arg(i));
        thOptMode[i]->setGeometry(6, 18 + i * 22, 166, 18);
    }

    lblTHw = new QLabel(QStringLiteral("宽："), thFrame[3]);
    lblTHw->setObjectName(QStringLiteral("lblTHw"));
    lblTHw->setGeometry(10, 18, 26, 20);
    comTHw = new QComboBox(thFrame[3]);
    comTHw->setObjectName(QStringLiteral("comTHw"));
    comTHw->setGeometry(36, 16, 60, 22);
    lblTHh = new QLabel(QStringLiteral("高："), thFrame[3]);
    lblTHh->setObjectName(QStringLiteral("lblTHh"));
    lblTHh->setGeometry(104, 18, 26, 20);
    comTHh = new QComboBox(thFrame[3]);
    comTHh->setObjectName(QStringLiteral("comTHh"));
    comTHh->setGeometry(130, 16, 60, 22);
    for (QComboBox *box : {comTHw, comTHh}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMaxVisibleItems(12);
    }
    comTHw->setAccessibleName(LabelName(lblTHw->text()));
    comTHh->setAccessibleName(LabelName(lblTHh->text()));
    lblTHw->setBuddy(comTHw);
    lblTHh->setBuddy(comTHh);

    thPicReset = new PanelBox(thFrame[3]);
    thPicReset->setObjectName(QStringLiteral("thPicReset"));
    thPicReset->setGeometry(198, 14, 26, 26);

    chkTHAutoSize = new QCheckBox(QStringLiteral("自动适应文本模式"), thFrame[3]);
    chkTHAutoSize->setObjectName(QStringLiteral("chkTHAutoSize"));
    chkTHAutoSize->setGeometry(234, 18, 170, 20);
    chkTHAutoSize->setToolTip(QStringLiteral("自动适应文本模式的行列数，如果超过画板最大的行列数，多余的将被截去，"
                                             "同时文本模式相应的字符也会被截去：）"));

    thContainer = new QWidget(this);
    thContainer->setObjectName(QStringLiteral("thContainer"));
    thContainer->setGeometry(kContainerRect);
    thContainer->installEventFilter(this);
    thTable = new THCanvas(thContainer);
    thTable->setObjectName(QStringLiteral("thTable"));
    thTable->setAccessibleName(QStringLiteral("画板"));
    thTable->setAccessibleDescription(QStringLiteral("用鼠标左键在画板上涂画；在半角涂画字符下，键入的字符成为新的涂画字符；"
                                                     "用输入法输入的字符成为新的涂画字符；选取后可复制、剪切、粘贴、拖动和删除"));
    thTable->installEventFilter(this);

    thHS = new QScrollBar(Qt::Horizontal, this);
    thHS->setObjectName(QStringLiteral("thHS"));
    thHS->setGeometry(kHSRect);
    thHS->setAccessibleName(QStringLiteral("画板水平滚动"));
    thVS = new QScrollBar(Qt::Vertical, this);
    thVS->setObjectName(QStringLiteral("thVS"));
    thVS->setGeometry(kVSRect);
    thVS->setAccessibleName(QStringLiteral("画板垂直滚动"));

    thTextBox = new DisplayArea(this);
    thTextBox->setObjectName(QStringLiteral("thTextBox"));
    thTextBox->setGeometry(kTextBoxRect);
    thTextBox->setAccessibleName(QStringLiteral("文本模式"));
    // The text lines up as on the canvas, in the canvas's font: half-width
    // characters half as wide as the full-width ones.
    QFont textFont = Fonts::crispFont(Fonts::kSongTi, THImageSurface::kFontPoints);
    textFont.setStyleHint(QFont::TypeWriter, textFont.styleStrategy());
    thTextBox->setFont(textFont);
    thTextBox->setFontPointSize(THImageSurface::kFontPoints);

    thlblCurC = new QLabel(this);
    thlblCurC->setObjectName(QStringLiteral("thlblCurC"));
    thlblCurC->setGeometry(kPositionRect);

    for (int i = 0; i < 5; ++i) {
        btnTH[i] = new CoolButton(QString::fromUtf8(kButtonCaptions[std::size_t(i)]), i == 3 ? thPicReset : this);
        btnTH[i]->setObjectName(QStringLiteral("btnTH%1").arg(i));
        btnTH[i]->setGeometry(kButtonRects[i]);
    }
    btnTH[3]->setButtonIcon(rebuildPicture());
    btnTH[3]->setToolTip(QStringLiteral("重建画板会清空当前涂画区与文本区的所有内容：O"));
    btnTH[4]->setToolTip(QStringLiteral("操作模式切换"));

    setMouseTracking(true);
}

void PaintPanel::connectControls()
{
    connect(thTable, &THCanvas::MouseDown, this, &PaintPanel::thTable_MouseDown);
    connect(thTable, &THCanvas::MouseMove, this, &PaintPanel::thTable_MouseMove);
    connect(thTable, &THCanvas::MouseUp, this, [this](Qt::MouseButton, QPointF pos) {
        // A shape or selection ends on the cell where the button came up.
        if (thDrawing && m_drag != Drag::Stroke && !m_busy) {
            trackPointer(pos);
            dragTo(QPoint(thCurCol, thCurRow));
        }
        thTable_MouseUp();
    });
    connect(thTable, &THCanvas::MouseLeave, this, [this] { panBox_MouseMove(); });
    connect(thTable, &THCanvas::KeyPress, this, &PaintPanel::thTable_KeyPress);
    connect(thTable, &THCanvas::InputMethodCommit, this, &PaintPanel::thTable_InputMethod);
    thTextBox->setSelectionSource([this]() -> std::optional<QString> {
        if (!thPaintMode || m_selection.isEmpty())
            return std::nullopt;
        return thSelectionText(thGrid, m_selection);
    });
    connect(thBJChar, &QLineEdit::textChanged, this, [this] { thBJChar_Change(); });
    connect(thQJChar, &QComboBox::editTextChanged, this, [this] { thQJChar_Change(); });
    connect(thQJChar, &QComboBox::activated, this, [this] { thQJChar_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(thOptChar[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                thOptChar_Click(i);
        });
    }
    for (QRadioButton *option : thOptTool) {
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                thOptTool_Click();
        });
    }
    for (int i = 0; i < 3; ++i) {
        connect(thOptMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                thOptMode_Click(i);
        });
    }
    connect(thHS, &QScrollBar::valueChanged, this, [this] { thHS_Change(); });
    connect(thVS, &QScrollBar::valueChanged, this, [this] { thVS_Change(); });
    connect(comTHw, &QComboBox::editTextChanged, this, [this] { comTHw_Change(); });
    connect(comTHh, &QComboBox::editTextChanged, this, [this] { comTHh_Change(); });
    connect(chkTHAutoSize, &QCheckBox::toggled, this, [this] { chkTHAutoSize_Click(); });
    for (int i = 0; i < 5; ++i)
        connect(btnTH[i], &CoolButton::Click, this, [this, i] { btnTH_Click(i); });

    // Undo and redo belong to the grid; a text box with the focus keeps its own keys.
    const auto shortcut = [this](const QKeySequence &keys, void (PaintPanel::*action)()) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &PaintPanel::undo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &PaintPanel::redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &PaintPanel::redo);
}

void PaintPanel::InitTH()
{
    thTable->setLineColor(palette().color(QPalette::Active, QPalette::Button));
    thDrawing = false;
    thModeKeep = false;
    thModeQuiet = true;

    thOptMode[0]->setChecked(true); // the quiet form: the first canvas

    InitTHSize();
    InitthTable();
    THDrawTable(*thTable, thRows, thCols);
    setSizeCaption();

    thQJChar->clear();
    thQJChar->addItems(InitthQJChar(thSymbols));
    thQJChar->setCurrentIndex(1);
    thOptChar[0]->setChecked(true);
    thOptChar_Click(0); // runs even when the option was already on
    selectPen();

    setPaintMode(true);
    thlblCurC->setText(thPositionOutside());
    thFrame_MouseMove();

    setGeometry(5, 5, 417, 385);
    setBackColor(context().colors->BackColor);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, backColor());
    for (QWidget *w : std::initializer_list<QWidget *>{thFrame[0], thFrame[1], thFrame[2], thFrame[3], thContainer,
                                                      chkTHAutoSize, chkTHFilled})
        w->setPalette(panel);
    thContainer->setAutoFillBackground(true);
    letBackColor(thPicReset, *context().colors);
    for (CoolButton *button : btnTH)
        FixCaption(*button);
    for (int i : {0, 1, 2, 4})
        btnTH[i]->setCaption(PadCaption(btnTH[i]->caption()));
    btnTH[3]->setAccessibleName(QStringLiteral("重建画板"));
    for (int i : {0, 1, 2, 4})
        wireHoverFrame(this, btnTH[i], *context().colors);
    wireHoverFrame(thPicReset, btnTH[3], *context().colors);
    hide();
}

void PaintPanel::setSizeCaption()
{
    thFrame[3]->setTitle(thSizeCaption(thCols, thRows));
}

void PaintPanel::InitTHSize()
{
    // Filling the lists runs their change handlers; they must see the new limits.
    comTHw->clear();
    comTHh->clear();
    for (int i = 1; i <= thMaxCols; ++i)
        comTHw->addItem(QString::number(i));
    for (int i = 1; i <= thMaxRows; ++i)
        comTHh->addItem(QString::number(i));
    comTHw->setEditText(QString::number(thCols));
    comTHh->setEditText(QString::number(thRows));
}

void PaintPanel::InitthTable()
{
    thCols = std::clamp(thCols, 1, thMaxCols);
    thRows = std::clamp(thRows, 1, thMaxRows);
    thTable->move(0, 0);
    thTable->setSize(thCanvasWidth(thCols), thCanvasHeight(thRows));
    thTable->clear();

    const QRect inner = thContainer->contentsRect();
    const auto place = [](QScrollBar *bar, int canvas, int room, int large) {
        if (canvas > room) {
            bar->setEnabled(true);
            bar->setRange(room, canvas);
            bar->setSingleStep(1);
            bar->setPageStep(large);
        } else {
            bar->setRange(0, 0);
            bar->setEnabled(false);
        }
        bar->setValue(bar->minimum());
    };
    place(thHS, thTable->scaleWidth(), inner.width(), thCellW);
    place(thVS, thTable->scaleHeight(), inner.height(), thCellH);
    thHS_Change();
    thVS_Change();

    thGrid = THGrid(thRows, thCols);
    setSelection(QRect());
}

void PaintPanel::thHS_Change()
{
    const int left = thHS->isEnabled() ? thContainer->contentsRect().width() - thHS->value() : 0;
    thTable->move(left, thTable->y());
}

void PaintPanel::thVS_Change()
{
    const int top = thVS->isEnabled() ? thContainer->contentsRect().height() - thVS->value() : 0;
    thTable->move(thTable->x(), top);
}

// --- Pointer and keys on the canvas ---------------------------------------

void PaintPanel::trackPointer(QPointF pos)
{
    const float x = float(pos.x());
    const float y = float(pos.y());
    thCurCol = THcX(x);
    thCurRow = THcY(y);
    const bool inside = x > 0 && y > 0 && x <= THAcX(thCols) && y <= THAcY(thRows);
    thlblCurC->setText(inside ? thPositionText(thCurRow, thCurCol) : thPositionOutside());
}

void PaintPanel::thTable_MouseMove(Qt::MouseButtons buttons, QPointF pos)
{
    // The release went elsewhere (a message box took it): the stroke is over.
    if (thDrawing && !(buttons & Qt::LeftButton))
        thTable_MouseUp();
    trackPointer(pos);
    if (!thDrawing || m_busy)
        return;
    if (m_drag != Drag::Stroke) {
        dragTo(QPoint(thCurCol, thCurRow));
    } else if (pos.x() > 0 && pos.y() > 0) {
        chooseBrush(false);
        drawAtPointer();
    }
}

void PaintPanel::thTable_MouseDown(Qt::MouseButton button, QPointF pos)
{
    if (m_busy)
        return;
    // The press paints where it happens, whether or not a move came first.
    trackPointer(pos);
    chooseBrush(true);
    if (button != Qt::LeftButton)
        return;
    const QPoint cell(thCurCol, thCurRow);
    const Tool current = tool();
    if (current == Tool::Fill) {
        fillAtPointer();
        return;
    }
    if (current == Tool::Select) {
        pressSelection(cell);
        return;
    }
    if ((current == Tool::Line || current == Tool::Rect) && !brushPaints())
        return;
    m_strokeBefore = thGrid;
    thDrawing = true;
    if (current == Tool::Line || current == Tool::Rect) {
        // The shape follows the pointer until the button comes up.
        m_drag = Drag::Shape;
        m_shapeTool = current;
        m_shapeBrush = thBrushOf(thBrush);
        m_anchor = cell;
        dragTo(cell);
        return;
    }
    m_drag = Drag::Stroke;
    drawAtPointer();
}

void PaintPanel::thTable_MouseUp()
{
    thDrawing = false;
    m_drag = Drag::Stroke;
    endStroke();
}

void PaintPanel::dragTo(QPoint cell)
{
    if (m_drag == Drag::Select) {
        setSelection(thSelection(thGrid, m_anchor, cell));
        return;
    }
    // A shape or a move is drawn afresh on the grid the press found, and
    // the canvas repaints what differs from what it shows.
    THGrid result = *m_strokeBefore;
    if (m_drag == Drag::Move) {
        setSelection(thMove(result, m_moveFrom, cell - m_anchor));
    } else if (m_shapeTool == Tool::Line) {
        thDrawLine(result, m_shapeBrush, m_anchor, cell);
    } else {
        thDrawRect(result, m_shapeBrush, m_anchor, cell, chkTHFilled->isChecked());
    }
    showResult(std::move(result));
}

void PaintPanel::showResult(THGrid result)
{
    const THGrid shown = std::exchange(thGrid, std::move(result));
    THRepaintChanges(*thTable, shown, thGrid);
}

void PaintPanel::pressSelection(QPoint cell)
{
    thDrawing = true;
    m_anchor = cell;
    if (m_selection.contains(cell)) {
        // Dragging the selection moves its cells, as one step.
        m_drag = Drag::Move;
        m_moveFrom = m_selection;
        m_strokeBefore = thGrid;
        return;
    }
    m_drag = Drag::Select;
    setSelection(thSelection(thGrid, cell, cell));
}

void PaintPanel::setSelection(const QRect &cells)
{
    m_selection = cells;
    thTable->setSelection(cells);
}

bool PaintPanel::brushPaints()
{
    if (thPaints(thBrushOf(thBrush)))
        return true;
    context().dialogs->message(QStringLiteral("涂画字符不可为空！"), Strings::kHintTitle, Dialogs::Icon::Information);
    return false;
}

void PaintPanel::fillAtPointer()
{
    if (!brushPaints())
        return;
    const THGrid before = thGrid;
    thFill(thGrid, thBrushOf(thBrush), QPoint(thCurCol, thCurRow), thTable);
    m_history.record(before, thGrid);
}

void PaintPanel::endStroke()
{
    if (!m_strokeBefore)
        return;
    m_history.record(*m_strokeBefore, thGrid);
    m_strokeBefore.reset();
}

void PaintPanel::chooseBrush(bool press)
{
    if (!thPen) {
        thBrush = QStringLiteral(" ");
        return;
    }
    if (thOptChar[0]->isChecked())
        thBrush = thBJChar->text();
    else if (thOptChar[1]->isChecked() && !(press && thLastMode == 2))
        thBrush = thQJChar->currentText();
}

void PaintPanel::drawAtPointer()
{
    if (thGrid.thDrawChar(thBrushOf(thBrush), thCurCol, thCurRow, thTable) != THGrid::Drawn::EmptyBrush)
        return;
    thTable_MouseUp(); // the message takes the release
    context().dialogs->message(QStringLiteral("涂画字符不可为空！"), Strings::kHintTitle, Dialogs::Icon::Information);
}

void PaintPanel::thTable_KeyPress(QKeyEvent *event)
{
    const std::pair<QKeySequence::StandardKey, std::function<void()>> edits[] = {
        {QKeySequence::Copy, [this] { copySelection(); }},
        {QKeySequence::Cut, [this] { cutSelection(); }},
        {QKeySequence::Paste, [this] { pasteClipboard(); }},
        {QKeySequence::Delete, [this] { blankSelection(); }},
    };
    for (const auto &[keys, action] : edits) {
        if (event->matches(keys)) {
            event->accept();
            action();
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && !m_selection.isEmpty() && !thDrawing) {
        event->accept();
        setSelection(QRect());
        return;
    }
    if (!thOptChar[0]->isChecked()) {
        event->ignore();
        return;
    }
    event->accept();
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].unicode() >= 32 && typed[0].unicode() <= 126)
        thBJChar->setText(typed);
}

void PaintPanel::thTable_InputMethod(const QString &commit)
{
    if (m_busy)
        return;
    const char32_t c = thBrushOf(commit);
    if (c == 0)
        return;
    const QString brush = QString::fromUcs4(&c, 1);
    if (!thIsFullWidth(c)) {
        thOptChar[0]->setChecked(true);
        thBJChar->setText(brush);
        return;
    }
    // A full-width brush joins the list; the canvas mode without full-width
    // brushes takes none.
    if (!thOptChar[1]->isEnabled())
        return;
    int index = thQJChar->findText(brush);
    if (index < 0) {
        thQJChar->addItem(brush);
        index = thQJChar->count() - 1;
    }
    thOptChar[1]->setChecked(true);
    thQJChar->setCurrentIndex(index);
    thQJChar_Click();
}

// --- Selection and the clipboard ------------------------------------------------

bool PaintPanel::copySelection()
{
    if (m_busy || thDrawing || m_selection.isEmpty())
        return false;
    if (!context().clipboard || !context().clipboard->setText(thSelectionText(thGrid, m_selection))) {
        context().dialogs->message(Strings::kCopyFailed, Strings::kCopyFailedTitle, Dialogs::Icon::Critical);
        return false;
    }
    return true;
}

void PaintPanel::cutSelection()
{
    if (copySelection())
        blankSelection();
}

void PaintPanel::blankSelection()
{
    if (m_busy || thDrawing || m_selection.isEmpty())
        return;
    const THGrid before = thGrid;
    thBlank(thGrid, m_selection, thTable);
    m_history.record(before, thGrid);
}

void PaintPanel::pasteClipboard()
{
    if (m_busy || thDrawing || !thPaintMode || !context().clipboard)
        return;
    const QString text = context().clipboard->text();
    if (text.isEmpty())
        return;
    const QPoint at = m_selection.isEmpty() ? QPoint(0, 0) : m_selection.topLeft();
    const THGrid before = thGrid;
    const QRect pasted = thPaste(thGrid, thTextBlock(text, thGrid, at), at, thTable);
    m_history.record(before, thGrid);
    // What was pasted is selected, ready to be dragged into place.
    thOptTool[std::size_t(Tool::Select)]->setChecked(true);
    setSelection(pasted);
}

// --- Brushes, tools and modes -------------------------------------------------

PaintPanel::Tool PaintPanel::tool() const
{
    for (std::size_t i = 0; i < thOptTool.size(); ++i) {
        if (thOptTool[i]->isChecked())
            return Tool(i);
    }
    return Tool::Pen;
}

void PaintPanel::selectPen()
{
    thOptTool[0]->setChecked(true);
    thPen = true;
}

void PaintPanel::brushChosen()
{
    // A new brush leaves the eraser and the selection for the pen; the
    // line, rectangle and fill paint with it as they are.
    const Tool current = tool();
    if (current == Tool::Eraser || current == Tool::Select)
        selectPen();
}

void PaintPanel::thBJChar_Change()
{
    const QString typed = thBJChar->text();
    const QString kept = thHalfWidthBrushInput(typed);
    if (kept != typed)
        thBJChar->setText(kept);
    // The box holds one character: the next key must replace it.
    thBJChar->selectAll();
    thBrush = thBJChar->text();
    brushChosen();
}

void PaintPanel::thQJChar_Change()
{
    const QString typed = thQJChar->currentText();
    const QString kept = thFullWidthBrushInput(typed);
    if (kept != typed)
        thQJChar->setEditText(kept);
    thBrush = thQJChar->currentText();
    brushChosen();
}

void PaintPanel::thQJChar_Click()
{
    thBrush = thQJChar->currentText();
    brushChosen();
}

void PaintPanel::thOptChar_Click(int index)
{
    for (int i = 0; i < 2; ++i)
        thlblChar[i]->setEnabled(i == index);
    thBJChar->setEnabled(index == 0);
    thQJChar->setEnabled(index == 1);
    thBrush = index == 0 ? thBJChar->text() : thQJChar->currentText();
    brushChosen();
}

void PaintPanel::thOptTool_Click()
{
    thPen = !thOptTool[std::size_t(Tool::Eraser)]->isChecked();
    if (tool() != Tool::Select)
        setSelection(QRect());
}

void PaintPanel::thOptMode_Click(int index)
{
    thOptChar[0]->setEnabled(true);
    thOptChar[1]->setEnabled(true);
    if (thModeQuiet) {
        thLastMode = index;
        if (!thModeKeep)
            applyMode(0);
        thModeQuiet = false;
        return;
    }
    if (m_busy || thDrawing) {
        reselectLastMode();
        return;
    }
    if (!context().dialogs->question(
            QStringLiteral("切换画板模式会重新初始化画板，画板上的所有内容将被清除，真的要切换画板模式吗？"),
            Strings::kHintTitle, Dialogs::Icon::Question)) {
        reselectLastMode();
        return;
    }
    if (index == 2) {
        thOptChar[0]->setChecked(true);
        thOptChar[1]->setEnabled(false);
    }
    thModeKeep = false;
    thLastMode = index;
    applyMode(index);
    m_history.clear(); // the steps belong to another canvas
}

void PaintPanel::applyMode(int index)
{
    const THMode &mode = thModes[std::size_t(index)];
    thMaxCols = mode.maxCols;
    thMaxRows = mode.maxRows;
    thCols = mode.cols;
    thRows = mode.rows;
    InitTHSize();
    InitthTable();
    THDrawTable(*thTable, thRows, thCols);
    setSizeCaption();
    thFrame_MouseMove();
    thTextBox->setText(QString());
}

void PaintPanel::reselectLastMode()
{
    thModeKeep = true;
    thModeQuiet = true;
    thOptMode[thLastMode]->setChecked(true);
    thModeQuiet = false;
    if (thLastMode == 2)
        thOptChar[1]->setEnabled(false);
}

void PaintPanel::panBox_MouseMove()
{
    thlblCurC->setText(thPositionOutside());
}

void PaintPanel::thFrame_MouseMove()
{
    thFrame[3]->setToolTip(thSizeTooltip(thMaxCols, thMaxRows));
}

void PaintPanel::mouseMoveEvent(QMouseEvent *event)
{
    panBox_MouseMove();
    ContentPanel::mouseMoveEvent(event);
}

bool PaintPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        for (QGroupBox *frame : thFrame) {
            if (watched == frame)
                thFrame_MouseMove();
        }
    } else if (event->type() == QEvent::Wheel && (watched == thContainer || watched == thTable)) {
        // The wheel scrolls the canvas as it would any view: up and down, and
        // sideways with Shift or a sideways wheel.
        auto *wheel = static_cast<QWheelEvent *>(event);
        const bool sideways = wheel->modifiers() & Qt::ShiftModifier
                              || std::abs(wheel->angleDelta().x()) > std::abs(wheel->angleDelta().y());
        QScrollBar *bar = sideways ? thHS : thVS;
        if (bar->isEnabled()) {
            const int delta = sideways && wheel->angleDelta().x() != 0 ? wheel->angleDelta().x()
                                                                        : wheel->angleDelta().y();
            bar->setValue(bar->value() + (delta > 0 ? -3 : 3) * bar->pageStep());
        }
        return true;
    }
    return ContentPanel::eventFilter(watched, event);
}

// --- Sizes ------------------------------------------------------------------

void PaintPanel::comTHw_Change()
{
    const QString typed = comTHw->currentText();
    const QString kept = thSizeInput(typed, thCols, thMaxCols);
    if (kept != typed)
        comTHw->setEditText(kept);
}

void PaintPanel::comTHh_Change()
{
    const QString typed = comTHh->currentText();
    const QString kept = thSizeInput(typed, thRows, thMaxRows);
    if (kept != typed)
        comTHh->setEditText(kept);
}

void PaintPanel::chkTHAutoSize_Click()
{
    thAutoSize = chkTHAutoSize->isChecked();
}

void PaintPanel::rebuild()
{
    thCols = thSizeValue(comTHw->currentText(), thCols, thMaxCols);
    thRows = thSizeValue(comTHh->currentText(), thRows, thMaxRows);
    setSizeCaption();
    InitthTable();
    THDrawTable(*thTable, thRows, thCols);
    thTextBox->setText(QStringLiteral(" "));
}

// --- Buttons ------------------------------------------------------------------

void PaintPanel::btnTH_Click(int index)
{
    if (m_busy || thDrawing)
        return;
    switch (index) {
    case 0:
        clearGrid();
        break;
    case 1:
        openFile();
        break;
    case 2:
        saveFile();
        break;
    case 3: {
        const THGrid before = thGrid;
        rebuild();
        m_history.record(before, thGrid);
        break;
    }
    case 4:
        switchMode();
        break;
    default:
        break;
    }
}

void PaintPanel::clearGrid()
{
    restHoverFrame(this, btnTH[0], *context().colors);
    if (!context().dialogs->question(QStringLiteral("真的要清空吗？"), Strings::kHintTitle, Dialogs::Icon::Question))
        return;
    const THGrid before = thGrid;
    rebuild();
    m_history.record(before, thGrid);
}

void PaintPanel::setPaintMode(bool on)
{
    thPaintMode = on;
    setSelection(QRect());
    thContainer->setVisible(on);
    thHS->setVisible(on);
    thVS->setVisible(on);
    thTextBox->setVisible(!on);
}

void PaintPanel::switchMode()
{
    // The switch lets events through before it converts; nothing else of
    // the panel may start meanwhile.
    m_busy = true;
    btnTH[4]->setEnabled(false);
    QPointer<PaintPanel> alive(this);
    if (thPaintMode) {
        btnTH[4]->setCaption(QStringLiteral("涂画模式"));
        FixCaption(*btnTH[4]);
        selectPen();
        setPaintMode(false);
        QCoreApplication::processEvents();
        if (!alive)
            return;
        thCopyToTextBox();
    } else {
        btnTH[4]->setCaption(QStringLiteral("文本模式"));
        FixCaption(*btnTH[4]);
        setPaintMode(true);
        QCoreApplication::processEvents();
        if (!alive || !importTextBox())
            return;
    }
    m_busy = false;
    btnTH[4]->setEnabled(true);
}

void PaintPanel::thCopyToTextBox()
{
    thTextBox->setText(thGridToText(thGrid));
}

void PaintPanel::fillRow(int row)
{
    for (int c = 0; c < thGrid.cols(); ++c) {
        const THCell &cell = thGrid.at(row, c);
        if (cell.Ch != 0 && cell.Ch != U' ')
            THPrintChar(*thTable, cell.text(), c, row);
    }
}

void PaintPanel::thCopyToTable()
{
    if (m_busy)
        return;
    m_busy = true;
    if (importTextBox())
        m_busy = false;
}

bool PaintPanel::importTextBox()
{
    QPointer<PaintPanel> alive(this);
    const THGrid before = thGrid;
    // The box can be ticked or cleared in the pauses below; this import
    // ends as it began.
    const bool autoSize = thAutoSize;
    try {
        selectPen();
        if (thTextBox->isEmpty())
            thTextBox->setText(QStringLiteral(" "));
        const QString text = thTextBox->text();
        const THTextSize size = thTextSize(text, thMaxCols, thMaxRows);
        if (autoSize) {
            comTHw->setEditText(QString::number(size.cols));
            comTHh->setEditText(QString::number(size.rows));
        }
        rebuild();
        thGrid = thTextToGrid(text, thRows, thCols);
        // Row by row, letting the window breathe in between.
        for (int r = 0; r < thRows; ++r) {
            fillRow(r);
            QCoreApplication::processEvents();
            if (!alive)
                return false;
        }
        thBrush = thOptChar[0]->isChecked() ? thBJChar->text() : thQJChar->currentText();
        if (autoSize)
            thCopyToTextBox();
    } catch (const std::exception &) {
        if (!alive)
            return false;
        importFailed(autoSize);
    }
    m_history.record(before, thGrid);
    return true;
}

void PaintPanel::importFailed(bool autoSize)
{
    if (autoSize) {
        context().dialogs->message(QStringLiteral("导入文件时出现错误，系统将重新初始化画板！：O"), kFailedTitle,
                                   Dialogs::Icon::Critical);
        rebuild();
        return;
    }
    context().dialogs->message(QStringLiteral("在从文本模式转换到涂画模式时出现错误！"), kFailedTitle,
                               Dialogs::Icon::Critical);
    setPaintMode(false);
    btnTH[4]->setCaption(QStringLiteral("涂画模式"));
    FixCaption(*btnTH[4]);
}

void PaintPanel::openFile()
{
    restHoverFrame(this, btnTH[1], *context().colors);
    m_filter = Strings::kTextFileFilter;
    const std::optional<QString> chosen = context().dialogs->openFile(m_filter, QString());
    if (!chosen || TrimBlanks(*chosen).isEmpty())
        return;
    // A NUL is no part of any text: the file is something else (UTF-16 has
    // NUL bytes, so the characters are looked at).
    QString text;
    TextCodec::Format format;
    if (ReadTextFile(*chosen, kMaxFileBytes, &text, &format) != ReadOutcome::Done || text.contains(QChar(0))) {
        context().dialogs->message(kOpenFailed, kFailedTitle, Dialogs::Icon::Critical);
        return;
    }
    m_openedPath = *chosen;
    m_openedFormat = format;
    thTextBox->setText(std::move(text));
    if (thPaintMode)
        thCopyToTable();
}

void PaintPanel::saveFile()
{
    restHoverFrame(this, btnTH[2], *context().colors);
    SaveTextAs save;
    save.filter = m_filter;
    save.readFrom = m_openedPath;
    save.readFormat = &m_openedFormat;
    save.run(*context().dialogs, [this] {
        if (thPaintMode)
            thCopyToTextBox();
        return thTextBox->text();
    });
}

// --- Undo ---------------------------------------------------------------------

void PaintPanel::showGrid(const THGrid &shown)
{
    if (shown.rows() == thGrid.rows() && shown.cols() == thGrid.cols()) {
        THRepaintChanges(*thTable, shown, thGrid);
        return;
    }
    // Another size: the canvas is built anew for it.
    const THGrid wanted = thGrid;
    thCols = wanted.cols();
    thRows = wanted.rows();
    comTHw->setEditText(QString::number(thCols));
    comTHh->setEditText(QString::number(thRows));
    setSizeCaption();
    InitthTable();
    THDrawTable(*thTable, thRows, thCols);
    const THGrid fresh = thGrid;
    thGrid = wanted;
    THRepaintChanges(*thTable, fresh, thGrid);
}

void PaintPanel::undo()
{
    stepHistory(false);
}

void PaintPanel::redo()
{
    stepHistory(true);
}

void PaintPanel::stepHistory(bool forward)
{
    if (m_busy || thDrawing || !thPaintMode)
        return;
    const THGrid shown = thGrid;
    if (forward ? m_history.redo(thGrid) : m_history.undo(thGrid)) {
        setSelection(QRect()); // it held cells of another picture
        showGrid(shown);
    }
}
