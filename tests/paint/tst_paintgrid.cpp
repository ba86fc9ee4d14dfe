// The paint grid without widgets: geometry, the drawing rule on every
// example it is known by, the grid as text and back, the input rules, and
// the undo history.

#include "paintfixtures.h"

#include "paint/thrender.h"
#include "paint/thhistory.h"
#include "paint/thimagesurface.h"
#include "paint/thinputs.h"
#include "paint/thtext.h"
#include "paint/thtools.h"

#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"

#include <QRandomGenerator>
#include <QTest>

using namespace PaintFixtures;
using namespace Qt::StringLiterals;

namespace {

const QColor kLine(236, 233, 216);

// Ink (black) pixels of a picture within the given columns.
QRect inkBounds(const QImage &image, int fromX, int toX)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = fromX; x <= toX; ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

QString cp(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// The line by its definition: one cell for each step along the longer axis,
// the other coordinate the exact one rounded, a half away from the start.
std::vector<QPoint> literalLine(QPoint a, QPoint b)
{
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    const int n = std::max(std::abs(dx), std::abs(dy));
    const auto along = [n](int i, int d) {
        const int m = (2 * i * std::abs(d) + n) / (2 * n);
        return d < 0 ? -m : m;
    };
    std::vector<QPoint> points;
    for (int i = 0; i <= n; ++i)
        points.push_back(n == 0 ? a : a + QPoint(along(i, dx), along(i, dy)));
    return points;
}

int arg(const QStringList &parts, int i)
{
    return parts.value(i).toInt();
}

// One tool action written as "tool|arguments": line|c0|r0|c1|r1|brush,
// rect|... (outline) and box|... (filled), fill|c|r|brush, cut|c0|r0|c1|r1
// (the selection between the corners blanked), move|c0|r0|c1|r1|dx|dy,
// paste|c|r|text.
void runTool(THGrid &grid, const QString &action, THSurface *surface = nullptr)
{
    const QStringList a = action.split(u'|');
    const QString &tool = a[0];
    const QPoint p(arg(a, 1), arg(a, 2));
    const QPoint q(arg(a, 3), arg(a, 4));
    if (tool == u"line")
        thDrawLine(grid, thBrushOf(a[5]), p, q, surface);
    else if (tool == u"rect" || tool == u"box")
        thDrawRect(grid, thBrushOf(a[5]), p, q, tool == u"box", surface);
    else if (tool == u"fill")
        thFill(grid, thBrushOf(a[3]), p, surface);
    else if (tool == u"cut")
        thBlank(grid, thSelection(grid, p, q), surface);
    else if (tool == u"move")
        thMove(grid, thSelection(grid, p, q), QPoint(arg(a, 5), arg(a, 6)), surface);
    else if (tool == u"paste")
        thPaste(grid, thTextBlock(a.mid(3).join(u'|'), grid, p), p, surface);
    else
        QFAIL(qPrintable(action));
}

} // namespace

class TestPaintGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }

    void pixelsAndCells_data();
    void pixelsAndCells();
    void freshGridGeometry();
    void drawingRule_data();
    void drawingRule();
    void fullWidthCentredOverItsTwoCells();
    void drawingOutsideOrWithoutBrush();
    void characterBeyondTheBasicPlaneIsOneBrush();
    void randomDrawingKeepsTheRuleAndTheCanvas();
    void linePointsFollowTheirDefinition();
    void tools_data();
    void tools();

    void exportOfAFreshGrid();
    void textSize_data();
    void textSize();
    void textToGrid_data();
    void textToGrid();
    void gridTextGridIsStable();
    void binaryTextImportsSafely();

    void sizeInput_data();
    void sizeInput();
    void sizeValue_data();
    void sizeValue();
    void brushInputs_data();
    void brushInputs();
    void symbolList();
    void captions();

    void historyStepsBackAndForth();
    void historyAcrossSizes();
    void historyDepth();
};

