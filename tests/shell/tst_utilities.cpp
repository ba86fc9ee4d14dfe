#include "shell/core/fonts.h"
#include "shell/core/utilities.h"
#include "tempprogramdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTest>

namespace {

struct Caption
{
    QString text;
    QString caption() const { return text; }
    void setCaption(const QString &c) { text = c; }
};

QRect inkBounds(const QImage &image, QRgb background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestUtilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void fullWidthTests_data();
    void fullWidthTests();
    void padCaption_data();
    void padCaption();
    void fixCaptionTwicePadsMoreThanTwice();
    void canWritePath();
    void gradientBands_data();
    void gradientBands();
    void gradientIgnoresOtherDirections();
    void gradientDraws51BandsEndingOnTheEndColour_data();
    void gradientDraws51BandsEndingOnTheEndColour();
    void engravedEdgesLieUpLeftAndDownRight();
    void textFontAt90DegreesRunsUpwards();
};

void TestUtilities::fullWidthTests_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("Chinese first") << QStringLiteral("中a") << true << 1;
    QTest::newRow("Latin then Chinese") << QStringLiteral("a中") << false << 1;
    QTest::newRow("two, two, one") << QStringLiteral("ab中文c") << false << 2;
    QTest::newRow("ideographic space") << QStringLiteral("　") << true << 1;
    QTest::newRow("euro is one byte") << QStringLiteral("€") << false << 0;
    QTest::newRow("emoji is one character") << QString::fromUtf8("😀x") << true << 1;
}

void TestUtilities::fullWidthTests()
{
    QFETCH(QString, text);
    QFETCH(bool, first);
    QFETCH(int, count);
    QCOMPARE(IsFullWidth(text), first);
    QCOMPARE(CountFullWidth(text), count);
    QCOMPARE(int(CountDbcs(text)), count);
}

void TestUtilities::padCaption_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("four Chinese") << QStringLiteral("图片磨牙") << QStringLiteral("图片磨牙　　　　");
    QTest::newRow("Latin trimmed only") << QStringLiteral("  Zantoria ") << QStringLiteral("Zantoria");
    QTest::newRow("inner blanks kept") << QStringLiteral("关    于") << QStringLiteral("关    于　　");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks only") << QStringLiteral("   ") << QString();
    QTest::newRow("full-width blank is not trimmed") << QStringLiteral("　a") << QStringLiteral("　a　");
}

void TestUtilities::padCaption()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(PadCaption(in), out);
}

void TestUtilities::fixCaptionTwicePadsMoreThanTwice()
{
    Caption c{QStringLiteral("开始")};
    FixCaption(c);
    QCOMPARE(c.text, QStringLiteral("开始　　"));
    FixCaption(c);
    QCOMPARE(c.text, QStringLiteral("开始") + QString(6, QChar(0x3000)));
}

