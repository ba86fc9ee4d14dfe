// The paint panel on its own, built as the main window builds it: painting
// with real mouse events, brushes and keys, canvas modes, sizes, text mode,
// files and undo. The canvas must always show what the grid holds.

#include "paintfixtures.h"

#include "paint/paintpanel.h"
#include "paint/thcanvas.h"
#include "paint/thtext.h"

#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "findcontrol.h"
#include "specialfiles.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace PaintFixtures;
using namespace Qt::StringLiterals;

namespace {

const QString kHint = QStringLiteral("『Zantoria』提醒您：）");
const QString kModeQuestion =
    QStringLiteral("切换画板模式会重新初始化画板，画板上的所有内容将被清除，真的要切换画板模式吗？");
const QString kOpenFailed = QStringLiteral("打开文件时出现错误！文件不存在或是已经损坏：O");

// A pixel inside the cell (col, row), `dx` and `dy` from its top-left inside corner.
QPoint inCell(int col, int row, int dx = 3, int dy = 7)
{
    return QPoint(col * 9 + 1 + dx, row * 16 + 1 + dy);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class TestPaintPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void accessibleNames();
    void hoverFrames();

    void pressPaintsWithoutAMoveFirst();
    void otherButtonsOnlyChooseTheBrush();
    void positionLabel();
    void strokeRepaintsOnlyItsCells();
    void releaseLostToAnotherWindowEndsTheStroke();
    void scrollBarsMoveTheCanvas();
    void keyboardBrushes();
    void brushInputs();
    void eraser();

    void modeQuestionAnsweredNoKeepsTheGrid();
    void modeQQ();
    void modeWithoutFullWidthBrushes();
    void sizeBoxes_data();
    void sizeBoxes();
    void rebuildAndClear();

    void exportOfAFreshGrid();
    void importWithAutoSize();
    void importWithoutAutoSize();
    void importIntoQQMode();
    void importOfAnEmptyText();
    void importIsAloneWhileItRuns();
    void autoSizeChangedDuringAnImport();

    void openArtTextFile();
    void openReadsOtherEncodingsAndSavesBackInThem_data();
    void openReadsOtherEncodingsAndSavesBackInThem();
    void openRefusesWhatIsNoText_data();
    void openRefusesWhatIsNoText();
    void openRefusesWhatIsNoFile_data();
    void openRefusesWhatIsNoFile();
    void openCancelledChangesNothing_data();
    void openCancelledChangesNothing();
    void saveWritesTheCodePage();
    void saveAsksBeforeOverwriting();
    void saveFailures();

    void undoRedoAcrossStrokesClearAndImport();
    void canvasAlwaysShowsTheGrid();

    void shapesFollowThePointer_data();
    void shapesFollowThePointer();
    void selectionThroughKeysAndToolPanel();
    void selectionMovesByDragging();
    void copyRefusedLosesNothing();
    void inputMethodSetsTheBrush();

private:
    template<typename T>
    T *control(const QString &name) const
    {
        return findControl<T>(m_panel.get(), name);
    }
    THCanvas *canvas() const { return m_panel->canvas(); }
    DisplayArea *textBox() const { return m_panel->displayArea(); }
    CoolButton *button(int i) const { return control<CoolButton>(QStringLiteral("btnTH%1").arg(i)); }
    void show();
    void resize(int cols, int rows);
    bool canvasAgrees() const;
    QString canvasDifference() const;
    void press(QPoint pos, Qt::MouseButton button = Qt::LeftButton);
    void move(QPoint pos);
    void release(QPoint pos, Qt::MouseButton button = Qt::LeftButton);
    void switchToTextMode();
    void importText(const QString &text, bool autoSize);
    void selectCells(const QString &text, int fromCol, int toCol, int toRow = 0);

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    std::unique_ptr<PaintPanel> m_panel;
    ScriptedDialogs *m_dialogs = nullptr;
    ColorScheme m_colors = defaultColorScheme();
};

void TestPaintPanel::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    m_ctx = std::make_unique<TestContext>(m_dir->path());
    m_dialogs = &m_ctx->dialogs;
    m_panel = std::make_unique<PaintPanel>(m_ctx->context);
    m_panel->InitTH();
}