void TestPaintGrid::pixelsAndCells_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::newRow("origin") << 0.f << 0.f << 0 << 0;
    QTest::newRow("last pixel of the first cell") << 8.9f << 15.9f << 0 << 0;
    QTest::newRow("next cell") << 9.f << 16.f << 1 << 1;
    QTest::newRow("row 3, column 12") << 100.f << 40.f << 11 << 2;
    QTest::newRow("left of the canvas") << -1.f << -0.5f << -1 << -1;
}

void TestPaintGrid::pixelsAndCells()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, col);
    QFETCH(int, row);
    QCOMPARE(THcX(x), col);
    QCOMPARE(THcY(y), row);
    QCOMPARE(THAcX(5), 45.f);
    QCOMPARE(THAcY(3), 48.f);
}

void TestPaintGrid::freshGridGeometry()
{
    const QImage image = freshRender(THGrid(20, 60), kLine);
    QCOMPARE(image.size(), QSize(541, 321));
    int across = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool whole = true;
        for (int x = 0; x < image.width() && whole; ++x)
            whole = image.pixelColor(x, y) == kLine;
        across += whole;
    }
    int down = 0;
    for (int x = 0; x < image.width(); ++x) {
        bool whole = true;
        for (int y = 0; y < image.height() && whole; ++y)
            whole = image.pixelColor(x, y) == kLine;
        down += whole;
    }
    QCOMPARE(across, 21);
    QCOMPARE(down, 61);
    QCOMPARE(image.pixelColor(4, 8), QColor(Qt::white));
}

void TestPaintGrid::drawingRule_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("brush");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("outcome");
    const int done = int(THGrid::Drawn::Done);
    const int noRoom = int(THGrid::Drawn::NoRoom);
    // Ten cells a row; "_" is the right half of the character before it.
    QTest::newRow("中 at column 5") << "" << "中" << 5 << "     中_   " << done;
    QTest::newRow("full-width in the last column") << "" << "中" << 9 << "          " << noRoom;
    QTest::newRow("full-width in the second-to-last") << "" << "中" << 8 << "        中_" << done;
    QTest::newRow("a on the right half of 中") << "     中" << "a" << 6 << "      a   " << done;
    QTest::newRow("a on the left half of 中") << "     中" << "a" << 5 << "     a    " << done;
    QTest::newRow("中 over a, 国 following") << "     a国" << "中" << 5 << "     中_   " << done;
    QTest::newRow("中 over a, b following") << "     ab" << "中" << 5 << "     中_   " << done;
    QTest::newRow("国 on the right half of 中") << "     中x" << "国" << 6 << "     国_x  " << done;
    QTest::newRow("国 on the left half of 中") << "     中x" << "国" << 5 << "     国_x  " << done;
    QTest::newRow("eraser on the left half") << "     中" << " " << 5 << "          " << done;
    QTest::newRow("eraser on the right half") << "     中" << " " << 6 << "          " << done;
    QTest::newRow("half-width over half-width") << "abc" << "x" << 1 << "axc       " << done;
    QTest::newRow("full-width over the right half, 国 beyond") << "中国" << "★" << 1 << "★_国_      " << done;
    QTest::newRow("full-width over the left half of 国, 中 before")
        << "中国" << "★" << 2 << "中_★_      " << done;
}

void TestPaintGrid::drawingRule()
{
    QFETCH(QString, before);
    QFETCH(QString, brush);
    QFETCH(int, col);
    QFETCH(QString, after);
    QFETCH(int, outcome);

    THGrid grid = rowGrid(before, 10);
    THImageSurface surface(kLine);
    THRenderGrid(surface, grid);
    QCOMPARE(int(grid.thDrawChar(thBrushOf(brush), col, 0, &surface)), outcome);
    QCOMPARE(rowCells(grid, 0), after);
    QVERIFY(keepsTheRule(grid));
    // What the canvas shows is what the grid holds.
    const QImage fresh = freshRender(grid, kLine);
    QVERIFY2(surface.image() == fresh, qPrintable(firstDifference(surface.image(), fresh)));
}

