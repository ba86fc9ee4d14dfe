// Art text: the cells against the literal prefix-by-prefix rendering, the
// effects on small known inputs, the joins and the QQ cap.

#include "literaltextcells.h"

#include "art/arttext.h"
#include "art/textcells.h"

#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"

#include <QGuiApplication>
#include <QtTest>

using namespace ArtText;

namespace {

const QString kUMing = QStringLiteral("AR PL UMing CN");
const QString kSans = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("DejaVu Serif");

TextCells render(const QString &text, const QFont &font, const TextCellsRendering &how = {})
{
    TextCells cells;
    if (!RenderTextCells(text, font, cells, how))
        qFatal("refused");
    return cells;
}

QStringList lines(const QString &art)
{
    QStringList l = art.split(QStringLiteral("\r\n"));
    if (l.back().isEmpty())
        l.removeLast();
    return l;
}

} // namespace

class TestArtText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void sameCellsAsLiteral_data();
    void sameCellsAsLiteral();
    void linesDrawBelowEachOther();
    void emptyLineTakesTheCharacterBefore();
    void linesAgainstLiteral_data();
    void linesAgainstLiteral();
    void leadingBlankLinesCostAsTrailingOnes();
    void bandsMakeTheSameCells_data();
    void bandsMakeTheSameCells();
    void tooManyCellsRefused();

    void vividIsInkOnBlanks();
    void upDownSplitsAtHalfTheHeight_data();
    void upDownSplitsAtHalfTheHeight();
    void leftRightSplitsAtHalfTheWidth();
    void loopSpellsInReadingOrder();
    void bothWidthsFollowEachCharacter();
    void followWritesTheTextsOwnCharacters();
    void controlCodesNeverReachTheArt();
    void widthlessOwnersTakeHalfBlanks();
    void boxCharacters_data();
    void boxCharacters();
    void loopString_data();
    void loopString();
    void symbolList();

    void joinBeside_data();
    void joinBeside();
    void appendBelow_data();
    void appendBelow();
    void joinedSizes_data();
    void joinedSizes();
    void joinMeasuredWithoutMakingIt();
    void qqCap_data();
    void qqCap();
};

void TestArtText::initTestCase()
{
    Fonts::installSubstitutions();
}

void TestArtText::sameCellsAsLiteral_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    const QString kerning = QStringLiteral("AVAWAY To");
    const QString ligatures = QStringLiteral("office");
    const QString cjk = QStringLiteral("中文字体");
    const QString mixed = QStringLiteral("A中b文, 1!");
    for (const QString &family : {kUMing, kSans, kSerif}) {
        for (double points : {9.0, 10.5, 20.0}) {
            const QByteArray at = family.toUtf8() + ' ' + QByteArray::number(points);
            QTest::addRow("kerning pairs %s", at.constData()) << kerning << family << points << false << false;
            QTest::addRow("ligature candidates %s", at.constData()) << ligatures << family << points << false << false;
            QTest::addRow("CJK %s", at.constData()) << cjk << family << points << false << false;
            QTest::addRow("mixed %s", at.constData()) << mixed << family << points << false << false;
        }
    }
    QTest::newRow("one character") << QStringLiteral("W") << kSans << 36.0 << false << false;
    QTest::newRow("bold") << kerning << kSans << 14.0 << true << false;
    QTest::newRow("italic") << QStringLiteral("fjord Wave") << kSerif << 14.0 << false << true;
    QTest::newRow("bold italic CJK") << mixed << kUMing << 12.0 << true << true;
    QTest::newRow("combining mark") << QStringLiteral("cafe\u0301 x") << kSans << 16.0 << false << false;
    QTest::newRow("zero width space") << QStringLiteral("a\u200Bb\u200Bc") << kSans << 16.0 << false << false;
    QTest::newRow("emoji") << QStringLiteral("a\U0001F600b") << kSans << 16.0 << false << false;
    QTest::newRow("song ti 72") << QStringLiteral("字W") << Fonts::kSongTi << 72.0 << false << false;
}