void TestPaintPanel::cleanup()
{
    m_panel.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestPaintPanel::show()
{
    m_panel->show();
    m_panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
}

void TestPaintPanel::resize(int cols, int rows)
{
    control<QComboBox>("comTHw")->setEditText(QString::number(cols));
    control<QComboBox>("comTHh")->setEditText(QString::number(rows));
    m_panel->btnTH_Click(3);
    QCOMPARE(m_panel->cols(), cols);
    QCOMPARE(m_panel->rows(), rows);
}

QString TestPaintPanel::canvasDifference() const
{
    return firstDifference(canvas()->image(), freshRender(m_panel->grid(), canvas()->lineColor()));
}

bool TestPaintPanel::canvasAgrees() const
{
    return canvas()->image() == freshRender(m_panel->grid(), canvas()->lineColor());
}

void TestPaintPanel::press(QPoint pos, Qt::MouseButton button)
{
    QTest::mousePress(canvas(), button, Qt::NoModifier, pos);
}

void TestPaintPanel::move(QPoint pos)
{
    QTest::mouseMove(canvas(), pos);
}

void TestPaintPanel::release(QPoint pos, Qt::MouseButton button)
{
    QTest::mouseRelease(canvas(), button, Qt::NoModifier, pos);
}

void TestPaintPanel::switchToTextMode()
{
    QVERIFY(m_panel->paintMode());
    m_panel->btnTH_Click(4);
    QVERIFY(!m_panel->paintMode());
}

void TestPaintPanel::importText(const QString &text, bool autoSize)
{
    control<QCheckBox>("chkTHAutoSize")->setChecked(autoSize);
    switchToTextMode();
    textBox()->setText(text);
    m_panel->btnTH_Click(4);
    QVERIFY(m_panel->paintMode());
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
}

// Shows `text` on the canvas and selects from its first row's column
// `fromCol` to (toCol, toRow) with the selection tool.
void TestPaintPanel::selectCells(const QString &text, int fromCol, int toCol, int toRow)
{
    show();
    importText(text, false);
    control<QRadioButton>("thOptTool5")->setChecked(true);
    press(inCell(fromCol, 0));
    move(inCell(toCol, toRow));
    release(inCell(toCol, toRow));
    canvas()->setFocus();
}

void TestPaintPanel::startState()
{
    QCOMPARE(m_panel->geometry(), QRect(5, 5, 417, 385));
    QVERIFY(m_panel->isHidden());
    QCOMPARE(m_panel->backColor(), m_colors.BackColor);
    QCOMPARE(m_panel->cols(), 60);
    QCOMPARE(m_panel->rows(), 20);
    QCOMPARE(m_panel->maxCols(), 120);
    QCOMPARE(m_panel->maxRows(), 120);
    QCOMPARE(m_panel->grid().rows(), 20);
    QCOMPARE(m_panel->grid().cols(), 60);
    QCOMPARE(canvas()->size(), QSize(541, 321));
    QVERIFY(canvasAgrees());
    QVERIFY(m_panel->paintMode());
    QVERIFY(textBox()->isHidden());
    QVERIFY(!control<QWidget>("thContainer")->isHidden());
    QVERIFY(textBox()->isEmpty());
    // Text mode shows the canvas's characters: 宋体 10.5 points (14 pixels),
    // unsmoothed.
    const QFont shown = textBox()->font();
    const QFont canvasFont = Fonts::crispFont(Fonts::kSongTi, 10.5);
    QCOMPARE(shown.family(), canvasFont.family());
    QCOMPARE(shown.pixelSize(), 14);
    QVERIFY(shown.styleStrategy() & QFont::NoAntialias);
    QCOMPARE(textBox()->fontPointSize(), 10.5);
    QCOMPARE(m_panel->displayArea()->objectName(), QStringLiteral("thTextBox"));

    QCOMPARE(control<QGroupBox>("thFrame0")->title(), QStringLiteral("涂画字符"));
    QCOMPARE(control<QGroupBox>("thFrame1")->title(), QStringLiteral("涂画工具"));
    QCOMPARE(control<QGroupBox>("thFrame2")->title(), QStringLiteral("画板模式"));
    QCOMPARE(control<QGroupBox>("thFrame3")->title(), QStringLiteral("当前画板尺寸:60x20"));
    QCOMPARE(control<QGroupBox>("thFrame3")->toolTip(), QStringLiteral("画板尺寸：(1x1)～(120x120)"));
    QVERIFY(control<QRadioButton>("thOptMode0")->isChecked());
    QCOMPARE(control<QRadioButton>("thOptMode1")->text(), QStringLiteral("QQ模式(68x8)"));

    auto *w = control<QComboBox>("comTHw");
    auto *h = control<QComboBox>("comTHh");
    QCOMPARE(w->count(), 120);
    QCOMPARE(h->count(), 120);
    QCOMPARE(w->itemText(0), QStringLiteral("1"));
    QCOMPARE(w->currentText(), QStringLiteral("60"));
    QCOMPARE(h->currentText(), QStringLiteral("20"));
    QVERIFY(!control<QCheckBox>("chkTHAutoSize")->isChecked());
    QVERIFY(!m_panel->autoSize());

    QVERIFY(control<QRadioButton>("thOptChar0")->isChecked());
    QVERIFY(control<QLineEdit>("thBJChar")->isEnabled());
    QVERIFY(!control<QComboBox>("thQJChar")->isEnabled());
    QVERIFY(!control<QLabel>("thlblChar1")->isEnabled());
    QCOMPARE(control<QLabel>("thlblChar0")->text(), QStringLiteral("字符："));
    QCOMPARE(m_panel->brush(), QStringLiteral("#"));
    QVERIFY(m_panel->pen());
    QVERIFY(control<QRadioButton>("thOptTool0")->isChecked());
    auto *symbols = control<QComboBox>("thQJChar");
    QCOMPARE(symbols->count(), 60);
    QCOMPARE(symbols->itemText(0), QStringLiteral("　"));
    QCOMPARE(symbols->currentText(), QStringLiteral("⊙"));
    QCOMPARE(control<QLineEdit>("thBJChar")->toolTip(),
             QStringLiteral("在涂画过程中，可以用键盘来变换半角涂画字符：)"));
    QCOMPARE(control<QLabel>("thlblCurC")->text(), QStringLiteral("当前坐标：[尚未进入画板]"));

    // Buttons 0, 1, 2 and 4 are padded twice, button 3 carries a picture only.
    QCOMPARE(button(0)->caption(), QStringLiteral("清空画板") + QString(12, QChar(0x3000)));
    QCOMPARE(button(1)->caption(), QStringLiteral("导入字符画文件") + QString(21, QChar(0x3000)));
    QCOMPARE(button(4)->caption(), QStringLiteral("文本模式") + QString(12, QChar(0x3000)));
    QVERIFY(button(3)->caption().isEmpty());
    QVERIFY(!button(3)->buttonIcon().isNull());
    QCOMPARE(button(3)->toolTip(), QStringLiteral("重建画板会清空当前涂画区与文本区的所有内容：O"));
    QCOMPARE(button(4)->toolTip(), QStringLiteral("操作模式切换"));
    QCOMPARE(control<QCheckBox>("chkTHAutoSize")->toolTip(),
             QStringLiteral("自动适应文本模式的行列数，如果超过画板最大的行列数，多余的将被截去，"
                            "同时文本模式相应的字符也会被截去：）"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestPaintPanel::accessibleNames()
{
    const QList<QPair<const char *, const char *>> names = {
        {"thOptChar0", "半角涂画字符"}, {"thBJChar", "半角涂画字符"}, {"thOptChar1", "全角涂画字符"},
        {"thOptTool0", "画笔"},         {"thOptTool1", "橡皮"},
        {"thOptMode2", "ICQ模式(无全角涂画字符)"},
        {"chkTHAutoSize", "自动适应文本模式"}, {"thTable", "画板"}, {"thTextBox", "文本模式"},
        {"thHS", "画板水平滚动"}, {"thVS", "画板垂直滚动"}, {"btnTH3", "重建画板"},
    };
    for (const auto &[name, expected] : names)
        QCOMPARE(accessibleName(control<QWidget>(QString::fromLatin1(name))), QString::fromUtf8(expected));
    // On this platform an editable list's name is the text in it; what it is
    // for comes from the label it is labelled by.
    const QList<QPair<const char *, const char *>> labelled = {
        {"comTHw", "宽："}, {"comTHh", "高："}, {"thQJChar", "字符："}, {"thBJChar", "字符："}};
    for (const auto &[name, label] : labelled) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control<QWidget>(QString::fromLatin1(name)));
        QStringList labels;
        for (const auto &relation : iface->relations(QAccessible::Label))
            labels << relation.first->text(QAccessible::Name);
        QVERIFY2(labels.contains(QString::fromUtf8(label)), qPrintable(name + (u' ' + labels.join(u','))));
    }
    // Named by their labels, without the colon, as every other control.
    QCOMPARE(control<QWidget>("comTHw")->accessibleName(), QStringLiteral("宽"));
    QCOMPARE(control<QWidget>("comTHh")->accessibleName(), QStringLiteral("高"));
}

void TestPaintPanel::hoverFrames()
{
    auto *reset = control<PanelBox>("thPicReset");
    QCOMPARE(reset->frameColor(button(3)), m_colors.NormLineColor);
    for (int i : {0, 1, 2, 4}) {
        CoolButton *b = button(i);
        QCOMPARE(m_panel->frameColor(b), m_colors.NormLineColor);
        Q_EMIT b->MouseMove(Qt::NoButton, Qt::NoModifier, 3, 3);
        QCOMPARE(m_panel->frameColor(b), m_colors.HotLineColor);
        QCOMPARE(b->buttonBackColor(), m_colors.HotBackColor);
    }
    // A button that opens a dialog never sees the pointer leave: its frame
    // is put to rest before the dialog.
    m_dialogs->answers.enqueue(false);
    m_panel->btnTH_Click(0);
    m_dialogs->files.enqueue(std::nullopt);
    m_panel->btnTH_Click(1);
    m_dialogs->files.enqueue(std::nullopt);
    m_panel->btnTH_Click(2);
    for (int i : {0, 1, 2}) {
        QCOMPARE(m_panel->frameColor(button(i)), m_colors.NormLineColor);
        QCOMPARE(button(i)->buttonBackColor(), m_colors.BackColor);
    }
    Q_EMIT button(3)->MouseMove(Qt::NoButton, Qt::NoModifier, 3, 3);
    QCOMPARE(reset->frameColor(button(3)), m_colors.HotLineColor);
    Q_EMIT button(3)->MouseOut();
    QCOMPARE(reset->frameColor(button(3)), m_colors.NormLineColor);
}

void TestPaintPanel::pressPaintsWithoutAMoveFirst()
{
    show();
    press(inCell(7, 2));
    QVERIFY(m_panel->drawing());
    release(inCell(7, 2));
    QVERIFY(!m_panel->drawing());
    QCOMPARE(m_panel->grid().at(2, 7).text(), QStringLiteral("#"));
    QCOMPARE(m_panel->curCol(), 7);
    QCOMPARE(m_panel->curRow(), 2);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    // A stroke: every cell the pointer passes through while the button is held.
    press(inCell(1, 5));
    for (int c = 2; c <= 6; ++c)
        move(inCell(c, 5));
    release(inCell(6, 5));
    QCOMPARE(rowCells(m_panel->grid(), 5).left(8), QStringLiteral(" ###### "));
    // Moving without the button paints nothing.
    move(inCell(9, 5));
    QCOMPARE(m_panel->grid().at(5, 9).Ch, char32_t(U' '));
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
}

void TestPaintPanel::otherButtonsOnlyChooseTheBrush()
{
    show();
    control<QRadioButton>("thOptTool1")->setChecked(true);
    press(inCell(3, 3), Qt::RightButton);
    release(inCell(3, 3), Qt::RightButton);
    QCOMPARE(m_panel->brush(), QStringLiteral(" "));
    QVERIFY(!m_panel->drawing());
    QVERIFY(m_panel->grid() == THGrid(20, 60));
    control<QRadioButton>("thOptTool0")->setChecked(true);
    control<QRadioButton>("thOptChar1")->setChecked(true);
    control<QRadioButton>("thOptChar0")->setChecked(true);
    control<QRadioButton>("thOptChar1")->setChecked(true);
    press(inCell(3, 3), Qt::MiddleButton);
    release(inCell(3, 3), Qt::MiddleButton);
    QCOMPARE(m_panel->brush(), QStringLiteral("⊙"));
    QVERIFY(m_panel->grid() == THGrid(20, 60));
}

void TestPaintPanel::positionLabel()
{
    show();
    auto *label = control<QLabel>("thlblCurC");
    move(QPoint(1, 1));
    QCOMPARE(label->text(), QStringLiteral("当前坐标：(行1,列1)"));
    move(QPoint(100, 40));
    QCOMPARE(label->text(), QStringLiteral("当前坐标：(行3,列12)"));
    // The closing grid lines still count as inside.
    resize(10, 5);
    move(QPoint(90, 80));
    QCOMPARE(label->text(), QStringLiteral("当前坐标：(行6,列11)"));
    move(QPoint(0, 40));
    QCOMPARE(label->text(), QStringLiteral("当前坐标：[尚未进入画板]"));
    move(QPoint(100, 40));
    QTest::mouseMove(m_panel.get(), QPoint(200, 376));
    QCOMPARE(label->text(), QStringLiteral("当前坐标：[尚未进入画板]"));
}

void TestPaintPanel::strokeRepaintsOnlyItsCells()
{
    show();
    QTest::qWait(20);
    QRegion painted;
    struct Spy : QObject
    {
        QRegion *region;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                *region += static_cast<QPaintEvent *>(e)->region();
            return false;
        }
    } spy;
    spy.region = &painted;
    canvas()->installEventFilter(&spy);
    control<QRadioButton>("thOptChar1")->setChecked(true);
    press(inCell(4, 2));
    release(inCell(4, 2));
    QTRY_VERIFY(!painted.isEmpty());
    // The character's two cells with their borders, nothing more.
    QVERIFY2(QRegion(QRect(36, 32, 19, 17)).contains(painted.boundingRect()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(painted.boundingRect().x())
                            .arg(painted.boundingRect().y())
                            .arg(painted.boundingRect().width())
                            .arg(painted.boundingRect().height())));
}

void TestPaintPanel::releaseLostToAnotherWindowEndsTheStroke()
{
    show();
    press(inCell(1, 1));
    QVERIFY(m_panel->drawing());
    // The pointer comes back with no button held: the release went elsewhere.
    move(inCell(3, 1));
    QTest::mouseMove(canvas(), inCell(4, 1));
    QMouseEvent bare(QEvent::MouseMove, QPointF(inCell(5, 1)), canvas()->mapToGlobal(QPointF(inCell(5, 1))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas(), &bare);
    QVERIFY(!m_panel->drawing());
    QCOMPARE(m_panel->grid().at(1, 5).Ch, char32_t(U' '));
    QCOMPARE(m_panel->history().undoCount(), std::size_t(1));
}

void TestPaintPanel::scrollBarsMoveTheCanvas()
{
    auto *hs = control<QScrollBar>("thHS");
    auto *vs = control<QScrollBar>("thVS");
    const QSize room = control<QWidget>("thContainer")->size();
    QVERIFY(hs->isEnabled());
    QCOMPARE(hs->minimum(), room.width());
    QCOMPARE(hs->maximum(), 541);
    QCOMPARE(hs->pageStep(), 9);
    QCOMPARE(vs->minimum(), room.height());
    QCOMPARE(vs->maximum(), 321);
    QCOMPARE(vs->pageStep(), 16);
    QCOMPARE(canvas()->pos(), QPoint(0, 0));
    hs->setValue(hs->maximum());
    vs->setValue(vs->maximum());
    QCOMPARE(canvas()->geometry().right(), room.width() - 1);
    QCOMPARE(canvas()->geometry().bottom(), room.height() - 1);
    // A small canvas needs no scrolling.
    resize(10, 5);
    QVERIFY(!hs->isEnabled());
    QVERIFY(!vs->isEnabled());
    QCOMPARE(canvas()->pos(), QPoint(0, 0));
}

void TestPaintPanel::keyboardBrushes()
{
    show();
    canvas()->setFocus();
    QTest::keyClick(canvas(), Qt::Key_7);
    QCOMPARE(control<QLineEdit>("thBJChar")->text(), QStringLiteral("7"));
    QCOMPARE(m_panel->brush(), QStringLiteral("7"));
    QVERIFY(m_panel->grid() == THGrid(20, 60)); // typing never draws
    QKeyEvent chinese(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("中"));
    QCoreApplication::sendEvent(canvas(), &chinese);
    QCOMPARE(m_panel->brush(), QStringLiteral("7"));
    QTest::keyClick(canvas(), Qt::Key_Escape);
    QCOMPARE(m_panel->brush(), QStringLiteral("7"));
    press(inCell(2, 2));
    release(inCell(2, 2));
    QCOMPARE(m_panel->grid().at(2, 2).text(), QStringLiteral("7"));

    // With the full-width brush the keys go on unchanged.
    control<QRadioButton>("thOptChar1")->setChecked(true);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(canvas(), &key);
    QCOMPARE(control<QLineEdit>("thBJChar")->text(), QStringLiteral("7"));
    QCOMPARE(m_panel->brush(), QStringLiteral("⊙"));
}

void TestPaintPanel::brushInputs()
{
    auto *half = control<QLineEdit>("thBJChar");
    auto *full = control<QComboBox>("thQJChar");
    control<QRadioButton>("thOptTool1")->setChecked(true);
    half->setText(QStringLiteral("中"));
    QCOMPARE(half->text(), QStringLiteral(" "));
    QVERIFY(half->hasSelectedText());
    QVERIFY(m_panel->pen()); // a brush chosen is a pen taken up
    half->setText(QString());
    QCOMPARE(half->text(), QStringLiteral(" "));
    half->setText(QStringLiteral("\x01"));
    QCOMPARE(m_panel->brush(), QStringLiteral(" "));
    half->setText(QStringLiteral("k"));
    QCOMPARE(m_panel->brush(), QStringLiteral("k"));

    control<QRadioButton>("thOptChar1")->setChecked(true);
    QVERIFY(!half->isEnabled());
    QVERIFY(full->isEnabled());
    QCOMPARE(m_panel->brush(), QStringLiteral("⊙"));
    full->setEditText(QStringLiteral("中国"));
    QCOMPARE(full->currentText(), QStringLiteral("中"));
    QCOMPARE(m_panel->brush(), QStringLiteral("中"));
    full->setEditText(QStringLiteral("x"));
    QCOMPARE(full->currentText(), QStringLiteral("　"));
    QCOMPARE(m_panel->brush(), QStringLiteral("　"));
    full->setCurrentIndex(10);
    m_panel->thQJChar_Click();
    QCOMPARE(m_panel->brush(), QStringLiteral("★"));
}

void TestPaintPanel::eraser()
{
    show();
    control<QRadioButton>("thOptChar1")->setChecked(true);
    press(inCell(5, 0));
    release(inCell(5, 0));
    QCOMPARE(rowCells(m_panel->grid(), 0).left(8), QStringLiteral("     ⊙_ "));
    control<QRadioButton>("thOptTool1")->setChecked(true);
    QVERIFY(!m_panel->pen());
    press(inCell(6, 0));
    release(inCell(6, 0));
    QCOMPARE(rowCells(m_panel->grid(), 0).left(8), QStringLiteral("        "));
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
}

void TestPaintPanel::modeQuestionAnsweredNoKeepsTheGrid()
{
    show();
    press(inCell(0, 0));
    release(inCell(0, 0));
    const THGrid painted = m_panel->grid();
    m_dialogs->answers.enqueue(false);
    control<QRadioButton>("thOptMode1")->setChecked(true);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, QStringLiteral("question"));
    QCOMPARE(m_dialogs->shown[0].text, kModeQuestion);
    QCOMPARE(m_dialogs->shown[0].title, kHint);
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Question);
    QVERIFY(control<QRadioButton>("thOptMode0")->isChecked());
    QVERIFY(!control<QRadioButton>("thOptMode1")->isChecked());
    QVERIFY(m_panel->grid() == painted);
    QCOMPARE(m_panel->lastMode(), 0);
    QCOMPARE(m_panel->maxCols(), 120);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));

    // Declining while in the mode without full-width brushes keeps them off.
    m_dialogs->answers.enqueue(true);
    control<QRadioButton>("thOptMode2")->setChecked(true);
    m_dialogs->answers.enqueue(false);
    control<QRadioButton>("thOptMode0")->setChecked(true);
    QVERIFY(control<QRadioButton>("thOptMode2")->isChecked());
    QVERIFY(!control<QRadioButton>("thOptChar1")->isEnabled());
}