void TestPaintGrid::fullWidthCentredOverItsTwoCells()
{
    THGrid grid(1, 10);
    THImageSurface surface(kLine);
    THRenderGrid(surface, grid);
    grid.thDrawChar(U'中', 5, 0, &surface);
    QVERIFY(grid.at(0, 5).Used && grid.at(0, 6).Used);
    QVERIFY(!grid.at(0, 7).Used);
    const QImage image = surface.image();
    const QRect ink = inkBounds(image, 0, image.width() - 1);
    QVERIFY(!ink.isEmpty());
    // Inside pixels 45 to 63 and centred there (one pixel to the right, as
    // every character sits), the grid lines around untouched.
    QVERIFY2(ink.left() > 45 && ink.right() < 63, qPrintable(QStringLiteral("%1..%2").arg(ink.left()).arg(ink.right())));
    QVERIFY(qAbs((ink.left() - 45) - (63 - ink.right())) <= 2);
    for (int y = 0; y <= 16; ++y) {
        QCOMPARE(image.pixelColor(45, y), kLine);
        QCOMPARE(image.pixelColor(63, y), kLine);
    }
}

void TestPaintGrid::drawingOutsideOrWithoutBrush()
{
    THGrid grid(2, 4);
    const THGrid fresh = grid;
    QCOMPARE(grid.thDrawChar(U'a', 4, 0), THGrid::Drawn::Outside);
    QCOMPARE(grid.thDrawChar(U'a', 0, 2), THGrid::Drawn::Outside);
    QCOMPARE(grid.thDrawChar(U'a', -1, 0), THGrid::Drawn::Outside);
    QCOMPARE(grid.thDrawChar(0, 1, 1), THGrid::Drawn::EmptyBrush);
    QCOMPARE(grid.thDrawChar(U'\t', 1, 1), THGrid::Drawn::EmptyBrush);
    QCOMPARE(grid.thDrawChar(0x7F, 1, 1), THGrid::Drawn::EmptyBrush);
    QVERIFY(grid == fresh);
    QCOMPARE(thBrushOf(u""), char32_t(0));
    QCOMPARE(thBrushOf(u"\x1b"), char32_t(0));
}

void TestPaintGrid::characterBeyondTheBasicPlaneIsOneBrush()
{
    const QString smile = QString::fromUcs4(U"\U0001F600", 1);
    QCOMPARE(thBrushOf(QString(smile + u'x')), char32_t(0x1F600));
    THGrid grid(1, 4);
    QCOMPARE(grid.thDrawChar(thBrushOf(smile), 1, 0), THGrid::Drawn::Done);
    QCOMPARE(rowCells(grid, 0), QStringLiteral(" ") + smile + QStringLiteral("_ "));
    QCOMPARE(thGridToText(grid), QStringLiteral(" ") + smile + QStringLiteral(" "));
    QCOMPARE(thLineCells(smile), 2);
    // Half a pair is no character: it is drawn as the replacement character.
    QCOMPARE(thBrushOf(smile.left(1)), char32_t(QChar::ReplacementCharacter));
}