void TestArtText::sameCellsAsLiteral()
{
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    const QFont font = ArtTextFont(family, points, bold, italic);
    const LiteralTextCells literal = LiteralTextCells::render(text, font);
    const TextCells cells = render(text, font);
    QCOMPARE(cells.W(), literal.W);
    QCOMPARE(cells.H(), literal.H);
    int inked = 0;
    for (int y = 0; y <= literal.H; ++y) {
        for (int x = 0; x <= literal.W; ++x) {
            const TextCell want = literal.at(x, y);
            const TextCell got = cells.at(x, y);
            if (got.CharIndex != want.CharIndex || got.Ink != want.Ink)
                QFAIL(qPrintable(QStringLiteral("cell (%1, %2): CharIndex %3 Ink %4, literally %5 and %6")
                                     .arg(x).arg(y).arg(got.CharIndex).arg(got.Ink).arg(want.CharIndex).arg(want.Ink)));
            inked += got.Ink;
        }
    }
    QVERIFY(inked > 0);
}

void TestArtText::linesDrawBelowEachOther()
{
    const QFont font = ArtTextFont(kSans, 12, false, false);
    const PixelSurface::TextBlock block = PixelSurface::layoutText(u"WW\r\nI", font);
    const TextCells cells = render(QStringLiteral("WW\r\nI"), font);
    QCOMPARE(block.lines.size(), std::size_t(2));
    QVERIFY(block.pitch >= block.lineHeight); // never overlapping
    QCOMPARE(cells.W(), block.lines[0].width()); // the widest line
    QCOMPARE(cells.H(), block.pitch + block.lineHeight);
    QCOMPARE(TextCellsSize(u"WW\nI", font).count(), cells.count());
    // The second line's cells take their character from it (I is code point
    // 5, after the CR LF), right of it too; the first line keeps its own.
    const int second = block.pitch;
    QCOMPARE(cells.charIndex(0, second), 5);
    QCOMPARE(cells.charIndex(cells.W(), second), 5);
    QCOMPARE(cells.charIndex(0, 0), 1);
    QCOMPARE(cells.charIndex(cells.W(), 0), 2);
    bool inkBelow = false;
    for (int y = second; y <= cells.H(); ++y)
        for (int x = 0; x <= cells.W(); ++x)
            inkBelow |= cells.ink(x, y);
    QVERIFY(inkBelow);
    // A final line break starts no line.
    QCOMPARE(PixelSurface::layoutText(u"WW\n", font).lines.size(), std::size_t(1));
}

void TestArtText::emptyLineTakesTheCharacterBefore()
{
    const QFont font = ArtTextFont(kUMing, 12, false, false);
    const TextCells cells = render(QStringLiteral("\n中\n\nA"), font);
    const int pitch = PixelSurface::layoutText(u"x", font).pitch;
    QCOMPARE(cells.charIndex(0, 0), 2); // nothing before: the first character after
    QCOMPARE(cells.charIndex(3, pitch), 2);
    QCOMPARE(cells.charIndex(3, 2 * pitch), 2); // the empty line after 中
    QCOMPARE(cells.charIndex(0, 3 * pitch), 5);
}

void TestArtText::linesAgainstLiteral_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::newRow("blank lines first") << QStringLiteral("\n\n\nAB") << kSans;
    QTest::newRow("CR LF blank lines first") << QStringLiteral("\r\n\r\nA中") << kUMing;
    QTest::newRow("lone CRs first") << QStringLiteral("\r\rW") << kSerif;
    QTest::newRow("blank lines first, between and last") << QStringLiteral("\n\nAV\n\n\nTo\n\n") << kSans;
    QTest::newRow("a character beyond the basic plane after blank lines")
        << QStringLiteral("\n\na\U0001F600\nb") << kSans;
    QTest::newRow("nothing but blank lines") << QStringLiteral("\n\n\n") << kSans;
}