void TestPaintPanel::modeQQ()
{
    m_dialogs->answers.enqueue(true);
    control<QRadioButton>("thOptMode1")->setChecked(true);
    QCOMPARE(m_panel->cols(), 68);
    QCOMPARE(m_panel->rows(), 8);
    QCOMPARE(m_panel->maxCols(), 68);
    QCOMPARE(m_panel->maxRows(), 8);
    QCOMPARE(control<QComboBox>("comTHw")->count(), 68);
    QCOMPARE(control<QComboBox>("comTHh")->count(), 8);
    QCOMPARE(control<QComboBox>("comTHw")->currentText(), QStringLiteral("68"));
    QCOMPARE(control<QGroupBox>("thFrame3")->title(), QStringLiteral("当前画板尺寸:68x8"));
    QCOMPARE(canvas()->size(), QSize(613, 129));
    m_panel->thFrame_MouseMove();
    QCOMPARE(control<QGroupBox>("thFrame3")->toolTip(), QStringLiteral("画板尺寸：(1x1)～(68x8)"));
    QVERIFY(textBox()->isEmpty());
    QVERIFY(canvasAgrees());
}

void TestPaintPanel::modeWithoutFullWidthBrushes()
{
    show();
    control<QRadioButton>("thOptChar1")->setChecked(true);
    m_dialogs->answers.enqueue(true);
    control<QRadioButton>("thOptMode2")->setChecked(true);
    QVERIFY(control<QRadioButton>("thOptChar0")->isChecked());
    QVERIFY(!control<QRadioButton>("thOptChar1")->isEnabled());
    QCOMPARE(m_panel->cols(), 60);
    QCOMPARE(m_panel->rows(), 20);
    press(inCell(3, 3));
    release(inCell(3, 3));
    QCOMPARE(m_panel->grid().at(3, 3).text(), QStringLiteral("#"));
    QCOMPARE(m_panel->grid().at(3, 4).text(), QStringLiteral(" "));
}