void TestPaintGrid::randomDrawingKeepsTheRuleAndTheCanvas()
{
    // Pen strokes and every tool in a random sequence; half of them drawn
    // straight onto the canvas, half repainted from the grid they left (as
    // the canvas shows a preview).
    const char32_t brushes[] = {U'a', U'#', U' ', U'中', U'国', U'⊙', U'　', 0x1F600, U'€'};
    const QString pasted[] = {u"ab中\r\n国 x"_s, u"中中中中中"_s, u"\r\n  ⊙\r\n€"_s};
    QRandomGenerator random(10);
    const auto col = [&] { return random.bounded(-2, 10); };
    const auto row = [&] { return random.bounded(-1, 5); };
    THGrid grid(3, 7);
    THImageSurface surface(kLine);
    THRenderGrid(surface, grid);
    THHistory history(100000);
    std::vector<THGrid> states{grid};
    for (int i = 0; i < 2000; ++i) {
        const char32_t b = brushes[random.bounded(int(std::size(brushes)))];
        const QString brush = cp(b);
        const QString at = QStringLiteral("%1|%2|").arg(col()).arg(row());
        const QString corners = at + QStringLiteral("%1|%2|").arg(col()).arg(row());
        const THGrid before = grid;
        const bool direct = random.bounded(2) == 0;
        THSurface *shown = direct ? &surface : nullptr;
        switch (random.bounded(8)) {
        case 0: grid.thDrawChar(b, col(), row(), shown); break;
        case 1: runTool(grid, u"line|"_s + corners + brush, shown); break;
        case 2: runTool(grid, (random.bounded(2) ? u"box|"_s : u"rect|"_s) + corners + brush, shown); break;
        case 3: runTool(grid, u"fill|"_s + at + brush, shown); break;
        case 4: runTool(grid, u"cut|"_s + corners, shown); break;
        case 5: runTool(grid, u"move|"_s + corners + at, shown); break;
        case 6: runTool(grid, u"paste|"_s + at + pasted[random.bounded(3)], shown); break;
        default: thPaste(grid, thCopyBlock(before, thSelection(before, {col(), row()}, {col(), row()})), {col(), row()}, shown);
        }
        if (!direct)
            THRepaintChanges(surface, before, grid);
        QVERIFY(keepsTheRule(grid));
        const QStringList lines = thGridToText(grid).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        for (const QString &line : lines) {
            QCOMPARE(thLineCells(line), 7);
            if (!line.contains(cp(0x1F600)))
                QCOMPARE(TextCodec::byteLength(line), 7);
        }
        if (i % 25 == 0) {
            const QImage fresh = freshRender(grid, kLine);
            QVERIFY2(surface.image() == fresh, qPrintable(firstDifference(surface.image(), fresh)));
        }
        history.record(before, grid);
        if (!(grid == before))
            states.push_back(grid);
    }
    // Undo walks back through every state, redo forward again.
    for (auto it = states.rbegin() + 1; it != states.rend(); ++it) {
        QVERIFY(history.undo(grid));
        QVERIFY(grid == *it);
    }
    QVERIFY(!history.undo(grid));
    for (auto it = states.begin() + 1; it != states.end(); ++it) {
        QVERIFY(history.redo(grid));
        QVERIFY(grid == *it);
    }
}

