// The rules of sending without widgets: the length count and the cut, the
// loop interval, the order of checks and the messages of the send
// procedure, and the favourites file.

#include "fakewindowsystem.h"
#include "scripteddialogs.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include "send/chosenwindow.h"
#include "send/favourites.h"
#include "send/sendrules.h"
#include "send/sendtoqq.h"

#include "shell/core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <limits>

namespace {

const QString kHintTitle = QStringLiteral("『Zantoria』提醒您：）");
const QString kNoWindow = QStringLiteral("请先打开QQ聊天窗口！");
const QString kEmpty = QStringLiteral("不可发送空信息！：O");
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units

QString repeated(int n, QChar c = u'字')
{
    return QString(n, c);
}

} // namespace

class TestSendRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void byteCountIsTwoPerUnit();
    void cut_data();
    void cut();
    void interval_data();
    void interval();
    void overLongMessageText();

    void orderOfChecks_data();
    void orderOfChecks();
    void messageModeWindowComesFirst();
    void length_data();
    void length();
    void textTravelsIntactWithItsStyle();
    void failedSendsSayWhy_data();
    void failedSendsSayWhy();

    void favouritesCreateAppendAndFail();

    void chosenWindowIsFoundAgain_data();
    void chosenWindowIsFoundAgain();
    void choiceKeepsAnyTitle_data();
    void choiceKeepsAnyTitle();
    void damagedChoiceIsIgnored_data();
    void damagedChoiceIsIgnored();
    void sendsFollowTheChosenWindow();

private:
    struct Sending
    {
        ScriptedDialogs dialogs;
        FakeWindowSystem ws;
    };
};

void TestSendRules::byteCountIsTwoPerUnit()
{
    QCOMPARE(SendRules::byteCount(u""), 0);
    QCOMPARE(SendRules::byteCount(u"ab"), 4);
    QCOMPARE(SendRules::byteCount(u"中"), 2);
    QCOMPARE(SendRules::byteCount(u"a\r\nb"), 8); // the line break is two characters
    QCOMPARE(SendRules::byteCount(kEmoji), 4);
}

void TestSendRules::cut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString a499 = repeated(499, u'a');
    QTest::newRow("500 stay whole") << repeated(500) << repeated(500);
    QTest::newRow("600 keep 500") << repeated(600) << repeated(500);
    QTest::newRow("a pair split at 500 goes whole") << a499 + kEmoji + u'b' << a499;
    QTest::newRow("a pair ending at 500 stays") << repeated(498, u'a') + kEmoji + u'b'
                                                << repeated(498, u'a') + kEmoji;
    QTest::newRow("a CR LF split at 500 goes whole") << a499 + QStringLiteral("\r\nb") << a499;
    QTest::newRow("a CR LF ending at 500 stays") << repeated(498, u'a') + QStringLiteral("\r\nb")
                                                 << repeated(498, u'a') + QStringLiteral("\r\n");
    QTest::newRow("a lone CR at 500 stays") << a499 + QStringLiteral("\rb") << a499 + u'\r';
}

void TestSendRules::cut()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(SendRules::cutToLimit(text), expected);
}

void TestSendRules::interval_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ms"); // 0: the loop ends
    constexpr int kLongest = std::numeric_limits<int>::max();
    QTest::newRow("1") << "1" << 1000;
    QTest::newRow("25") << "25" << 25000;
    QTest::newRow("leading number") << "2abc" << 2000;
    QTest::newRow("fraction") << "1.5" << 1500;
    QTest::newRow("no leading digit") << ".5" << 500;
    QTest::newRow("blanks before") << "  3" << 3000;
    QTest::newRow("plus") << "+2" << 2000;
    QTest::newRow("exponent") << "2.5e1x" << 25000;
    QTest::newRow("small exponent") << "1e-3" << 1;
    QTest::newRow("exponent without digits") << "1e" << 1000;
    QTest::newRow("half a millisecond rounds to even") << "0.0005" << 0;
    QTest::newRow("one and a half rounds to even") << "0.0015" << 2;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("full-width digit") << "１" << 0;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("too large for the timer") << "1e12" << kLongest;
    QTest::newRow("infinite") << "1e999" << kLongest;
    QTest::newRow("just fits") << "2147483.647" << kLongest;
}

