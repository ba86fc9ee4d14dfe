#include "shell/core/mainlayout.h"
#include "shell/core/skinrules.h"
#include "shell/core/textcodec.h"

#include <QTemporaryDir>
#include <QTest>

using namespace SkinRules;

class TestSkinRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readSkinKey_data();
    void readSkinKey();
    void readSkinKeyFromFile();
    void colourKeyFailures_data();
    void colourKeyFailures();
    void tiling_data();
    void tiling();
    void captionCentring();
    void captionButtons();
    void flags_data();
    void flags();
    void dragBand_data();
    void dragBand();
    void doubleClick();
    void runningTime_data();
    void runningTime();
};

void TestSkinRules::readSkinKey_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("blanks around") << QStringList{QStringLiteral("   Red=200   ")} << "Red" << "200";
    QTest::newRow("lower-case key does not match") << QStringList{QStringLiteral("red=200")} << "Red" << "";
    QTest::newRow("nothing after the equals sign") << QStringList{QStringLiteral("BackPicture=")} << "BackPicture"
                                                   << "";
    QTest::newRow("bare key line is passed over")
        << QStringList{QStringLiteral("Red="), QStringLiteral("Red=9")} << "Red" << "9";
    QTest::newRow("first match wins") << QStringList{QStringLiteral("Red=1"), QStringLiteral("Red=2")} << "Red"
                                      << "1";
    QTest::newRow("blank lines skipped")
        << QStringList{QString(), QStringLiteral("    "), QStringLiteral("Green=7")} << "Green" << "7";
    // The value is cut by the key's length, not where the key stands.
    QTest::newRow("key inside a longer line") << QStringList{QStringLiteral("DarkRed=5")} << "Red" << "Red=5";
    QTest::newRow("full-width blank stays")
        << QStringList{QStringLiteral("Blue=9\u3000")} << "Blue" << QStringLiteral("9\u3000");
    QTest::newRow("blanks inside break the key") << QStringList{QStringLiteral("Red = 200")} << "Red" << "";
    QTest::newRow("absent") << QStringList{QStringLiteral("Green=1")} << "Red" << "";
}

void TestSkinRules::readSkinKey()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(ReadSkinKey(lines, key), value);
}

void TestSkinRules::readSkinKeyFromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Skin.ini"));
    QVERIFY(TextCodec::writeFile(path, QStringLiteral("Red=1\r\n  BackPicture=云.bmp \r\n")));
    QCOMPARE(ReadSkinKey(path, QStringLiteral("BackPicture")), QStringLiteral("云.bmp"));
    QVERIFY_THROWS_EXCEPTION(SkinError, ReadSkinKey(dir.filePath(QStringLiteral("none.ini")), QStringLiteral("Red")));
}

void TestSkinRules::colourKeyFailures_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("missing") << "Green=1";
    QTest::newRow("lower-case only") << "red=200";
    QTest::newRow("not a number") << "Red=abc";
    QTest::newRow("above 255") << "Red=256";
    QTest::newRow("negative") << "Red=-1";
    QTest::newRow("empty") << "Red=";
}

void TestSkinRules::colourKeyFailures()
{
    QFETCH(QString, line);
    QVERIFY_THROWS_EXCEPTION(SkinError, ReadColourKey({line}, QStringLiteral("Red")));
    QCOMPARE(ReadColourKey({QStringLiteral("  Red=200 ")}, QStringLiteral("Red")), 200);
}

void TestSkinRules::tiling_data()
{
    QTest::addColumn<int>("extent");
    QTest::addColumn<int>("piece");
    QTest::addColumn<QList<int>>("offsets");
    QTest::newRow("100 by 30") << 100 << 30 << QList<int>{0, 30, 60, 90};
    QTest::newRow("exact multiple draws one past the end") << 90 << 30 << QList<int>{0, 30, 60, 90};
    QTest::newRow("piece wider than the window") << 20 << 30 << QList<int>{0};
    QTest::newRow("piece without size") << 100 << 0 << QList<int>{};
}

void TestSkinRules::tiling()
{
    QFETCH(int, extent);
    QFETCH(int, piece);
    QFETCH(QList<int>, offsets);
    QCOMPARE(tileOffsets(extent, piece), offsets);
}

void TestSkinRules::captionCentring()
{
    QCOMPARE(captionTextLeft(QStringLiteral("m"), 670, 57, 25), 306);
    QCOMPARE(captionTextLeft(QStringLiteral("M"), 670, 57, 25), 306);
    QCOMPARE(captionTextLeft(QStringLiteral("l"), 670, 57, 25), 35);
    QCOMPARE(captionTextLeft(QString(), 670, 57, 25), 35);
}