void TestPaintGrid::linePointsFollowTheirDefinition()
{
    QCOMPARE(thLinePoints({0, 0}, {3, 3}), (std::vector<QPoint>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    QCOMPARE(thLinePoints({4, 1}, {4, 1}), std::vector<QPoint>{QPoint(4, 1)});
    QRandomGenerator random(3);
    for (int i = 0; i < 5000; ++i) {
        const QPoint a(random.bounded(-40, 40), random.bounded(-40, 40));
        const QPoint b(random.bounded(-40, 40), random.bounded(-40, 40));
        QCOMPARE(thLinePoints(a, b), literalLine(a, b));
    }
    // Far ends are brought within reach: the line stays bounded.
    QCOMPARE(thLinePoints({0, 0}, {INT_MAX, 0}).size(), std::size_t(kThFar) + 1);
}

void TestPaintGrid::tools_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("after");
    // Eight columns; "_" is the right half of the character before it.
    const QStringList blank{"", "", ""};
    QTest::newRow("diagonal line") << blank << "line|0|0|2|2|#" << QStringList{"#       ", " #      ", "  #     "};
    QTest::newRow("shallow line, back to front")
        << blank << "line|7|2|0|0|#" << QStringList{"##      ", "  ####  ", "      ##"};
    QTest::newRow("full-width line on every second column")
        << blank << "line|0|0|5|0|中" << QStringList{"中_中_中_  ", "", ""};
    QTest::newRow("full-width line to the last column")
        << blank << "line|1|1|7|1|★" << QStringList{"", " ★_★_★_ ", ""};
    QTest::newRow("steep full-width line") << blank << "line|0|0|1|2|★" << QStringList{"★_      ", "★_      ", "★_      "};
    QTest::newRow("full-width line over right halves")
        << QStringList{"中中中中"} << "line|1|0|4|0|★" << QStringList{" ★_★_ 中_", "", ""};
    QTest::newRow("rectangle 1 × 1") << blank << "rect|2|1|2|1|#" << QStringList{"", "  #     ", ""};
    QTest::newRow("rectangle 1 × n") << blank << "rect|4|0|1|0|#" << QStringList{" ####   ", "", ""};
    QTest::newRow("rectangle n × 1") << blank << "rect|3|2|3|0|#" << QStringList{"   #    ", "   #    ", "   #    "};
    QTest::newRow("full-width frame") << blank << "rect|0|0|5|2|□" << QStringList{"□_□_□_  ", "□_  □_  ", "□_□_□_  "};
    QTest::newRow("full-width frame to the last column")
        << blank << "rect|2|0|7|2|□" << QStringList{"  □_□_□_", "  □_  □_", "  □_□_□_"};
    QTest::newRow("full-width frame ending in the last column")
        << blank << "rect|1|0|7|2|□" << QStringList{" □_□_□_ ", " □_  □_ ", " □_□_□_ "};
    QTest::newRow("full-width frame of odd width") << blank << "rect|0|0|4|1|□" << QStringList{"□_□_□_  ", "□_□_□_  ", ""};
    QTest::newRow("rectangle beyond the canvas") << blank << "box|6|-4|20|1|#" << QStringList{"      ##", "      ##", ""};
    QTest::newRow("fill stops at a full-width character")
        << QStringList{"   中", "   中", "   中"} << "fill|0|1|#" << QStringList{"###中_   ", "###中_   ", "###中_   "};
    QTest::newRow("fill on a right half takes whole characters")
        << QStringList{"中中 a", "中"} << "fill|1|0|#" << QStringList{"#### a  ", "##      ", ""};
    QTest::newRow("full-width fill of full-width characters")
        << QStringList{"中中 a"} << "fill|3|0|国" << QStringList{"国_国_ a  ", "", ""};
    QTest::newRow("full-width fill of blanks, from the clicked column")
        << QStringList{"x     x", "xxxxxxxx", "xxxxxxxx"} << "fill|2|0|■" << QStringList{"x ■_■_x ", "xxxxxxxx", "xxxxxxxx"};
    QTest::newRow("fill with the same character") << QStringList{"ab"} << "fill|0|0|a" << QStringList{"ab"};
    QTest::newRow("cut through a right half takes the character")
        << QStringList{"ab中cd"} << "cut|3|0|3|0" << QStringList{"ab  cd  ", "", ""};
    QTest::newRow("cut widening again for the next row")
        << QStringList{"中中", " 中中x"} << "cut|1|0|1|1" << QStringList{"", "     x  ", ""};
    QTest::newRow("cut reaching past the canvas") << QStringList{"abcdefgh", "ijklmnop"} << "cut|9|-3|6|0"
                                                  << QStringList{"abcdef  ", "ijklmnop", ""};
    QTest::newRow("move onto itself") << QStringList{"ab中cd", "x"} << "move|0|0|3|1|0|0" << QStringList{"ab中cd", "x"};
    QTest::newRow("move over a full-width character")
        << QStringList{"ab 中"} << "move|0|0|1|0|2|0" << QStringList{"  ab    ", "", ""};
    QTest::newRow("move to the last column, no room for a full-width character")
        << QStringList{"中b", "", "xxxxxxxx"} << "move|0|0|2|0|7|2" << QStringList{"", "", "xxxxxxx "};
    QTest::newRow("move past the left edge, a right half left behind")
        << QStringList{"中b", "xxxxxxxx"} << "move|0|0|2|0|-1|1" << QStringList{"", " bxxxxxx", ""};
    QTest::newRow("paste of a text wider than the canvas")
        << blank << "paste|5|0|abcdef中\r\nxyz\r\n1\r\n2" << QStringList{"     abc", "     xyz", "     1  "};
    QTest::newRow("paste cut at a full-width character") << blank << "paste|6|1|a中" << QStringList{"", "      a ", ""};
    QTest::newRow("paste over halves") << QStringList{"中中中"} << "paste|1|0|x国" << QStringList{" x国_中_  ", "", ""};
    QTest::newRow("paste outside the canvas") << QStringList{"ab"} << "paste|8|0|x" << QStringList{"ab"};
}

void TestPaintGrid::tools()
{
    QFETCH(QStringList, before);
    QFETCH(QString, action);
    QFETCH(QStringList, after);
    const THGrid start = thTextToGrid(before.join(u"\r\n"), 3, 8);
    THGrid grid = start;
    THImageSurface surface(kLine);
    THRenderGrid(surface, grid);
    runTool(grid, action, &surface);
    if (after == before) {
        QVERIFY(grid == start); // not a cell touched
        return;
    }
    for (int r = 0; r < 3; ++r)
        QCOMPARE(rowCells(grid, r), after.value(r).leftJustified(8));
    QVERIFY(keepsTheRule(grid));
    const QImage fresh = freshRender(grid, kLine);
    QVERIFY2(surface.image() == fresh, qPrintable(firstDifference(surface.image(), fresh)));
}

void TestPaintGrid::exportOfAFreshGrid()
{
    const QString text = thGridToText(THGrid(20, 60));
    QVERIFY(!text.endsWith(u'\n'));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 20);
    for (const QString &line : lines)
        QCOMPARE(line, QString(60, u' '));
    QCOMPARE(thGetStr(QStringLiteral("a\r\n\r\n")), QStringLiteral("a"));
    QCOMPARE(thGetStr(QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb"));
}

void TestPaintGrid::textSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxCols");
    QTest::addColumn<int>("maxRows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::newRow("ab中") << "ab中" << 120 << 120 << 4 << 1;
    QTest::newRow("empty text") << "" << 120 << 120 << 1 << 1;
    QTest::newRow("one blank") << " " << 120 << 120 << 1 << 1;
    QTest::newRow("final line break adds no row") << "ab\r\ncd\r\n" << 120 << 120 << 2 << 2;
    QTest::newRow("blank line inside counts") << "ab\r\n\r\ncd" << 120 << 120 << 2 << 3;
    QTest::newRow("only a line break") << "\r\n" << 120 << 120 << 1 << 1;
    QTest::newRow("ten lines in QQ mode") << "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10" << 68 << 8 << 2 << 8;
    QTest::newRow("wider than the canvas") << QString(200, u'x') << 120 << 120 << 120 << 1;
    QTest::newRow("full-width counts twice") << "中国人" << 120 << 120 << 6 << 1;
    QTest::newRow("lone CR and LF break lines too") << "a\rb\nc" << 120 << 120 << 1 << 3;
}

void TestPaintGrid::textSize()
{
    QFETCH(QString, text);
    QFETCH(int, maxCols);
    QFETCH(int, maxRows);
    QFETCH(int, cols);
    QFETCH(int, rows);
    const THTextSize size = thTextSize(text, maxCols, maxRows);
    QCOMPARE(size.cols, cols);
    QCOMPARE(size.rows, rows);
}

void TestPaintGrid::textToGrid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("ab中 at its own size") << "ab中" << 4 << QStringList{"ab中_"};
    QTest::newRow("three short lines in a wider canvas")
        << "ab\r\n中\r\nx" << 6 << QStringList{"ab    ", "中_    ", "x     "};
    QTest::newRow("cut at the edge") << "abcdefgh" << 5 << QStringList{"abcde"};
    QTest::newRow("full-width with one cell left is dropped") << "abcd中" << 5 << QStringList{"abcd "};
    QTest::newRow("nothing written past a dropped one") << "abcd中e" << 5 << QStringList{"abcd "};
    QTest::newRow("full-width reaching the last two cells") << "abc中" << 5 << QStringList{"abc中_"};
    QTest::newRow("control codes become blanks") << QStringLiteral("a\tb\x01") << 4 << QStringList{"a b "};
    QTest::newRow("art-text file ending in CR LF") << "ab\r\ncd\r\n" << 2 << QStringList{"ab", "cd"};
}

void TestPaintGrid::textToGrid()
{
    QFETCH(QString, text);
    QFETCH(int, cols);
    QFETCH(QStringList, rows);
    const THGrid grid = thTextToGrid(text, int(rows.size()), cols);
    QCOMPARE(grid.rows(), int(rows.size()));
    QCOMPARE(grid.cols(), cols);
    for (int r = 0; r < rows.size(); ++r)
        QCOMPARE(rowCells(grid, r), rows[r]);
    QVERIFY(keepsTheRule(grid));
    // Cells a line reached are used; the rest are as fresh.
    QVERIFY(grid.at(0, 0).Used);
    if (cols > 1 && rows.size() > 1 && text.startsWith(QStringLiteral("ab\r\n中")))
        QVERIFY(!grid.at(0, 2).Used);
}

void TestPaintGrid::gridTextGridIsStable()
{
    const QString art = QStringLiteral("  ★ 我涂我画 ★\r\nHello, 世界!\r\n中文 and ASCII\r\n");
    const THTextSize size = thTextSize(art, 120, 120);
    QCOMPARE(size.rows, 3);
    const THGrid grid = thTextToGrid(art, size.rows, size.cols);
    const QString text = thGridToText(grid);
    const THGrid again = thTextToGrid(text, size.rows, size.cols);
    for (int r = 0; r < size.rows; ++r)
        QCOMPARE(rowCells(again, r), rowCells(grid, r));
    QCOMPARE(thGridToText(again), text);
    // Every line is as many bytes in the code page as the grid has columns.
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        QCOMPARE(TextCodec::byteLength(line), qsizetype(size.cols));
}

void TestPaintGrid::binaryTextImportsSafely()
{
    QByteArray bytes(4096, '\0');
    QRandomGenerator random(7);
    for (char &b : bytes)
        b = char(random.bounded(1, 256));
    const QString text = TextCodec::decode(bytes);
    const THTextSize size = thTextSize(text, 120, 120);
    const THGrid grid = thTextToGrid(text, size.rows, size.cols);
    QVERIFY(keepsTheRule(grid));
    QVERIFY(size.cols <= 120 && size.rows <= 120);
}

void TestPaintGrid::sizeInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("letters") << "abc" << "60";
    QTest::newRow("empty") << "" << "60";
    QTest::newRow("nan") << "nan" << "60";
    QTest::newRow("inf") << "inf" << "60";
    QTest::newRow("-inf") << "-inf" << "60";
    QTest::newRow("zero") << "0" << "1";
    QTest::newRow("negative") << "-5" << "1";
    QTest::newRow("above the limit") << "500" << "120";
    QTest::newRow("as typed") << "12" << "12";
    QTest::newRow("blanks around stay") << " 12 " << " 12 ";
    QTest::newRow("a fraction stays") << "12.5" << "12.5";
    QTest::newRow("exponent within") << "1e2" << "1e2";
    QTest::newRow("exponent beyond") << "1e3" << "120";
}