void TestPaintPanel::sizeBoxes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("letters") << 0 << "abc" << "60";
    QTest::newRow("nan") << 0 << "nan" << "60";
    QTest::newRow("inf") << 0 << "inf" << "60";
    QTest::newRow("0") << 0 << "0" << "1";
    QTest::newRow("500") << 0 << "500" << "120";
    QTest::newRow("500 in QQ mode") << 1 << "500" << "68";
    QTest::newRow("a fraction as typed") << 0 << "33.5" << "33.5";
}

void TestPaintPanel::sizeBoxes()
{
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    if (mode != 0) {
        m_dialogs->answers.enqueue(true);
        control<QRadioButton>(QStringLiteral("thOptMode%1").arg(mode))->setChecked(true);
    }
    auto *w = control<QComboBox>("comTHw");
    w->setEditText(typed);
    QCOMPARE(w->currentText(), kept);
    // The size takes effect only through a rebuild.
    QCOMPARE(m_panel->cols(), mode == 1 ? 68 : 60);
}

void TestPaintPanel::rebuildAndClear()
{
    show();
    press(inCell(0, 0));
    release(inCell(0, 0));
    control<QComboBox>("comTHw")->setEditText(QStringLiteral("12.5"));
    control<QComboBox>("comTHh")->setEditText(QStringLiteral("7"));
    QCOMPARE(m_panel->cols(), 60);
    m_panel->btnTH_Click(3);
    QVERIFY(m_dialogs->shown.isEmpty()); // nothing is asked
    QCOMPARE(m_panel->cols(), 13);
    QCOMPARE(m_panel->rows(), 7);
    QCOMPARE(canvas()->size(), QSize(118, 113));
    QCOMPARE(control<QGroupBox>("thFrame3")->title(), QStringLiteral("当前画板尺寸:13x7"));
    QCOMPARE(textBox()->text(), QStringLiteral(" "));
    QVERIFY(m_panel->grid() == THGrid(7, 13));
    QVERIFY(canvasAgrees());

    press(inCell(2, 2));
    release(inCell(2, 2));
    const THGrid painted = m_panel->grid();
    m_dialogs->answers.enqueue(false);
    m_panel->btnTH_Click(0);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("真的要清空吗？"));
    QCOMPARE(m_dialogs->shown.last().title, kHint);
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Question);
    QVERIFY(m_panel->grid() == painted);
    m_dialogs->answers.enqueue(true);
    m_panel->btnTH_Click(0);
    QVERIFY(m_panel->grid() == THGrid(7, 13));
    QVERIFY(canvasAgrees());
}

void TestPaintPanel::exportOfAFreshGrid()
{
    switchToTextMode();
    QVERIFY(!textBox()->isHidden());
    QVERIFY(control<QWidget>("thContainer")->isHidden());
    QVERIFY(control<QScrollBar>("thHS")->isHidden());
    QVERIFY(button(4)->isEnabled());
    QCOMPARE(button(4)->caption(), QStringLiteral("涂画模式") + QString(4, QChar(0x3000)));
    const QStringList lines = textBox()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 20);
    for (const QString &line : lines)
        QCOMPARE(line, QString(60, u' '));
    m_panel->btnTH_Click(4);
    QCOMPARE(button(4)->caption(), QStringLiteral("文本模式") + QString(4, QChar(0x3000)));
}

