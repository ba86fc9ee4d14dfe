#include "foldexamples.h"
#include "literalzip.h"

#include "shell/core/fonts.h"
#include "spacefold/spacezip.h"
#include "spacefold/zipstatistics.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

namespace {

QString describe(const ZipOptions &o)
{
    return QStringLiteral("blank-lines=%1 trailing=%2 leading=%3 inner=%4")
        .arg(o.optBlankLines)
        .arg(o.optTrailing)
        .arg(o.optLeading)
        .arg(o.optInner);
}

QString visible(QString text)
{
    return text.replace(u'\r', u"\\r"_qs).replace(u'\n', u"\\n"_qs).replace(u' ', u'␣');
}

// Text art in small: lines with a shared indent, columns of blanks, wide
// characters, empty lines and line breaks at the end; now and then the
// characters that are easy to get wrong (tab, euro sign, a character beyond
// the basic plane, a lone CR or LF).
QString randomArt(QRandomGenerator &rng)
{
    static const QStringList body = {u" "_qs, u" "_qs, u" "_qs, u"　"_qs, u"a"_qs, u"b"_qs, u"中"_qs, u"国"_qs};
    static const QStringList rare = {u"\t"_qs, u"€"_qs, u"𠀀"_qs, u"\r"_qs, u"\n"_qs, u"é"_qs};
    QString text;
    const int lines = rng.bounded(7);
    const int indent = rng.bounded(4);
    for (int l = 0; l < lines; ++l) {
        if (l > 0)
            text += u"\r\n";
        if (rng.bounded(6) == 0)
            continue; // an empty line
        text += QString(indent + rng.bounded(3), u' ');
        if (rng.bounded(5) == 0)
            text += u"　";
        const int cells = rng.bounded(10);
        for (int c = 0; c < cells; ++c)
            text += rng.bounded(25) == 0 ? rare[rng.bounded(int(rare.size()))] : body[rng.bounded(int(body.size()))];
    }
    for (int b = rng.bounded(4) == 0 ? rng.bounded(6) : 0; b > 0; --b)
        text += rng.bounded(3) == 0 ? u" \r\n"_qs : u"\r\n"_qs;
    return text;
}

} // namespace

class TestSpaceZip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void examples_data();
    void examples();
    void noPassLeavesTheText();
    void findOtherChar_data();
    void findOtherChar();
    void getStr_data();
    void getStr();
    void reSetTempLeavesAnEmptyLastLine();
    void matchesTheColumnImages();
    void passesAreAnnouncedInOrder();
    void yieldsOnATimeBudget();
    void ratio_data();
    void ratio();
    void statisticTexts();
};

void TestSpaceZip::examples_data()
{
    addFoldExampleRows();
}

void TestSpaceZip::examples()
{
    QFETCH(ZipOptions, options);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(Zip(input, options), expected);
    LiteralZip literal;
    QCOMPARE(literal.zip(input, options), expected);
}

void TestSpaceZip::noPassLeavesTheText()
{
    const QString text = u"  a　\r\n\r\n"_qs;
    QCOMPARE(Zip(text, passes(false, false, false, false)), text);
    QCOMPARE(Zip(u" \r\n　"_qs, passes(false, false, false, false)), QString());
}

void TestSpaceZip::findOtherChar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("other");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blanks, wide blanks, breaks") << u"  　\r\n \r\n\r\n"_qs << false;
    QTest::newRow("letter") << u"  a"_qs << true;
    QTest::newRow("lone CR") << u" \r"_qs << true;
    QTest::newRow("lone LF") << u"\n "_qs << true;
    QTest::newRow("LF before CR") << u"\n\r"_qs << true;
    QTest::newRow("CR CR LF") << u"\r\r\n"_qs << true;
    QTest::newRow("tab") << u"\t"_qs << true;
    QTest::newRow("blanks inside a break") << u"\r \n"_qs << false;
}

void TestSpaceZip::findOtherChar()
{
    QFETCH(QString, text);
    QFETCH(bool, other);
    QCOMPARE(FindOtherChar(text), other);
    QCOMPARE(LiteralZip::findOtherChar(text), other);
}

void TestSpaceZip::getStr_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << u"ab"_qs << u"ab"_qs;
    QTest::newRow("all go") << u"abcd\r\n\r\n\r\n"_qs << u"abcd"_qs;
    QTest::newRow("short text keeps one") << u"a\r\n\r\n\r\n\r\n"_qs << u"a\r\n"_qs;
    QTest::newRow("only a break") << u"\r\n"_qs << QString();
    QTest::newRow("CR before the break") << u"x\r\r\n"_qs << u"x\r"_qs;
    QTest::newRow("characters, not units") << u"𠀀𠀀\r\n\r\n\r\n\r\n\r\n"_qs << u"𠀀𠀀\r\n"_qs;
}

void TestSpaceZip::getStr()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(GetStr(text), expected);
    QCOMPARE(LiteralZip::getStr(text), expected);
}

void TestSpaceZip::reSetTempLeavesAnEmptyLastLine()
{
    QString work = u"a\r\n\r\n\r\n\r\n\r\n"_qs;
    const qsizetype textLength = ReSetTemp(work);
    QCOMPARE(work, u"a\r\n"_qs); // the lines a and ""
    QCOMPARE(textLength, 1);
}