void TestSendRules::interval()
{
    QFETCH(QString, text);
    QFETCH(int, ms);
    QCOMPARE(SendRules::loopIntervalMs(text).value_or(0), ms);
}

void TestSendRules::overLongMessageText()
{
    QCOMPARE(SendRules::overLongMessage(1200),
             QStringLiteral("请注意啦：QQ每次最多只能发送500字节的信息，您现在所要发送的信息共1200字节。多余的信息将会被自动截去！"));
}

void TestSendRules::orderOfChecks_data()
{
    QTest::addColumn<bool>("window");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("no window, nothing selected") << false << QString() << kNoWindow;
    QTest::newRow("no window") << false << QStringLiteral("hi") << kNoWindow;
    QTest::newRow("nothing selected") << true << QString() << kEmpty;
}

void TestSendRules::orderOfChecks()
{
    QFETCH(bool, window);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Sending s;
    if (window)
        s.ws.windows["发送消息"] = 7;
    QVERIFY(!SendToQQ(text, false, true, s.dialogs, s.ws));
    QVERIFY(s.ws.sends.empty());
    QCOMPARE(s.dialogs.shown.size(), 1);
    QCOMPARE(s.dialogs.shown[0].text, message);
    QCOMPARE(s.dialogs.shown[0].title, kHintTitle);
    QCOMPARE(s.dialogs.shown[0].icon, Dialogs::Icon::Information);
}

void TestSendRules::messageModeWindowComesFirst()
{
    Sending s;
    s.ws.windows["对话模式"] = 8;
    QVERIFY(SendToQQ(QStringLiteral("x"), true, true, s.dialogs, s.ws));
    QCOMPARE(s.ws.sends.back().target, platform::WindowId(8));
    QCOMPARE(s.ws.sends.back().editX, 220);
    QCOMPARE(s.ws.sends.back().editY, 320);

    s.ws.windows["发送消息"] = 7;
    QVERIFY(SendToQQ(QStringLiteral("x"), true, true, s.dialogs, s.ws));
    QCOMPARE(s.ws.sends.back().target, platform::WindowId(7));
    QCOMPARE(s.ws.sends.back().editX, 200);
    QCOMPARE(s.ws.sends.back().editY, 150);
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestSendRules::length_data()
{
    QTest::addColumn<int>("characters");
    QTest::addColumn<bool>("warn");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<int>("sent");
    QTest::newRow("250") << 250 << true << QString() << 250;
    QTest::newRow("251") << 251 << true << SendRules::overLongMessage(502) << 251;
    QTest::newRow("500") << 500 << true << SendRules::overLongMessage(1000) << 500;
    QTest::newRow("600") << 600 << true << SendRules::overLongMessage(1200) << 500;
    QTest::newRow("600 without the warning") << 600 << false << QString() << 500;
}

void TestSendRules::length()
{
    QFETCH(int, characters);
    QFETCH(bool, warn);
    QFETCH(QString, message);
    QFETCH(int, sent);
    Sending s;
    s.ws.windows["发送消息"] = 7;
    QVERIFY(SendToQQ(repeated(characters), false, warn, s.dialogs, s.ws));
    QCOMPARE(s.ws.sends.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(s.ws.sends[0].utf8Text), repeated(sent));
    if (message.isEmpty()) {
        QVERIFY(s.dialogs.shown.isEmpty());
    } else {
        QCOMPARE(s.dialogs.shown.size(), 1);
        QCOMPARE(s.dialogs.shown[0].text, message);
        QCOMPARE(s.dialogs.shown[0].title, kHintTitle);
        QCOMPARE(s.dialogs.shown[0].icon, Dialogs::Icon::Information);
    }
}

void TestSendRules::textTravelsIntactWithItsStyle()
{
    Sending s;
    s.ws.windows["发送消息"] = 7;
    const QString text = QStringLiteral("中文　全角！＠＃\r\n€") + kEmoji;
    QVERIFY(SendToQQ(text, false, true, s.dialogs, s.ws));
    QVERIFY(SendToQQ(text, true, true, s.dialogs, s.ws));
    QCOMPARE(QString::fromStdString(s.ws.sends[0].utf8Text), text);
    QVERIFY(!s.ws.sends[0].pasteOnly);
    QVERIFY(s.ws.sends[1].pasteOnly);
    // The send waits for other programs; our own events must run meanwhile.
    QVERIFY(bool(s.ws.sends[0].whileWaiting));
}

void TestSendRules::failedSendsSayWhy_data()
{
    QTest::addColumn<platform::SendResult>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("the window went") << platform::SendResult::NoTarget << kNoWindow;
    QTest::newRow("the window took nothing") << platform::SendResult::Failed << SendToQQTexts::kNotTaken;
}

void TestSendRules::failedSendsSayWhy()
{
    QFETCH(platform::SendResult, result);
    QFETCH(QString, message);
    Sending s;
    s.ws.windows["发送消息"] = 7;
    s.ws.result = result;
    QVERIFY(!SendToQQ(QStringLiteral("x"), false, true, s.dialogs, s.ws));
    QCOMPARE(s.dialogs.shown.size(), 1);
    QCOMPARE(s.dialogs.shown[0].text, message);
    QCOMPARE(s.dialogs.shown[0].title, kHintTitle);
}

void TestSendRules::favouritesCreateAppendAndFail()
{
    TempProgramDir dir;
    const QString file = dir.file(QStringLiteral("Data/MyFavor/我的最爱.txt"));
    // No directory: nothing can be written, and nothing is made.
    QVERIFY(!Favourites::add(dir.path(), QStringLiteral("x")));
    QVERIFY(!QFile::exists(file));

    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("Data/MyFavor"))));
    QVERIFY(Favourites::add(dir.path(), QString()));
    QVERIFY(QFile::exists(file));
    QCOMPARE(QFile(file).size(), 0);

    const QString art = QStringLiteral("（＾o＾）\r\n第二行");
    QVERIFY(Favourites::add(dir.path(), art));
    QVERIFY(Favourites::add(dir.path(), art));
    QVERIFY(Favourites::add(dir.path(), QString()));
    QFile read(file);
    QVERIFY(read.open(QIODevice::ReadOnly));
    QCOMPARE(read.readAll(), TextCodec::encode(QString(art + u"\r\n" + art + u"\r\n")));
}