void TestSkinRules::captionButtons()
{
    const CaptionButtonLefts free = captionButtonLefts(668, 26, 26, 26, true);
    QCOMPARE(free.close, 640);
    QCOMPARE(free.max, 612);
    QCOMPARE(free.min, 586);
    // Without maximising, minimise takes maximise's place.
    const CaptionButtonLefts nomax = captionButtonLefts(668, 26, 26, 26, false);
    QCOMPARE(nomax.close, 640);
    QCOMPARE(nomax.min, nomax.max);
}

void TestSkinRules::flags_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("hidden"); // letters: n min, x max, c close, o control
    QTest::addColumn<bool>("maxAllowed");
    QTest::newRow("none") << "" << "" << true;
    QTest::newRow("nomin") << "nomin" << "n" << true;
    QTest::newRow("nomax, blanks and capitals") << "  NoMax " << "x" << false;
    QTest::newRow("noboth") << "noboth" << "nx" << false;
    QTest::newRow("noclose") << "noclose" << "c" << false;
    QTest::newRow("nocontrol") << "nocontrol" << "o" << true;
    QTest::newRow("noall") << "noall" << "nxco" << false;
    QTest::newRow("unknown") << "nothing" << "" << true;
}

void TestSkinRules::flags()
{
    QFETCH(QString, flag);
    QFETCH(QString, hidden);
    QFETCH(bool, maxAllowed);
    const SkinFlags f = parseSkinFlag(flag);
    QCOMPARE(f.hideMin, hidden.contains(u'n'));
    QCOMPARE(f.hideMax, hidden.contains(u'x'));
    QCOMPARE(f.hideClose, hidden.contains(u'c'));
    QCOMPARE(f.hideControl, hidden.contains(u'o'));
    QCOMPARE(f.maxAllowed, maxAllowed);
}

void TestSkinRules::dragBand_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QString>("area");
    QTest::addColumn<bool>("moves");
    // A 670-pixel window (right limit 668) with a 28-pixel caption.
    QTest::newRow("3 from the top") << true << 20 << 3 << "" << false;
    QTest::newRow("(20, 10)") << true << 20 << 10 << "" << true;
    QTest::newRow("on the margin") << true << 5 << 10 << "" << false;
    QTest::newRow("just inside the margin") << true << 6 << 10 << "" << true;
    QTest::newRow("right margin") << true << 663 << 10 << "" << false;
    QTest::newRow("inside the right margin") << true << 662 << 10 << "" << true;
    QTest::newRow("caption's last row") << true << 20 << 27 << "" << true;
    QTest::newRow("below the caption") << true << 20 << 28 << "" << false;
    QTest::newRow("right button") << false << 20 << 10 << "" << false;
    QTest::newRow("caption text, anywhere") << true << 0 << 0 << "L" << true;
    QTest::newRow("caption text, right button") << false << 0 << 0 << "l" << false;
}

void TestSkinRules::dragBand()
{
    QFETCH(bool, left);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QString, area);
    QFETCH(bool, moves);
    QCOMPARE(startsDrag(left, x, y, area, 668, 28), moves);
}

void TestSkinRules::doubleClick()
{
    QVERIFY(captionDoubleClickToggles(10, 28, true));
    QVERIFY(!captionDoubleClickToggles(0, 28, true));
    QVERIFY(!captionDoubleClickToggles(28, 28, true));
    QVERIFY(!captionDoubleClickToggles(10, 28, false));
}

void TestSkinRules::runningTime_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("shown");
    QTest::newRow("start") << qint64(0) << "00:00:00";
    QTest::newRow("one second") << qint64(1000) << "00:00:01";
    QTest::newRow("just short of a second") << qint64(999) << "00:00:00";
    QTest::newRow("an hour less a second") << qint64(3599000) << "00:59:59";
    QTest::newRow("past a day") << qint64((25 * 3600 + 3 * 60 + 7) * 1000LL) << "25:03:07";
    QTest::newRow("past a hundred hours") << qint64(100 * 3600 * 1000LL) << "100:00:00";
    QTest::newRow("clock behind the start") << qint64(-5000) << "00:00:00";
}

void TestSkinRules::runningTime()
{
    QFETCH(qint64, ms);
    QFETCH(QString, shown);
    QCOMPARE(MainLayout::formatRunningTime(ms), shown);
}

QTEST_GUILESS_MAIN(TestSkinRules)
#include "tst_skinrules.moc"