void TestSpaceZip::matchesTheColumnImages()
{
    QRandomGenerator rng(20240827);
    LiteralZip literal;
    int folded = 0;
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomArt(rng);
        for (int mask = 0; mask < 16; ++mask) {
            const ZipOptions o = passes(mask & 1, mask & 2, mask & 4, mask & 8);
            const QString expected = literal.zip(text, o);
            const QString actual = Zip(text, o);
            if (actual != expected) {
                qWarning().noquote() << "text:" << visible(text) << describe(o);
                qWarning().noquote() << "expected:" << visible(expected);
                qWarning().noquote() << "actual:  " << visible(actual);
                QFAIL("the fast folding differs from the column images");
            }
            folded += actual.size() < text.size();
        }
    }
    // The texts must be of the kind that actually folds.
    QVERIFY2(folded > 10000, qPrintable(QString::number(folded)));
}

void TestSpaceZip::passesAreAnnouncedInOrder()
{
    QList<ZipPass> seen;
    ZipHooks hooks;
    hooks.passStarting = [&](ZipPass p) { seen << p; };
    Zip(u" a "_qs, passes(true, true, true, true), hooks);
    QCOMPARE(seen, (QList<ZipPass>{ZipPass::BlankLines, ZipPass::Trailing, ZipPass::Leading, ZipPass::Inner}));
    seen.clear();
    Zip(u" a "_qs, passes(false, true, false, true), hooks);
    QCOMPARE(seen, (QList<ZipPass>{ZipPass::Trailing, ZipPass::Inner}));
}

void TestSpaceZip::yieldsOnATimeBudget()
{
    QString art;
    for (int i = 0; i < 60000; ++i)
        art += u"    中  国  a    b   \r\n"_qs;
    ZipHooks hooks;
    hooks.budget = std::chrono::milliseconds(2);
    int calls = 0;
    bool inside = false;
    hooks.yield = [&] {
        QVERIFY(!inside);
        inside = true;
        ++calls;
        QTest::qSleep(1); // a window letting its events run
        inside = false;
    };
    QElapsedTimer clock;
    clock.start();
    const QString folded = Zip(art, passes(true, true, true, true), hooks);
    const qint64 ms = clock.elapsed();
    QCOMPARE(folded.left(6), u"中国ab\r\n"_qs);
    QVERIFY2(calls >= 1, "never yielded");
    // Once per budget, not once per line (60000 lines) or character.
    QVERIFY2(calls <= ms / 2 + 2, qPrintable(QStringLiteral("%1 calls in %2 ms").arg(calls).arg(ms)));
}

void TestSpaceZip::ratio_data()
{
    QTest::addColumn<qint64>("before");
    QTest::addColumn<qint64>("after");
    QTest::addColumn<QString>("text");
    QTest::newRow("1000 to 333") << qint64(1000) << qint64(333) << u"66.7"_qs;
    QTest::newRow("3 to 2") << qint64(3) << qint64(2) << u"33.34"_qs;
    QTest::newRow("3 to 1") << qint64(3) << qint64(1) << u"66.67"_qs;
    QTest::newRow("unchanged") << qint64(5) << qint64(5) << u"0"_qs;
    QTest::newRow("to nothing") << qint64(7) << qint64(0) << u"100"_qs;
    QTest::newRow("below one") << qint64(200) << qint64(199) << u"0.5"_qs;
    QTest::newRow("empty text") << qint64(0) << qint64(0) << u"0"_qs;
    // Where binary fractions used to show through.
    QTest::newRow("3.78, not 3.7799999") << qint64(10000) << qint64(9622) << u"3.78"_qs;
    QTest::newRow("3.78 of a large text") << qint64(1000000) << qint64(962200) << u"3.78"_qs;
    QTest::newRow("floor of an exact 0.57") << qint64(100) << qint64(57) << u"43"_qs;
    QTest::newRow("a hundredth") << qint64(10000) << qint64(9999) << u"0.01"_qs;
    QTest::newRow("a tenth and a hundredth") << qint64(10000) << qint64(9989) << u"0.11"_qs;
}

void TestSpaceZip::ratio()
{
    QFETCH(qint64, before);
    QFETCH(qint64, after);
    QFETCH(QString, text);
    QCOMPARE(ZipStatistics::zipRateText(before, after), u"压缩比率："_qs + text + u'%');
}

void TestSpaceZip::statisticTexts()
{
    QCOMPARE(ZipStatistics::sizeBeforeText(1000), u"压缩前文本大小： 1000字节"_qs);
    QCOMPARE(ZipStatistics::sizeAfterText(333), u"压缩后文本大小： 333字节"_qs);
    QCOMPARE(ZipStatistics::zipTimeText(0), u"压缩时间：0秒"_qs);
    QCOMPARE(ZipStatistics::textSize(u"中a\r\n€"_qs), 6);
    QCOMPARE(ZipStatistics::reportedSizeAfter(10, 12), 10);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Fonts::installSubstitutions();
    TestSpaceZip test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_spacezip.moc"