void TestUtilities::canWritePath()
{
    TempProgramDir dir;
    // A missing directory: false, and nothing is created.
    QVERIFY(!CanWritePath(dir.file("missing/file.txt")));
    QVERIFY(!QDir(dir.file("missing")).exists());
    QVERIFY(!CanWritePath(QString()));
    // An existing file: true, and untouched.
    QFile existing(dir.file("keep.txt"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("content");
    existing.close();
    QVERIFY(CanWritePath(existing.fileName()));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("content"));
    existing.close();
    // A new name in an existing directory: true, and the probe is gone again.
    QVERIFY(CanWritePath(dir.file("new.txt")));
    QVERIFY(!QFile::exists(dir.file("new.txt")));
    // A directory where a file would go cannot be written as a file.
    QVERIFY(QDir().mkdir(dir.file("adir")));
    QVERIFY(CanWritePath(dir.file("adir"))); // it exists, which is all the test asks
    // A link pointing nowhere is there: it stays, and its target is not made.
    const QString dangling = dir.file("dangling.txt");
    QVERIFY(QFile::link(dir.file("nowhere.txt"), dangling));
    QVERIFY(CanWritePath(dangling));
    QVERIFY(QFileInfo(dangling).isSymLink());
    QCOMPARE(QFileInfo(dangling).symLinkTarget(), dir.file("nowhere.txt"));
    QVERIFY(!QFile::exists(dir.file("nowhere.txt")));
}

void TestUtilities::gradientBands_data()
{
    QTest::addColumn<QString>("direction");
    QTest::newRow("H") << QStringLiteral("H");
    QTest::newRow("h behaves as H") << QStringLiteral("h");
    QTest::newRow("V") << QStringLiteral("V");
}

void TestUtilities::gradientBands()
{
    QFETCH(QString, direction);
    const bool vertical = direction.toUpper() == QLatin1String("V");
    QImage image(vertical ? 20 : 150, vertical ? 150 : 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    const GradColor start{0, 0, 0};       // B, R, G
    const GradColor end{150, 75, 30};
    {
        QPainter p(&image);
        DrawGradient(start, end, p, direction);
    }
    // 150 pixels: bands at 0, 3, …, 150 (the last lies on the edge); each
    // visible band is 3 pixels of one colour from the formula.
    for (int i = 0; i < 150; i += 3) {
        const QColor expected(qRound(75.0 * i / 150), qRound(30.0 * i / 150), qRound(150.0 * i / 150));
        for (int k = 0; k < 3; ++k) {
            const QPoint at = vertical ? QPoint(10, i + k) : QPoint(i + k, 10);
            QCOMPARE(image.pixelColor(at), expected);
        }
    }
    // Band 51 (i = 150) would be the end colour exactly.
    QCOMPARE(qRound(0 + 150 * (75.0 - 0) / 150), 75);
}

void TestUtilities::gradientIgnoresOtherDirections()
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    DrawGradient(GradColor{}, GradColor{255, 255, 255}, p, QStringLiteral("X"));
    p.end();
    QCOMPARE(inkBounds(image, QColor(Qt::magenta).rgb()), QRect());
}

void TestUtilities::gradientDraws51BandsEndingOnTheEndColour_data()
{
    QTest::addColumn<QString>("direction");
    QTest::newRow("h") << QStringLiteral("h");
    QTest::newRow("V") << QStringLiteral("V");
}

void TestUtilities::gradientDraws51BandsEndingOnTheEndColour()
{
    // The surface is 150 pixels along the gradient; recorded and played back
    // on a larger image, the last band (i = 150, past the edge) shows too.
    QFETCH(QString, direction);
    const bool vertical = direction == QLatin1String("V");
    QPicture recorded;
    recorded.setBoundingRect(QRect(0, 0, vertical ? 20 : 150, vertical ? 150 : 20));
    {
        QPainter p(&recorded);
        DrawGradient(GradColor{0, 0, 0}, GradColor{150, 75, 30}, p, direction);
    }
    QImage image(vertical ? 20 : 160, vertical ? 160 : 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter p(&image);
        p.drawPicture(0, 0, recorded);
    }
    QList<QColor> bands;
    QList<int> widths;
    for (int i = 0; i < 160; ++i) {
        const QColor c = image.pixelColor(vertical ? QPoint(10, i) : QPoint(i, 10));
        if (c == QColor(Qt::magenta))
            break;
        if (bands.isEmpty() || bands.last() != c) {
            bands << c;
            widths << 0;
        }
        ++widths.last();
    }
    QCOMPARE(bands.size(), 51);
    QCOMPARE(bands.first(), QColor(0, 0, 0));
    QCOMPARE(bands.last(), QColor(75, 30, 150));
    QCOMPARE(widths, QList<int>(51, 3));
}

void TestUtilities::engravedEdgesLieUpLeftAndDownRight()
{
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter p(&image);
    p.setFont(Fonts::crispFont(QStringLiteral("DejaVu Sans"), 24));
    PrintEngraved(QStringLiteral("I"), 40, 10, 2, RGB(255, 0, 0), p);
    p.end();
    const QRect red = inkBounds(image.copy(), QColor(128, 128, 128).rgb());
    QVERIFY(!red.isEmpty());
    // The dark edge reaches further up-left, the light one further down-right.
    int blackLeft = INT_MAX, whiteRight = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c == qRgb(0, 0, 0))
                blackLeft = std::min(blackLeft, x);
            if (c == qRgb(255, 255, 255))
                whiteRight = std::max(whiteRight, x);
        }
    }
    int redLeft = INT_MAX, redRight = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0)) {
                redLeft = std::min(redLeft, x);
                redRight = std::max(redRight, x);
            }
    QVERIFY(blackLeft < redLeft);
    QVERIFY(whiteRight > redRight);
}

void TestUtilities::textFontAt90DegreesRunsUpwards()
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PrintTextFont(QStringLiteral("HHHHHHHHHHHH"), 80, 180, 0, RGB(0, 0, 0), 90, p, Fonts::kSongTi, 14);
    p.end();
    const QRect box = inkBounds(image, qRgb(255, 255, 255));
    QVERIFY(!box.isEmpty());
    QVERIFY2(box.height() > 2 * box.width(), "the text should run vertically");
    QVERIFY(box.bottom() <= 181);
    QVERIFY(box.top() < 120);
    QVERIFY(box.left() >= 78);
}

QTEST_MAIN(TestUtilities)
#include "tst_utilities.moc"