void TestPaintPanel::importWithAutoSize()
{
    importText(QStringLiteral("ab中"), true);
    QCOMPARE(m_panel->cols(), 4);
    QCOMPARE(m_panel->rows(), 1);
    QCOMPARE(canvas()->size(), QSize(37, 17));
    QCOMPARE(rowCells(m_panel->grid(), 0), QStringLiteral("ab中_"));
    QCOMPARE(control<QComboBox>("comTHw")->currentText(), QStringLiteral("4"));
    QCOMPARE(textBox()->text(), QStringLiteral("ab中"));
    QCOMPARE(m_panel->brush(), QStringLiteral("#"));
    switchToTextMode();
    QCOMPARE(textBox()->text(), QStringLiteral("ab中"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestPaintPanel::importWithoutAutoSize()
{
    importText(QStringLiteral("ab\r\n中x\r\n★"), false);
    QCOMPARE(m_panel->cols(), 60);
    QCOMPARE(m_panel->rows(), 20);
    QCOMPARE(rowCells(m_panel->grid(), 0).left(4), QStringLiteral("ab  "));
    QCOMPARE(rowCells(m_panel->grid(), 1).left(4), QStringLiteral("中_x "));
    QCOMPARE(rowCells(m_panel->grid(), 2).left(4), QStringLiteral("★_  "));
    QCOMPARE(rowCells(m_panel->grid(), 3), QString(60, u' '));
    QCOMPARE(textBox()->text(), QStringLiteral(" "));
    // Lines wider than the canvas are cut at its edge; a full-width
    // character that would reach past it is dropped.
    resize(5, 2);
    importText(QStringLiteral("abcdefg\r\nabcd中"), false);
    QCOMPARE(rowCells(m_panel->grid(), 0), QStringLiteral("abcde"));
    QCOMPARE(rowCells(m_panel->grid(), 1), QStringLiteral("abcd "));
}

void TestPaintPanel::importIntoQQMode()
{
    m_dialogs->answers.enqueue(true);
    control<QRadioButton>("thOptMode1")->setChecked(true);
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines << QStringLiteral("line %1").arg(i);
    importText(lines.join(QStringLiteral("\r\n")), true);
    QCOMPARE(m_panel->rows(), 8);
    QCOMPARE(m_panel->cols(), 7);
    // The widest line counts even when it is cut away with the rows past the limit.
    QStringList shown = lines.mid(0, 8);
    for (QString &line : shown)
        line += u' ';
    QCOMPARE(textBox()->text(), shown.join(QStringLiteral("\r\n")));
}

void TestPaintPanel::importOfAnEmptyText()
{
    importText(QString(), true);
    QCOMPARE(m_panel->cols(), 1);
    QCOMPARE(m_panel->rows(), 1);
    QCOMPARE(rowCells(m_panel->grid(), 0), QStringLiteral(" "));
    QCOMPARE(textBox()->text(), QStringLiteral(" "));
}

void TestPaintPanel::importIsAloneWhileItRuns()
{
    show();
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("中文 and ASCII %1").arg(i);
    control<QCheckBox>("chkTHAutoSize")->setChecked(true);
    switchToTextMode();
    textBox()->setText(lines.join(QStringLiteral("\r\n")));
    int tries = 0;
    // Everything else the panel does is tried from the pauses the switch makes.
    QTimer::singleShot(0, m_panel.get(), [&] {
        QVERIFY(m_panel->isBusy());
        ++tries;
        m_dialogs->answers.enqueue(true);
        m_dialogs->answers.enqueue(true);
        m_panel->btnTH_Click(0);
        m_panel->btnTH_Click(3);
        m_dialogs->files.enqueue(m_dir->file(QStringLiteral("x.txt")));
        m_panel->btnTH_Click(1);
        m_panel->btnTH_Click(2);
        m_panel->btnTH_Click(4);
        control<QRadioButton>("thOptMode1")->setChecked(true);
        press(inCell(0, 0));
        release(inCell(0, 0));
        m_panel->undo();
    });
    m_panel->btnTH_Click(4);
    QCOMPARE(tries, 1);
    QVERIFY(!m_panel->isBusy());
    QVERIFY(m_dialogs->shown.isEmpty());
    QVERIFY(control<QRadioButton>("thOptMode0")->isChecked());
    QCOMPARE(m_panel->rows(), 40);
    QCOMPARE(rowCells(m_panel->grid(), 0).left(5), QStringLiteral("中_文_ "));
    QVERIFY(button(4)->isEnabled());
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
}

void TestPaintPanel::autoSizeChangedDuringAnImport()
{
    // Lines of unequal length: with auto size the text comes back padded
    // to the widest, without it the text stays as typed.
    show();
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("line %1").arg(i);
    const QString typed = lines.join(QStringLiteral("\r\n"));
    control<QCheckBox>("chkTHAutoSize")->setChecked(true);
    switchToTextMode();
    textBox()->setText(typed);
    int rowsSeen = 0;
    QTimer untick;
    connect(&untick, &QTimer::timeout, this, [&] {
        if (m_panel->isBusy() && ++rowsSeen == 2)
            control<QCheckBox>("chkTHAutoSize")->setChecked(false);
    });
    untick.start(0);
    m_panel->btnTH_Click(4);
    untick.stop();
    QVERIFY(rowsSeen >= 2);
    QVERIFY(!m_panel->autoSize()); // for the next import
    // This one ended as it began: sized to the text, and the text from the grid.
    QCOMPARE(m_panel->rows(), 40);
    QCOMPARE(m_panel->cols(), 7);
    QCOMPARE(textBox()->text(), thGridToText(m_panel->grid()));
    QVERIFY(textBox()->text() != typed);
}

void TestPaintPanel::openArtTextFile()
{
    const QString path = m_dir->file(QStringLiteral("art.TXT"));
    writeBytes(path, TextCodec::encode(u"  ★★\r\n 中国 \r\nab  \r\n"));
    control<QCheckBox>("chkTHAutoSize")->setChecked(true);
    m_dialogs->files.enqueue(path);
    m_panel->btnTH_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, QStringLiteral("open"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("*.TXT (*.TXT *.txt)"));
    QCOMPARE(m_dialogs->shown[0].title, QString());
    QCOMPARE(m_panel->rows(), 3); // the final line break adds no row
    QCOMPARE(m_panel->cols(), 6);
    QCOMPARE(rowCells(m_panel->grid(), 1), QStringLiteral(" 中_国_ "));
    QCOMPARE(textBox()->text(), QStringLiteral("  ★★\r\n 中国 \r\nab    "));
    QVERIFY(canvasAgrees());

    // In text mode the file only goes into the text.
    switchToTextMode();
    writeBytes(path, TextCodec::encode(u"xyz"));
    m_dialogs->files.enqueue(path);
    m_panel->btnTH_Click(1);
    QCOMPARE(textBox()->text(), QStringLiteral("xyz"));
    QCOMPARE(m_panel->cols(), 6);
}

void TestPaintPanel::openReadsOtherEncodingsAndSavesBackInThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("UTF-8") << QStringLiteral(" ★中\n国 \n").toUtf8() << QByteArray("UTF-8");
    // NUL bytes, but no NUL character.
    QTest::newRow("UTF-16 LE with a mark") << QByteArray(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                                                             .encode(QStringLiteral(" ★中\n国 \n")))
                                           << QByteArray("UTF-16LE");
}

void TestPaintPanel::openReadsOtherEncodingsAndSavesBackInThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, encoding);
    const QString path = m_dir->file(QStringLiteral("art.txt"));
    writeBytes(path, bytes);
    control<QCheckBox>("chkTHAutoSize")->setChecked(true);
    m_dialogs->files.enqueue(path);
    m_panel->btnTH_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(rowCells(m_panel->grid(), 0), QStringLiteral(" ★_中_"));
    QCOMPARE(textBox()->text(), QStringLiteral(" ★中\r\n国   "));
    // Saved under its own name: its encoding and line ends.
    m_dialogs->files.enqueue(path);
    m_dialogs->answers.enqueue(true);
    m_panel->btnTH_Click(2);
    const QByteArray mark = bytes.startsWith("\xFF\xFE") ? QByteArray("\xFF\xFE") : QByteArray();
    QCOMPARE(readBytes(path).toHex(' '),
             QByteArray(mark).append(QStringEncoder(encoding.constData()).encode(QStringLiteral(" ★中\n国   "))).toHex(' '));
}