void TestArtText::linesAgainstLiteral()
{
    QFETCH(QString, text);
    QFETCH(QString, family);
    const QFont font = ArtTextFont(family, 12, false, false);
    const PixelSurface::TextBlock block = PixelSurface::layoutText(text, font);
    const TextCells cells = render(text, font);

    // The lines as they were typed: where each starts (1-based, breaks
    // counted) and its own cells, drawn the literal way.
    struct Typed
    {
        std::int32_t first = 0;
        QString text;
    };
    std::vector<Typed> typed;
    std::int32_t position = 1;
    Typed current{1, {}};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            const int breakLength = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            typed.push_back(current);
            position += breakLength;
            i += breakLength - 1;
            current = Typed{position, {}};
            continue;
        }
        current.text += text[i];
        if (!text[i].isHighSurrogate())
            ++position;
    }
    if (!current.text.isEmpty())
        typed.push_back(current);
    QCOMPARE(block.lines.size(), typed.size());

    const auto last = [](const Typed &t) { return t.first + std::int32_t(t.text.toUcs4().size()) - 1; };
    for (std::size_t l = 0; l < typed.size(); ++l) {
        const int top = int(l) * block.pitch;
        const int bottom = l + 1 == typed.size() ? cells.H() : top + block.pitch - 1;
        if (typed[l].text.isEmpty()) {
            // The nearest character before, or at the top the first after.
            std::int32_t owner = -1;
            for (std::size_t k = l; k-- > 0 && owner < 0;)
                owner = typed[k].text.isEmpty() ? -1 : last(typed[k]);
            for (std::size_t k = l + 1; k < typed.size() && owner < 0; ++k)
                owner = typed[k].text.isEmpty() ? -1 : typed[k].first;
            for (int y = top; y <= bottom; ++y) {
                for (int x = 0; x <= cells.W(); ++x) {
                    QCOMPARE(cells.charIndex(x, y), owner);
                    QVERIFY(!cells.ink(x, y));
                }
            }
            continue;
        }
        const LiteralTextCells literal = LiteralTextCells::render(typed[l].text, font);
        for (int y = top; y <= bottom; ++y) {
            for (int x = 0; x <= cells.W(); ++x) {
                const bool inside = x <= literal.W && y - top <= literal.H;
                const TextCell want = inside ? literal.at(x, y - top) : TextCell{};
                const std::int32_t owner =
                    x <= literal.W ? literal.at(x, 0).CharIndex + typed[l].first - 1 : last(typed[l]);
                if (cells.charIndex(x, y) != owner || cells.ink(x, y) != (want.Ink != 0))
                    QFAIL(qPrintable(QStringLiteral("line %1, cell (%2, %3): CharIndex %4 Ink %5, literally %6 and %7")
                                         .arg(l).arg(x).arg(y).arg(cells.charIndex(x, y)).arg(cells.ink(x, y))
                                         .arg(owner).arg(want.Ink)));
            }
        }
    }
}

void TestArtText::leadingBlankLinesCostAsTrailingOnes()
{
    // The same cells either way round; blank lines before the first
    // character once each looked ahead for it, which made 120 000 of them
    // take seconds. Compared with each other rather than with a clock, so
    // that the speed of the machine does not matter.
    const QFont font = ArtTextFont(kUMing, 4, false, false);
    const QString blanks(60'000, u'\n');
    qint64 cellCount = 0;
    const auto fastest = [&](const QString &text) {
        qint64 best = std::numeric_limits<qint64>::max();
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            const TextCells cells = render(text, font);
            best = std::min(best, clock.nsecsElapsed());
            cellCount = cells.count();
        }
        return best;
    };
    const qint64 leading = fastest(blanks + u'x');
    const qint64 leadingCells = cellCount;
    const qint64 trailing = fastest(u'x' + blanks + u'\n'); // a final break starts no line
    QCOMPARE(leadingCells, cellCount);
    QVERIFY2(leading < 4 * trailing, qPrintable(QStringLiteral("%1 ms against %2 ms").arg(leading / 1e6).arg(trailing / 1e6)));
}

void TestArtText::bandsMakeTheSameCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("italic");
    QTest::newRow("italic lines reaching into each other") << QStringLiteral("fjgy\nÅÉÎ|\nWjq") << kSerif << true;
    QTest::newRow("blank and zero-width lines between") << QStringLiteral("\n\nAg\n\u200B\n\n\u0301x\n\n") << kSans
                                                       << false;
    QTest::newRow("CJK and a pair") << QStringLiteral("中文\r\n\r\na\U0001F600\rb") << kUMing << false;
}