void TestSendRules::chosenWindowIsFoundAgain_data()
{
    QTest::addColumn<QStringList>("windows"); // "title|class", ids from 1
    QTest::addColumn<QString>("chosenClass");
    QTest::addColumn<int>("found"); // 0: none
    QTest::addColumn<bool>("byClassAlone");
    const QString long5000(5000, u'a');
    QTest::newRow("class and title") << QStringList{"李四 - 聊天|chatapp", "张三 - 聊天|chatapp"} << "chatapp" << 2 << false;
    QTest::newRow("the title in another program") << QStringList{"张三 - 聊天|mail"} << "chatapp" << 0 << false;
    QTest::newRow("the only one of its class") << QStringList{"x|term", "李四 - 聊天|chatapp"} << "chatapp" << 2 << true;
    QTest::newRow("two of its class, no title") << QStringList{"李四|chatapp", "王五|chatapp"} << "chatapp" << 0 << false;
    QTest::newRow("no class: never by class") << QStringList{"李四|"} << "" << 0 << false;
    QTest::newRow("no windows") << QStringList{} << "chatapp" << 0 << false;
}

void TestSendRules::chosenWindowIsFoundAgain()
{
    QFETCH(QStringList, windows);
    QFETCH(QString, chosenClass);
    QFETCH(int, found);
    QFETCH(bool, byClassAlone);
    std::vector<platform::WindowInfo> list;
    for (const QString &w : windows)
        list.push_back({list.size() + 1, w.section(u'|', 0, 0).toStdString(), w.section(u'|', 1).toStdString()});
    const auto located = ChosenWindows::locate({"张三 - 聊天", chosenClass.toStdString(), 1, 2}, list);
    QCOMPARE(located ? int(located->window) : 0, found);
    if (located) {
        QCOMPARE(located->byClassAlone, byClassAlone);
        QCOMPARE(located->title, list[found - 1].title);
    }
}

void TestSendRules::choiceKeepsAnyTitle_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("Chinese") << QByteArray("张三 - 聊天") << QByteArray("张三 - 聊天");
    QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe\x80z") << QByteArray("\xff\xfe\x80z");
    const QByteArray tricky("a\n[SendWindow]\r\nx=1 %zz\0end", 27);
    QTest::newRow("lines, a section, a zero") << tricky << tricky;
    QTest::newRow("over 4 KB") << QByteArray(5000, 'w') << QByteArray(4096, 'w');
}