void TestPaintPanel::openRefusesWhatIsNoText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");
    QByteArray binary(3000, '\0');
    QRandomGenerator random(3);
    for (char &b : binary)
        b = char(random.bounded(256));
    binary[10] = '\0';
    QTest::newRow("binary with NUL bytes") << binary << true;
    QTest::newRow("NUL characters") << QByteArray("ab\0cd", 5) << true;
    QTest::newRow("huge file") << QByteArray(1024 * 1024 + 1, 'x') << true;
    QByteArray longest = QByteArray("ab\r\n").repeated(1024 * 1024 / 4 - 1) + QByteArray(1024 * 1024 % 4 + 4, 'x');
    QTest::newRow("largest file taken, one long line") << QByteArray(1024 * 1024, 'x') << false;
    QTest::newRow("largest file taken, many lines") << longest << false;
    QByteArray noise(3000, 'a');
    for (char &b : noise)
        b = char(random.bounded(1, 256));
    QTest::newRow("high bytes and control codes") << noise << false;
}

void TestPaintPanel::openRefusesWhatIsNoText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    const QString path = m_dir->file(QStringLiteral("b.txt"));
    writeBytes(path, bytes);
    control<QCheckBox>("chkTHAutoSize")->setChecked(true);
    m_dialogs->files.enqueue(path);
    QElapsedTimer clock;
    clock.start();
    m_panel->btnTH_Click(1);
    QVERIFY(clock.elapsed() < 5000);
    if (refused) {
        QCOMPARE(m_dialogs->shown.size(), 2);
        QCOMPARE(m_dialogs->shown[1].text, kOpenFailed);
        QCOMPARE(m_dialogs->shown[1].title, QStringLiteral("出错了：（"));
        QCOMPARE(m_dialogs->shown[1].icon, Dialogs::Icon::Critical);
        QVERIFY(textBox()->isEmpty());
        QVERIFY(m_panel->grid() == THGrid(20, 60));
    } else {
        QCOMPARE(m_dialogs->shown.size(), 1);
        QVERIFY(m_panel->cols() <= 120 && m_panel->rows() <= 120);
        QVERIFY(keepsTheRule(m_panel->grid()));
        QVERIFY(canvasAgrees());
    }
}

void TestPaintPanel::openRefusesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO, which nobody writes") << "fifo";
    QTest::newRow("device that never ends") << "device";
    QTest::newRow("directory") << "dir";
    QTest::newRow("missing file") << "missing";
}

void TestPaintPanel::openRefusesWhatIsNoFile()
{
    QFETCH(QString, kind);
    const SpecialFile special(kind, m_dir->file(QStringLiteral("art.txt")));
    if (!special.available())
        QSKIP("nothing of the kind here");
    textBox()->setText(QStringLiteral("kept"));
    m_dialogs->files.enqueue(special.path());
    m_panel->btnTH_Click(1);
    QVERIFY2(!special.heldUp(), "the import waited on the FIFO");
    QCOMPARE(m_dialogs->shown.size(), 2);
    QCOMPARE(m_dialogs->shown[1].text, kOpenFailed);
    QCOMPARE(m_dialogs->shown[1].title, QStringLiteral("出错了：（"));
    QCOMPARE(m_dialogs->shown[1].icon, Dialogs::Icon::Critical);
    QCOMPARE(textBox()->text(), QStringLiteral("kept"));
    QVERIFY(!m_panel->isBusy());
}

void TestPaintPanel::openCancelledChangesNothing_data()
{
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QString>("answer");
    QTest::newRow("paint mode, cancelled") << false << QString();
    QTest::newRow("text mode, cancelled") << true << QString();
    QTest::newRow("paint mode, blanks") << false << "   ";
}

void TestPaintPanel::openCancelledChangesNothing()
{
    QFETCH(bool, textMode);
    QFETCH(QString, answer);
    if (textMode)
        switchToTextMode();
    const QString text = textBox()->text();
    m_dialogs->files.enqueue(answer.isNull() ? std::nullopt : std::optional<QString>(answer));
    m_panel->btnTH_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(textBox()->text(), text);
    QVERIFY(m_panel->grid() == THGrid(20, 60));
    QCOMPARE(m_panel->paintMode(), !textMode);
}

void TestPaintPanel::saveWritesTheCodePage()
{
    show();
    resize(4, 2);
    control<QRadioButton>("thOptChar1")->setChecked(true);
    control<QComboBox>("thQJChar")->setEditText(QStringLiteral("中"));
    press(inCell(1, 1));
    release(inCell(1, 1));
    const QString path = m_dir->file(QStringLiteral("out.txt"));
    m_dialogs->files.enqueue(path);
    m_panel->btnTH_Click(2);
    QCOMPARE(m_dialogs->shown.last().kind, QStringLiteral("save"));
    QCOMPARE(m_dialogs->shown.last().text, QString()); // no filter until the open dialog set one
    QCOMPARE(readBytes(path), QByteArray("    \r\n \xd6\xd0 "));
    QCOMPARE(textBox()->text(), QStringLiteral("    \r\n 中 "));

    // After an open, the save dialog offers text files too.
    m_dialogs->files.enqueue(std::nullopt);
    m_panel->btnTH_Click(1);
    m_dialogs->files.enqueue(m_dir->file(QStringLiteral("second.txt")));
    m_panel->btnTH_Click(2);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("*.TXT (*.TXT *.txt)"));

    // In text mode the text is saved as it stands.
    switchToTextMode();
    textBox()->setText(QStringLiteral("edited"));
    m_dialogs->files.enqueue(m_dir->file(QStringLiteral("third.txt")));
    m_panel->btnTH_Click(2);
    QCOMPARE(readBytes(m_dir->file(QStringLiteral("third.txt"))), QByteArray("edited"));
}

void TestPaintPanel::saveAsksBeforeOverwriting()
{
    const QString path = m_dir->file(QStringLiteral("old.txt"));
    writeBytes(path, "keep me");
    m_dialogs->files.enqueue(path);
    m_dialogs->answers.enqueue(false);
    m_panel->btnTH_Click(2);
    QCOMPARE(m_dialogs->shown.size(), 2);
    QCOMPARE(m_dialogs->shown[1].text, QStringLiteral("文件") + path + QStringLiteral("已经存在，是否覆盖？"));
    QCOMPARE(m_dialogs->shown[1].title, kHint);
    QCOMPARE(m_dialogs->shown[1].icon, Dialogs::Icon::Question);
    QCOMPARE(readBytes(path), QByteArray("keep me"));
    QVERIFY(textBox()->isEmpty()); // nothing converted either

    m_dialogs->files.enqueue(QStringLiteral("  ") + path + QStringLiteral(" "));
    m_dialogs->answers.enqueue(true);
    m_panel->btnTH_Click(2);
    QCOMPARE(readBytes(path).size(), 20 * 62 - 2);
}