void TestArtText::bandsMakeTheSameCells()
{
    // Every band as small as it can be (a line and the reach of its glyphs)
    // against the whole text on one surface.
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(bool, italic);
    const QFont font = ArtTextFont(family, 20, false, italic);
    int pauses = 0;
    TextCellsRendering banded;
    banded.bandPixels = 1;
    banded.pause = [&] { ++pauses; };
    TextCellsRendering whole;
    whole.bandPixels = std::numeric_limits<qint64>::max();
    const TextCells small = render(text, font, banded);
    const TextCells one = render(text, font, whole);
    QCOMPARE(small.count(), one.count());
    QVERIFY(pauses > 1);
    int inked = 0;
    for (int y = 0; y <= one.H(); ++y) {
        for (int x = 0; x <= one.W(); ++x) {
            if (small.ink(x, y) != one.ink(x, y) || small.charIndex(x, y) != one.charIndex(x, y))
                QFAIL(qPrintable(QStringLiteral("cell (%1, %2) differs").arg(x).arg(y)));
            inked += one.ink(x, y);
        }
    }
    QVERIFY(inked > 0);
}

void TestArtText::tooManyCellsRefused()
{
    const QFont font = ArtTextFont(kUMing, 72, false, false);
    const QString huge(2000, QChar(0x4E2D));
    const CellsSize size = TextCellsSize(huge, font);
    QVERIFY(size.count() > kMaxTextCells);
    TextCells cells = render(QStringLiteral("A"), ArtTextFont(kSans, 9, false, false));
    const int before = cells.W();
    CellsSize refused;
    QVERIFY(!RenderTextCells(huge, font, cells, {}, &refused));
    QCOMPARE(cells.W(), before);
    QCOMPARE(refused.columns, size.columns);
    QCOMPARE(refused.rows, size.rows);
    // A thousand characters at the largest size still fit.
    QVERIFY(TextCellsSize(QString(1000, QChar(0x4E2D)), font).count() <= kMaxTextCells);
}

void TestArtText::vividIsInkOnBlanks()
{
    const QString text = QStringLiteral("中A");
    const TextCells cells = render(text, ArtTextFont(Fonts::kSongTi, 10.5, false, false));
    Style style; // the panel's start: half-width group, "醒目", "*"
    const QStringList rows = lines(Build(cells, text, style));
    QCOMPARE(rows.size(), cells.H() + 1);
    int inked = 0;
    for (int y = 0; y <= cells.H(); ++y) {
        QCOMPARE(rows[y].size(), cells.W() + 1);
        for (int x = 0; x <= cells.W(); ++x) {
            QCOMPARE(rows[y][x], cells.ink(x, y) ? u'*' : u' ');
            inked += cells.ink(x, y);
        }
    }
    QVERIFY(inked > 10);
}

void TestArtText::upDownSplitsAtHalfTheHeight_data()
{
    QTest::addColumn<int>("H");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("H = 4") << 4 << QStringList{"**", "**", "##", "##", "##"};
    QTest::newRow("H = 5") << 5 << QStringList{"**", "**", "**", "##", "##", "##"};
}

void TestArtText::upDownSplitsAtHalfTheHeight()
{
    QFETCH(int, H);
    QFETCH(QStringList, rows);
    const TextCells cells(1, H, {1, 1}, std::vector<std::uint8_t>(std::size_t(2 * (H + 1)), 1));
    Style style;
    style.effect = UpDown;
    QCOMPARE(lines(Build(cells, u"A", style)), rows);
}

void TestArtText::leftRightSplitsAtHalfTheWidth()
{
    // W = 4: columns 0 and 1 lie left of W ÷ 2; column 3 has no ink.
    const TextCells cells(4, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 0, 1});
    Style style;
    style.effect = LeftRight;
    QCOMPARE(Build(cells, u"A", style), QStringLiteral("**# #\r\n"));
}

