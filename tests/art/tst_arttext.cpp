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

TextCells render(const QString &text, const QFont &font)
{
    PixelSurface surface;
    TextCells cells;
    if (!RenderTextCells(surface, text, font, cells))
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

QTEST_MAIN(TestArtText)
#include "tst_arttext.moc"