void TestPaintPanel::saveFailures()
{
    m_dialogs->files.enqueue(m_dir->file(QStringLiteral("missing/dir/x.txt")));
    m_panel->btnTH_Click(2);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("保存的文件路径无效！"));
    QCOMPARE(m_dialogs->shown.last().title, kHint);
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Information);
    QVERIFY(!QFileInfo::exists(m_dir->file(QStringLiteral("missing"))));

    // A folder by that name: it exists, the user says overwrite, and the
    // write fails without harm.
    QDir().mkpath(m_dir->file(QStringLiteral("folder.txt")));
    m_dialogs->files.enqueue(m_dir->file(QStringLiteral("folder.txt")));
    m_dialogs->answers.enqueue(true);
    m_panel->btnTH_Click(2);
    QVERIFY(m_dialogs->shown.last().text.startsWith(QStringLiteral("保存时出现错误！\r\n")));
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("保存文件出错了：（"));
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Exclamation);
    QVERIFY(QFileInfo(m_dir->file(QStringLiteral("folder.txt"))).isDir());

    // A FIFO: refused at once, without a question and without waiting for
    // a reader that may never come.
    const SpecialFile fifo(QStringLiteral("fifo"), m_dir->file(QStringLiteral("pipe.txt")));
    if (!fifo.available())
        QSKIP("no FIFOs here");
    const qsizetype before = m_dialogs->shown.size();
    m_dialogs->files.enqueue(fifo.path());
    m_dialogs->answers.enqueue(true);
    m_panel->btnTH_Click(2);
    QVERIFY2(!fifo.heldUp(), "the save waited for a reader");
    QCOMPARE(m_dialogs->shown.size(), before + 2);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("保存时出现错误！"));
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("保存文件出错了：（"));
}