void TestArtText::loopSpellsInReadingOrder()
{
    const TextCells cells(3, 1, {1, 1, 1, 1}, {1, 0, 1, 1, 1, 1, 0, 1});
    Style style;
    style.effect = Loop;
    style.loop = QStringLiteral("ABC");
    const QString art = Build(cells, u"x", style);
    QCOMPARE(art, QStringLiteral("A BC\r\nAB C\r\n"));
    QCOMPARE(Build(cells, u"x", style), art); // every conversion starts from A
    style.loop = QStringLiteral("甲乙");
    style.loopFullWidth = true;
    QCOMPARE(Build(cells, u"x", style), QStringLiteral("甲　乙甲\r\n乙甲　乙\r\n"));
    style.loop.clear();
    QCOMPARE(Build(cells, u"x", style), QString());
}

void TestArtText::bothWidthsFollowEachCharacter()
{
    const QString text = QStringLiteral("A中");
    const TextCells cells = render(text, ArtTextFont(Fonts::kSongTi, 12, false, false));
    Style style;
    style.group = BothWidths;
    style.effect = Plain;
    const QStringList rows = lines(Build(cells, text, style));
    QCOMPARE(rows.size(), cells.H() + 1);
    bool sawHalf = false;
    bool sawFull = false;
    for (int y = 0; y <= cells.H(); ++y) {
        QString want;
        for (int x = 0; x <= cells.W(); ++x) {
            const bool half = cells.charIndex(x, y) == 1;
            (half ? sawHalf : sawFull) = true;
            want += half ? (cells.ink(x, y) ? u'*' : u'#') : (cells.ink(x, y) ? u'■' : u'□');
        }
        QCOMPARE(rows[y], want);
    }
    QVERIFY(sawHalf && sawFull);
}

void TestArtText::followWritesTheTextsOwnCharacters()
{
    const TextCells cells(3, 0, {1, 2, 3, 3}, {1, 1, 0, 1});
    Style style;
    style.effect = Follow;
    QCOMPARE(Build(cells, u"A中\U0001F600", style), QStringLiteral("A中　\U0001F600\r\n"));
}

void TestArtText::controlCodesNeverReachTheArt()
{
    const TextCells cells(2, 0, {1, 2, 3}, {1, 1, 1});
    Style style;
    style.effect = Follow;
    QCOMPARE(Build(cells, u"\tA\u007F", style), QStringLiteral(" A \r\n"));
    style.effect = Plain;
    style.frontBJ = QStringLiteral("\t");
    QCOMPARE(Build(cells, u"AAA", style), QStringLiteral("   \r\n"));
}

void TestArtText::widthlessOwnersTakeHalfBlanks()
{
    // Columns that belong to a mark or a zero-width character stay one
    // half-width character each, so the rows keep their width.
    const TextCells cells(3, 0, {1, 2, 3, 4}, {1, 1, 0, 0});
    Style style;
    style.effect = Follow;
    QCOMPARE(Build(cells, u"A\u0301\u200B中", style), QStringLiteral("A  \u3000\r\n"));
    style.effect = Plain;
    style.group = BothWidths;
    QCOMPARE(Build(cells, u"A\u0301\u200B中", style), QStringLiteral("**#□\r\n"));
}

void TestArtText::boxCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("full");
    QTest::newRow("empty") << QString() << " " << "\u3000";
    QTest::newRow("letter") << "a" << "a" << "\u3000";
    QTest::newRow("star from the list") << "★" << " " << "★";
    QTest::newRow("first character counts") << "ab" << "a" << "\u3000";
    QTest::newRow("tab") << "\t" << " " << "\u3000";
    QTest::newRow("delete") << "\u007F" << " " << "\u3000";
    QTest::newRow("euro is half-width") << "€" << "€" << "\u3000";
    QTest::newRow("beyond the plane whole") << "\U0001F600x" << " " << "\U0001F600";
    // Of no width: neither box takes them.
    QTest::newRow("zero-width space") << "\u200B" << " " << "\u3000";
    QTest::newRow("combining acute") << "\u0301" << " " << "\u3000";
    QTest::newRow("enclosing circle") << "\u20DD" << " " << "\u3000";
    QTest::newRow("variation selector") << "\uFE0F" << " " << "\u3000";
    QTest::newRow("byte order mark") << "\uFEFF" << " " << "\u3000";
    QTest::newRow("soft hyphen") << "\u00AD" << " " << "\u3000";
    QTest::newRow("line separator") << "\u2028" << " " << "\u3000";
    QTest::newRow("jamo vowel") << "\u1161" << " " << "\u3000";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << " " << "\u3000";
    QTest::newRow("combining mark beyond the plane") << "\U0001D167" << " " << "\u3000";
}