void TestSendRules::choiceKeepsAnyTitle()
{
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, kept);
    TempProgramDir dir;
    const QString file = dir.file(QStringLiteral("data/settings.ini"));
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("data"))));
    const QByteArray others("[Other]\r\nkey=1\r\n");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(others) == others.size());
    out.close();
    ChosenTarget target(file);
    QVERIFY(target.choose({9, title.toStdString(), "chatapp"}, 30, 300));
    const ChosenWindow expected{kept.toStdString(), "chatapp", 30, 300};
    QCOMPARE(ChosenWindows::load(file), std::optional(expected));
    QVERIFY(target.clear());
    QVERIFY(!ChosenWindows::load(file));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), others);
}

void TestSendRules::damagedChoiceIsIgnored_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray good("[SendWindow]\ntitle=a\nclass=b\nx=1\ny=2\n");
    QTest::newRow("no y") << QByteArray("[SendWindow]\ntitle=a\nclass=b\nx=1\n");
    QTest::newRow("negative") << QByteArray(good).replace("x=1", "x=-1");
    QTest::newRow("too far") << QByteArray(good).replace("x=1", "x=32768");
    QTest::newRow("a bad escape") << QByteArray(good).replace("title=a", "title=%zz");
    QTest::newRow("a raw blank") << QByteArray(good).replace("title=a", "title=a b");
    QTest::newRow("twice") << good + "title=c\n";
    QTest::newRow("over 4 KB") << QByteArray(good).replace("title=a", QByteArray("title=" + QByteArray(4097, 'a')));
    QTest::newRow("no title, no class") << QByteArray(good).replace("title=a", "title=").replace("class=b", "class=");
    QTest::newRow("over 256 KiB") << good + QByteArray(256 * 1024, '#');
}

void TestSendRules::damagedChoiceIsIgnored()
{
    QFETCH(QByteArray, file);
    TempProgramDir dir;
    const QString path = dir.file(QStringLiteral("settings.ini"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    out.close();
    QVERIFY(!ChosenWindows::load(path));
    // A file too large to be read is never written over either.
    QCOMPARE(ChosenWindows::save(path, ChosenWindow{"t", "c", 1, 1}), file.size() < 256 * 1024);
    QVERIFY(!ChosenWindows::save(dir.path(), std::nullopt));
}

void TestSendRules::sendsFollowTheChosenWindow()
{
    TempProgramDir dir;
    Sending s;
    s.ws.windows = {{"张三 - 聊天", 5}, {"别的", 8}};
    s.ws.classes = {{5, "chatapp"}, {8, "other"}};
    ChosenTarget target(dir.file(QStringLiteral("settings.ini")));
    QVERIFY(target.choose(*s.ws.windowInfo(5), 30, 300));
    std::optional<platform::PointedWindow> pinned;
    QVERIFY(SendToChosen(QStringLiteral("一"), true, true, s.dialogs, s.ws, target, pinned));
    // The loop keeps its window and point when another is chosen meanwhile.
    QVERIFY(target.choose(*s.ws.windowInfo(8), 1, 1));
    QVERIFY(SendToChosen(QStringLiteral("二"), true, true, s.dialogs, s.ws, target, pinned));
    QCOMPARE(s.ws.sends.size(), 2u);
    for (const platform::SendRequest &r : s.ws.sends)
        QVERIFY(r.target == 5 && r.editX == 30 && r.editY == 300);
    // Both close and another window of the chosen class opens: neither the
    // loop's next tick nor a new send goes to it.
    s.ws.windows = {{"另一个", 11}};
    s.ws.classes[11] = "other";
    QVERIFY(!SendToChosen(QStringLiteral("三"), true, true, s.dialogs, s.ws, target, pinned));
    pinned.reset();
    QVERIFY(!SendToChosen(QStringLiteral("四"), true, true, s.dialogs, s.ws, target, pinned));
    QCOMPARE(s.ws.sends.size(), 2u);
    QCOMPARE(s.dialogs.shown.size(), 2);
    QCOMPARE(s.dialogs.shown[1].text, SendToQQTexts::kChosenNotOpen);
}

QTEST_GUILESS_MAIN(TestSendRules)
#include "tst_sendrules.moc"