void TestPaintGrid::sizeInput()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(thSizeInput(typed, 60, 120), kept);
}

void TestPaintGrid::sizeValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("whole") << "12" << 12;
    QTest::newRow("rounded up") << "12.5" << 13;
    QTest::newRow("rounded down") << "12.4" << 12;
    QTest::newRow("blanks") << " 7 " << 7;
    QTest::newRow("no number") << "x" << 60;
    QTest::newRow("nan") << "nan" << 60;
    QTest::newRow("below") << "0.2" << 1;
    QTest::newRow("above") << "1e9" << 120;
}

void TestPaintGrid::sizeValue()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(thSizeValue(text, 60, 120), value);
}

void TestPaintGrid::brushInputs_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("full");
    QTest::newRow("Latin letter") << "a" << "a" << "　";
    QTest::newRow("empty") << "" << " " << "　";
    QTest::newRow("Chinese") << "中" << " " << "中";
    QTest::newRow("two Chinese") << "中国" << " " << "中";
    QTest::newRow("tab") << "\t" << " " << "　";
    QTest::newRow("DEL") << "\x7f" << " " << "　";
    QTest::newRow("euro is half-width") << "€" << "€" << "　";
    QTest::newRow("beyond the basic plane")
        << QString::fromUcs4(U"\U0001F600x", 2) << " " << QString::fromUcs4(U"\U0001F600", 1);
}