void TestArtText::boxCharacters()
{
    QFETCH(QString, typed);
    QFETCH(QString, half);
    QFETCH(QString, full);
    QCOMPARE(HalfWidthBoxChar(typed), half);
    QCOMPARE(FullWidthBoxChar(typed), full);
}

void TestArtText::loopString_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fullWidth");
    QTest::addColumn<QString>("kept");
    QTest::newRow("full-width keeps 中") << "AB中C" << true << "中";
    QTest::newRow("half-width keeps ABC") << "AB中C" << false << "ABC";
    QTest::newRow("control codes dropped") << "A\tB\r\nC\u007F" << false << "ABC";
    QTest::newRow("pairs stay whole") << "\U0001F600a" << true << "\U0001F600";
    QTest::newRow("full-width without marks") << "中\u0301文\u200B\u20DD" << true << "中文";
    QTest::newRow("half-width without marks") << "a\u0301b\u200Dc\uFE0F" << false << "abc";
}

void TestArtText::loopString()
{
    QFETCH(QString, typed);
    QFETCH(bool, fullWidth);
    QFETCH(QString, kept);
    QCOMPARE(LoopString(typed, fullWidth), kept);
}

void TestArtText::symbolList()
{
    const QStringList symbols = symbolChars();
    QCOMPARE(symbols.size(), 60);
    QCOMPARE(symbols.first(), QStringLiteral("\u3000"));
    QCOMPARE(symbols.last(), QStringLiteral("Ж"));
    for (const QString &s : symbols)
        QVERIFY2(IsFullWidth(s), qPrintable(s));
}

void TestArtText::joinBeside_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("joined");
    QTest::newRow("5 old lines, 3 new") << "a1\r\na2\r\na3\r\na4\r\na5\r\n"
                                        << "B1\r\nB2\r\nB3\r\n"
                                        << "a1B1\r\na2B2\r\na3B3\r\na4\r\na5  \r\n";
    QTest::newRow("3 old lines, 5 new") << "a1\r\na2\r\na3\r\n"
                                        << "B1\r\nB2\r\nB3\r\nB4\r\nB5\r\n"
                                        << "a1B1\r\na2B2\r\na3B3\r\n  B4\r\n  B5\r\n  \r\n";
    QTest::newRow("full-width old art pads by columns")
        << "■□\r\n"
        << "B1\r\nB2\r\n"
        << "■□B1\r\n    B2\r\n    \r\n";
    QTest::newRow("old text cut without its line break")
        << "a1\r\na2" << "B1\r\n" << "a1B1\r\na2\r\n";
}

void TestArtText::joinBeside()
{
    QFETCH(QString, shown);
    QFETCH(QString, result);
    QFETCH(QString, joined);
    QCOMPARE(JoinBeside(shown, result), joined);
}

void TestArtText::appendBelow_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("joined");
    QTest::newRow("nothing shown") << QString() << "R\r\n";
    QTest::newRow("ends with a line break") << "a\r\n" << "a\r\nR\r\n";
    QTest::newRow("cut mid-line") << "a\r\nb" << "a\r\nb\r\nR\r\n";
}

void TestArtText::appendBelow()
{
    QFETCH(QString, shown);
    QFETCH(QString, joined);
    QCOMPARE(AppendBelow(shown, u"R\r\n"), joined);
}