void TestPaintPanel::undoRedoAcrossStrokesClearAndImport()
{
    show();
    QTRY_VERIFY(QApplication::activeWindow() == m_panel.get());
    const THGrid fresh = m_panel->grid();
    press(inCell(1, 1));
    move(inCell(2, 1));
    move(inCell(3, 1));
    release(inCell(3, 1));
    const THGrid oneStroke = m_panel->grid();
    control<QRadioButton>("thOptChar1")->setChecked(true);
    press(inCell(2, 1)); // over the stroke
    release(inCell(2, 1));
    const THGrid twoStrokes = m_panel->grid();
    QCOMPARE(rowCells(twoStrokes, 1).left(5), QStringLiteral(" #⊙_ "));
    m_dialogs->answers.enqueue(true);
    m_panel->btnTH_Click(0);
    QVERIFY(m_panel->grid() == fresh);
    importText(QStringLiteral("ab中"), true); // another size, too
    const THGrid imported = m_panel->grid();
    QCOMPARE(imported.cols(), 4);

    canvas()->setFocus();
    const auto undo = [this] { QTest::keyClick(canvas(), Qt::Key_Z, Qt::ControlModifier); };
    const auto redo = [this] { QTest::keyClick(canvas(), Qt::Key_Y, Qt::ControlModifier); };
    undo(); // the import
    QVERIFY(m_panel->grid() == fresh);
    QCOMPARE(m_panel->cols(), 60);
    QCOMPARE(control<QGroupBox>("thFrame3")->title(), QStringLiteral("当前画板尺寸:60x20"));
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    undo(); // the clear
    QVERIFY(m_panel->grid() == twoStrokes);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    undo();
    QVERIFY(m_panel->grid() == oneStroke);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    undo();
    QVERIFY(m_panel->grid() == fresh);
    undo(); // nothing more
    QVERIFY(m_panel->grid() == fresh);
    redo();
    QVERIFY(m_panel->grid() == oneStroke);
    QTest::keyClick(canvas(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(m_panel->grid() == twoStrokes);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    // A new stroke drops what could have been redone.
    press(inCell(8, 8));
    release(inCell(8, 8));
    const THGrid after = m_panel->grid();
    redo();
    QVERIFY(m_panel->grid() == after);
    QVERIFY(!m_panel->history().canRedo());

    // A mode change starts a new history.
    m_dialogs->answers.enqueue(true);
    control<QRadioButton>("thOptMode1")->setChecked(true);
    QVERIFY(!m_panel->history().canUndo());
}

void TestPaintPanel::canvasAlwaysShowsTheGrid()
{
    show();
    resize(13, 5);
    QRandomGenerator random(2024);
    const QStringList halfBrushes = {"a", "#", "Z", "7", "€"};
    const QStringList fullBrushes = {"中", "国", "★", "⊙", "　", "■"};
    auto *tool = control<QRadioButton>("thOptTool0");
    auto *eraser = control<QRadioButton>("thOptTool1");
    auto *filled = control<QCheckBox>("chkTHFilled");
    auto *half = control<QRadioButton>("thOptChar0");
    auto *full = control<QRadioButton>("thOptChar1");
    const auto randomPoint = [&] {
        // Often the last two columns, so full-width brushes meet the edge.
        const int col = random.bounded(4) == 0 ? 11 + random.bounded(2) : random.bounded(13);
        QPoint p = inCell(col, random.bounded(5), random.bounded(8), random.bounded(15));
        if (random.bounded(20) == 0)
            p = QPoint(random.bounded(-5, 130), random.bounded(-5, 90)); // off the grid, or on its lines
        return p;
    };
    int halfWidthSeen = 0;
    int fullWidthSeen = 0;
    int lastPairSeen = 0;
    for (int stroke = 0; stroke < 150; ++stroke) {
        const int kind = random.bounded(10);
        if (kind < 2) {
            eraser->setChecked(true);
        } else if (kind < 6) {
            tool->setChecked(true);
            half->setChecked(true);
            control<QLineEdit>("thBJChar")->setText(halfBrushes[random.bounded(halfBrushes.size())]);
        } else {
            tool->setChecked(true);
            full->setChecked(true);
            control<QComboBox>("thQJChar")->setEditText(fullBrushes[random.bounded(fullBrushes.size())]);
        }
        QVERIFY(kind < 2 ? !m_panel->pen() : tool->isChecked());
        // Every other stroke by another tool: line, rectangle, fill or selection.
        if (kind >= 2 && random.bounded(2)) {
            control<QRadioButton>(QStringLiteral("thOptTool%1").arg(2 + random.bounded(4)))->setChecked(true);
            filled->setChecked(random.bounded(2));
        }
        QPoint p = randomPoint();
        press(p);
        for (int moves = random.bounded(6); moves > 0; --moves) {
            p = randomPoint();
            move(p);
        }
        release(p);
        if (m_panel->tool() == PaintPanel::Tool::Select) {
            const Qt::Key keys[] = {Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_Delete};
            const Qt::Key key = keys[random.bounded(4)];
            QTest::keyClick(canvas(), key, key == Qt::Key_Delete ? Qt::NoModifier : Qt::ControlModifier);
        }
        QVERIFY(!m_panel->drawing());
        QVERIFY2(canvasAgrees(), qPrintable(QStringLiteral("stroke %1: %2").arg(stroke).arg(canvasDifference())));
        QVERIFY(keepsTheRule(m_panel->grid()));
        const QStringList lines = thGridToText(m_panel->grid()).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        for (const QString &line : lines)
            QCOMPARE(TextCodec::encode(line).size(), 13);
        const QString text = lines.join(QString());
        fullWidthSeen += CountFullWidth(text) > 0;
        halfWidthSeen += text.contains(QRegularExpression(QStringLiteral("[a#Z7€]")));
        for (int r = 0; r < 5; ++r)
            lastPairSeen += thIsFullWidth(m_panel->grid().at(r, 11).Ch);
        // Now and then a few steps back and forward again.
        if (stroke % 10 == 9) {
            const THGrid now = m_panel->grid();
            const int steps = 1 + random.bounded(3);
            for (int i = 0; i < steps; ++i)
                m_panel->undo();
            QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
            for (int i = 0; i < steps; ++i)
                m_panel->redo();
            QVERIFY(m_panel->grid() == now);
            QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
        }
    }
    // The strokes did paint: both kinds of characters, up to the last column.
    QVERIFY(halfWidthSeen > 20);
    QVERIFY(fullWidthSeen > 20);
    QVERIFY(lastPairSeen > 0);
}

void TestPaintPanel::shapesFollowThePointer_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<QStringList>("preview");
    QTest::addColumn<QStringList>("drawn");
    QTest::newRow("line") << 2 << false << QStringList{"#  ", " # ", "  #"} << QStringList{"#  ", "#  ", " # ", " # "};
    QTest::newRow("rectangle") << 3 << false << QStringList{"###", "# #", "###"}
                               << QStringList{"## ", "## ", "## ", "## "};
    QTest::newRow("filled rectangle") << 3 << true << QStringList{"###", "###", "###"}
                                      << QStringList{"## ", "## ", "## ", "## "};
}

void TestPaintPanel::shapesFollowThePointer()
{
    QFETCH(int, tool);
    QFETCH(bool, filled);
    QFETCH(QStringList, preview);
    QFETCH(QStringList, drawn);
    show();
    control<QRadioButton>(QStringLiteral("thOptTool%1").arg(tool))->setChecked(true);
    control<QCheckBox>("chkTHFilled")->setChecked(filled);
    control<QLineEdit>("thBJChar")->setText(u"#"_s); // a new brush keeps the tool
    QCOMPARE(int(m_panel->tool()), tool);
    const THGrid fresh = m_panel->grid();
    const auto topLeft = [this](int rows) {
        QStringList cells;
        for (int r = 0; r < rows; ++r)
            cells << rowCells(m_panel->grid(), r).left(3);
        return cells;
    };
    press(inCell(0, 0));
    move(inCell(2, 2)); // the preview
    QCOMPARE(topLeft(3), preview);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    move(inCell(1, 3));
    release(inCell(1, 3));
    QCOMPARE(topLeft(4), drawn);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    QCOMPARE(m_panel->history().undoCount(), std::size_t(1));
    m_panel->undo();
    QVERIFY(m_panel->grid() == fresh);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
}

void TestPaintPanel::selectionThroughKeysAndToolPanel()
{
    // The drag ends on the left half of 中: the selection takes all of it.
    selectCells(u"ab中cd\r\nxyz"_s, 1, 2, 1);
    QCOMPARE(m_panel->selection(), QRect(1, 0, 3, 2));
    QCOMPARE(canvas()->selection(), m_panel->selection());
    QTest::keyClick(canvas(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_ctx->clipboard.contents, u"b中\r\nyz "_s);
    // The tool panel's copy, send and favourites act on the same rows.
    QCOMPARE(textBox()->selectedText(), u"b中\r\nyz "_s);
    const std::size_t steps = m_panel->history().undoCount();
    QTest::keyClick(canvas(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(rowCells(m_panel->grid(), 0).left(6), u"a   cd"_s);
    QCOMPARE(rowCells(m_panel->grid(), 1).left(6), u"x     "_s);
    m_ctx->clipboard.contents = u"1\r\n22"_s;
    QTest::keyClick(canvas(), Qt::Key_V, Qt::ControlModifier); // at the selection's corner
    QCOMPARE(rowCells(m_panel->grid(), 0).left(6), u"a1  cd"_s);
    QCOMPARE(rowCells(m_panel->grid(), 1).left(6), u"x22   "_s);
    QCOMPARE(m_panel->selection(), QRect(1, 0, 2, 2));
    QTest::keyClick(canvas(), Qt::Key_Delete);
    QCOMPARE(rowCells(m_panel->grid(), 1).left(6), u"x     "_s);
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    QCOMPARE(m_panel->history().undoCount(), steps + 3); // cut, paste, delete
    // In text mode the text box's own selection counts again.
    // Without a selection a paste lands at the first cell, cut to the canvas.
    QTest::keyClick(canvas(), Qt::Key_Escape);
    m_ctx->clipboard.contents = QString(70, u'z') + u"\r\n中"_s;
    QTest::keyClick(canvas(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_panel->selection(), QRect(0, 0, 60, 2));
    QCOMPARE(rowCells(m_panel->grid(), 0), QString(60, u'z'));
    // In text mode the text box's own selection counts again.
    switchToTextMode();
    QVERIFY(textBox()->selectedText().isEmpty());
}

void TestPaintPanel::selectionMovesByDragging()
{
    selectCells(u"ab 中"_s, 0, 1);
    const THGrid before = m_panel->grid();
    // Away and back again: a move onto itself changes nothing.
    press(inCell(1, 0));
    move(inCell(5, 2));
    QCOMPARE(rowCells(m_panel->grid(), 2).left(7), u"    ab "_s); // the preview
    move(inCell(1, 0));
    release(inCell(1, 0));
    QVERIFY(m_panel->grid() == before);
    press(inCell(0, 0));
    move(inCell(2, 0));
    release(inCell(2, 0));
    QCOMPARE(rowCells(m_panel->grid(), 0).left(6), u"  ab  "_s); // over the left half of 中
    QCOMPARE(m_panel->selection(), QRect(2, 0, 2, 1));
    QVERIFY2(canvasAgrees(), qPrintable(canvasDifference()));
    m_panel->undo();
    QVERIFY(m_panel->grid() == before);
}

void TestPaintPanel::copyRefusedLosesNothing()
{
    selectCells(u"abc"_s, 0, 2);
    m_ctx->clipboard.refuse = true;
    const THGrid before = m_panel->grid();
    QTest::keyClick(canvas(), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(m_panel->grid() == before); // nothing cut that is nowhere else
    QCOMPARE(m_dialogs->shown.last().text, u"复制到剪贴板时出现错误，可能是有其他程序正在使用剪贴板！"_s);
    QCOMPARE(m_dialogs->shown.last().title, u"出错了：（"_s);
}

void TestPaintPanel::inputMethodSetsTheBrush()
{
    show();
    canvas()->setFocus();
    QVERIFY(canvas()->testAttribute(Qt::WA_InputMethodEnabled));
    auto *symbols = control<QComboBox>("thQJChar");
    const auto commit = [this](const QString &text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(canvas(), &event);
    };
    commit(u"龙"_s);
    QVERIFY(control<QRadioButton>("thOptChar1")->isChecked());
    QCOMPARE(m_panel->brush(), u"龙"_s);
    QCOMPARE(symbols->count(), 61);
    commit(u"x"_s); // half-width, as a typed key
    QVERIFY(control<QRadioButton>("thOptChar0")->isChecked());
    QCOMPARE(m_panel->brush(), u"x"_s);
    commit(u"龙"_s); // already in the list
    QCOMPARE(symbols->count(), 61);
    press(inCell(0, 0));
    release(inCell(0, 0));
    QCOMPARE(rowCells(m_panel->grid(), 0).left(3), u"龙_ "_s);
    // The canvas mode without full-width brushes takes none.
    m_dialogs->answers.enqueue(true);
    control<QRadioButton>("thOptMode2")->setChecked(true);
    commit(u"中"_s);
    QCOMPARE(m_panel->brush(), u"x"_s);
    QVERIFY(control<QRadioButton>("thOptChar0")->isChecked());
}

int main(int argc, char **argv)
{
    Fonts::installSubstitutions();
    QApplication app(argc, argv);
    TestPaintPanel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_paintpanel.moc"