void TestPaintGrid::brushInputs()
{
    QFETCH(QString, typed);
    QFETCH(QString, half);
    QFETCH(QString, full);
    QCOMPARE(thHalfWidthBrushInput(typed), half);
    QCOMPARE(thFullWidthBrushInput(typed), full);
}

void TestPaintGrid::symbolList()
{
    const QStringList items = InitthQJChar(thSymbols);
    QCOMPARE(thSymbols.size(), 59);
    QCOMPARE(items.size(), 60);
    QCOMPARE(items[0], QStringLiteral("　"));
    QCOMPARE(items[1], QStringLiteral("⊙"));
    QCOMPARE(items.last(), QStringLiteral("Ж"));
    QCOMPARE(InitthQJChar(QString(u"a b" + cp(0x1F600))), (QStringList{"　", "a", "b", cp(0x1F600)}));
}

void TestPaintGrid::captions()
{
    QCOMPARE(thPositionText(2, 11), QStringLiteral("当前坐标：(行3,列12)"));
    QCOMPARE(thPositionOutside(), QStringLiteral("当前坐标：[尚未进入画板]"));
    QCOMPARE(thSizeCaption(60, 20), QStringLiteral("当前画板尺寸:60x20"));
    QCOMPARE(thSizeTooltip(120, 120), QStringLiteral("画板尺寸：(1x1)～(120x120)"));
    QCOMPARE(QString::fromUtf16(thModes[2].caption), QStringLiteral("ICQ模式(无全角涂画字符)"));
}