void TestArtText::joinedSizes_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("result");
    QTest::newRow("5 old lines, 3 new") << "a1\r\na2\r\na3\r\na4\r\na5\r\n" << "B1\r\nB2\r\nB3\r\n";
    QTest::newRow("3 old lines, 5 new") << "a1\r\na2\r\na3\r\n" << "B1\r\nB2\r\nB3\r\nB4\r\nB5\r\n";
    QTest::newRow("full-width pads by columns") << "■□\r\n" << "B1\r\nB2\r\n";
    QTest::newRow("characters beyond the basic plane count once")
        << "\U0001F600a\r\n\U0001F600\r\n" << "b\U0001F600\U0001F600\r\nc\r\nd\r\n";
    QTest::newRow("ragged lines") << "long line\r\n\r\nx\r\n" << "B\r\nwider B\r\n";
    QTest::newRow("shown cut mid-line") << "a1\r\na2" << "B1\r\n";
    QTest::newRow("nothing shown") << QString() << "B1\r\nB2\r\n";
}

void TestArtText::joinedSizes()
{
    QFETCH(QString, shown);
    QFETCH(QString, result);
    // Counted the plain way on the texts the joins make.
    const auto counted = [](const QString &text) {
        ArtSize size;
        for (const QString &line : lines(text)) {
            const qint64 n = line.toUcs4().size();
            size.characters += n;
            size.columns = std::max(size.columns, n);
            ++size.rows;
        }
        return size;
    };
    QCOMPARE(Measure(shown), counted(shown));
    QCOMPARE(AppendedBelowSize(shown, result), counted(AppendBelow(shown, result)));
    if (!shown.isEmpty()) // the panel joins beside only to a text shown
        QCOMPARE(JoinedBesideSize(shown, result), counted(JoinBeside(shown, result)));
}

void TestArtText::joinMeasuredWithoutMakingIt()
{
    // 100 000 narrow lines beside one line of 100 000 characters: each
    // allowed, together ten billion characters, which nobody could hold.
    QString tall;
    for (int i = 0; i < 100'000; ++i)
        tall += QStringLiteral("x\r\n");
    const QString wide = QString(100'000, u'W') + QStringLiteral("\r\n");
    const ArtSize beside = JoinedBesideSize(tall, wide);
    QCOMPARE(beside, (ArtSize{100'001, 100'000, qint64(10'000'000'000)}));
    QVERIFY(beside.characters > kMaxTextCells);
    QCOMPARE(AppendedBelowSize(tall, wide), (ArtSize{100'000, 100'001, 200'000}));
}

void TestArtText::qqCap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("kept");
    const QString fw300(300, QChar(0x4E2D));
    const QString fw100(100, QChar(0x4E2D));
    QTest::newRow("300 full-width: 250") << fw300 << 250 << fw300.left(250);
    QTest::newRow("100 full-width: 400") << fw100 + QString(500, u'a') << 400
                                         << fw100 + QString(300, u'a');
    QTest::newRow("short text whole") << "ab\r\n" << 500 << "ab\r\n";
    const QString lines = QString(499, u'a') + QStringLiteral("\r\nb");
    QTest::newRow("CR LF never split") << lines << 500 << QString(499, u'a');
    QString emoji;
    for (int i = 0; i < 200; ++i)
        emoji += QStringLiteral("\U0001F600");
    QString emojiKept;
    for (int i = 0; i < 125; ++i)
        emojiKept += QStringLiteral("\U0001F600");
    QTest::newRow("four-byte characters") << emoji << 300 << emojiKept;
    QTest::newRow("500 bytes at most") << QString(240, u'a') + emoji.left(140) << 430
                                       << QString(240, u'a') + emoji.left(130);
    QTest::newRow("pair never split") << QString(299, u'a') + QStringLiteral("\U0001F600") + QString(300, QChar(0x4E2D))
                                      << 250 << QString(250, u'a');
}

void TestArtText::qqCap()
{
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QString, kept);
    const QqCut cut = QqCap(text);
    QCOMPARE(cut.limit, limit);
    QCOMPARE(cut.text, kept);
    QVERIFY(TextCodec::byteLength(cut.text) <= 500);
}

QTEST_MAIN(TestArtText)
#include "tst_arttext.moc"