void TestPaintGrid::historyStepsBackAndForth()
{
    THHistory history;
    THGrid grid(2, 6);
    const THGrid fresh = grid;
    history.record(grid, grid); // nothing changed: no step
    QVERIFY(!history.canUndo());

    THGrid before = grid;
    grid.thDrawChar(U'中', 1, 0);
    history.record(before, grid);
    const THGrid afterFirst = grid;
    before = grid;
    grid.thDrawChar(U'a', 2, 0);
    grid.thDrawChar(U'b', 3, 1);
    history.record(before, grid);
    const THGrid afterSecond = grid;

    QVERIFY(history.undo(grid));
    QVERIFY(grid == afterFirst);
    QVERIFY(history.undo(grid));
    QVERIFY(grid == fresh);
    QVERIFY(!history.undo(grid));
    QVERIFY(history.redo(grid));
    QVERIFY(grid == afterFirst);
    QVERIFY(history.redo(grid));
    QVERIFY(grid == afterSecond);
    QVERIFY(!history.redo(grid));

    // A new step after an undo drops what could have been redone.
    history.undo(grid);
    before = grid;
    grid.thDrawChar(U'x', 0, 1);
    history.record(before, grid);
    QVERIFY(!history.canRedo());
    QCOMPARE(history.undoCount(), std::size_t(2));
}

void TestPaintGrid::historyAcrossSizes()
{
    THHistory history;
    THGrid grid(2, 6);
    grid.thDrawChar(U'q', 0, 0);
    const THGrid small = grid;
    const THGrid big = thTextToGrid(u"ab中", 1, 4);
    history.record(small, big);
    grid = big;
    QVERIFY(history.undo(grid));
    QVERIFY(grid == small);
    QVERIFY(history.redo(grid));
    QVERIFY(grid == big);
}

void TestPaintGrid::historyDepth()
{
    THHistory history(100);
    THGrid grid(1, 3);
    for (int i = 0; i < 150; ++i) {
        const THGrid before = grid;
        grid.thDrawChar(i % 2 ? U'a' : U'b', 0, 0);
        history.record(before, grid);
    }
    QCOMPARE(history.undoCount(), std::size_t(100));
    int undone = 0;
    while (history.undo(grid))
        ++undone;
    QCOMPARE(undone, 100);
    QCOMPARE(rowCells(grid, 0), QStringLiteral("a  ")); // as the 50th step left it
}

QTEST_MAIN(TestPaintGrid)
#include "tst_paintgrid.moc"
