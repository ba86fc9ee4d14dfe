// zantoria-cli arttext, run as a user runs it, against the core it fronts.

#include "processes.h"

#include "art/arttext.h"
#include "art/textcells.h"

#include "shell/core/fonts.h"

#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

#include <sys/resource.h>

using namespace ArtText;

namespace {

using Run = CliRun;

Run arttext(const QStringList &args)
{
    return runCli(QStringList{QStringLiteral("arttext")} + args);
}

// What the core makes of the text, as the command prints it.
QByteArray expected(const QString &text, const QFont &font, const Style &style, bool qq = false)
{
    TextCells cells;
    if (!RenderTextCells(text, font, cells))
        return "refused";
    QString art = Build(cells, text, style);
    if (qq)
        art = QqCap(art).text;
    return art.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
}

} // namespace

class TestArtTextCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void options_data();
    void options();
    void qqCutsToOneMessage();
    void doubleDashEndsTheOptions_data();
    void doubleDashEndsTheOptions();
    void errors_data();
    void errors();
    void tallResultWithinBoundedMemory();
};

void TestArtTextCli::initTestCase()
{
    QVERIFY(QFile::exists(cliPath()));
    Fonts::installSubstitutions();
}

void TestArtTextCli::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("loop");
    QTest::addColumn<bool>("loopFull");

    const QString song = Fonts::kSongTi;
    QTest::newRow("defaults: the panel's start") << QStringList{} << song << 10.5 << false << false << 1 << 2
                                                 << "Zantoria" << false;
    QTest::newRow("font, size, bold, italic")
        << QStringList{"--font", "DejaVu Serif", "--size", "14", "--bold", "--italic"} << "DejaVu Serif" << 14.0
        << true << true << 1 << 2 << "Zantoria" << false;
    const char *effects[] = {"plain", "vivid", "updown", "leftright", "loop", "follow"};
    for (int e = 0; e < 6; ++e) {
        QTest::addRow("effect %s", effects[e]) << QStringList{"--effect", effects[e]} << song << 10.5 << false
                                               << false << e << 2 << "Zantoria" << false;
    }
    QTest::newRow("both widths with own characters")
        << QStringList{"--width", "both", "--effect", "plain", "--fg", "+", "--bg", ".", "--fg-full", "★",
                       "--bg-full", "☆"}
        << song << 10.5 << false << false << 0 << 0 << "Zantoria" << false;
    QTest::newRow("full width") << QStringList{"--width", "full"} << song << 10.5 << false << false << 1 << 1
                                << "Zantoria" << false;
    QTest::newRow("full-width loop default") << QStringList{"--effect", "loop", "--loop-full"} << song << 10.5
                                             << false << false << 4 << 2 << "Ｚａｎｔｏｒｉａ" << true;
    QTest::newRow("loop filtered as the panel filters it")
        << QStringList{"--effect", "loop", "--loop", "AB中\tC"} << song << 10.5 << false << false << 4 << 2
        << "ABC" << false;
}

void TestArtTextCli::options()
{
    QFETCH(QStringList, args);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(int, effect);
    QFETCH(int, group);
    QFETCH(QString, loop);
    QFETCH(bool, loopFull);
    const QString text = QStringLiteral("A中\nb");
    const Run run = arttext(args << text);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    Style style;
    style.effect = effect;
    style.group = group;
    style.loop = loop;
    style.loopFullWidth = loopFull;
    const int at = int(args.indexOf(QStringLiteral("--fg")));
    if (at >= 0) {
        style.frontBJ = args[at + 1];
        style.backBJ = args[at + 3];
        style.frontQJ = args[at + 5];
        style.backQJ = args[at + 7];
    }
    const QByteArray want = expected(text, ArtTextFont(family, points, bold, italic), style);
    QCOMPARE(run.out, want);
    QVERIFY(!run.out.contains('\r'));
}

void TestArtTextCli::qqCutsToOneMessage()
{
    const QString text = QStringLiteral("中文");
    const Run run = arttext({QStringLiteral("--qq"), QStringLiteral("--width"), QStringLiteral("full"), text});
    QCOMPARE(run.status, 0);
    Style style;
    style.group = FullWidthOnly;
    QCOMPARE(run.out, expected(text, ArtTextFont(Fonts::kSongTi, 10.5, false, false), style, true));
    QVERIFY(QString::fromUtf8(run.out).size() <= 500);
}

void TestArtTextCli::doubleDashEndsTheOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    QTest::newRow("a text that starts with a dash") << QStringList{"--", "-_-"} << "-_-" << 10.5;
    QTest::newRow("a text that reads as an option") << QStringList{"--", "--size"} << "--size" << 10.5;
    QTest::newRow("options before it still count") << QStringList{"--size", "12", "--", "-x"} << "-x" << 12.0;
    QTest::newRow("a second -- is text") << QStringList{"--", "--"} << "--" << 10.5;
}

void TestArtTextCli::doubleDashEndsTheOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, text);
    QFETCH(double, points);
    const Run run = arttext(args);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, expected(text, ArtTextFont(Fonts::kSongTi, points, false, false), Style()));
}

void TestArtTextCli::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("says");
    QTest::newRow("empty text") << QStringList{""} << 1 << QByteArray("TEXT is empty");
    QTest::newRow("loop filters to nothing") << QStringList{"--effect", "loop", "--loop", "中文", "x"} << 1
                                             << QByteArray("loop text");
    QTest::newRow("full-width --fg") << QStringList{"--fg", "中", "x"} << 1 << QByteArray("--fg");
    QTest::newRow("half-width --bg-full") << QStringList{"--bg-full", "a", "x"} << 1 << QByteArray("--bg-full");
    QTest::newRow("two characters") << QStringList{"--bg", "ab", "x"} << 1 << QByteArray("--bg");
    QTest::newRow("size too small") << QStringList{"--size", "3.5", "x"} << 1 << QByteArray("--size");
    QTest::newRow("size too large") << QStringList{"--size", "72.5", "x"} << 1 << QByteArray("--size");
    QTest::newRow("size beyond any number") << QStringList{"--size", "1e400", "x"} << 1
                                            << QByteArray("from 4 to 72 points, not 1e400");
    QTest::newRow("size below any number") << QStringList{"--size", "1e-400", "x"} << 1
                                           << QByteArray("from 4 to 72 points, not 1e-400");
    QTest::newRow("size negative beyond any number") << QStringList{"--size", "-1e400", "x"} << 1
                                                     << QByteArray("--size");
    QTest::newRow("size infinite") << QStringList{"--size", "inf", "x"} << 1 << QByteArray("--size");
    QTest::newRow("unknown font") << QStringList{"--font", "No Such Face", "x"} << 1 << QByteArray("unknown font");
    QTest::newRow("over the cell bound") << QStringList{"--size", "72", QString(2000, QChar(0x4E2D))} << 1
                                         << QByteArray("16000000");
    QTest::newRow("no text") << QStringList{} << 2 << QByteArray("no TEXT");
    QTest::newRow("unknown option") << QStringList{"--shiny", "x"} << 2 << QByteArray("unknown option");
    QTest::newRow("unknown effect") << QStringList{"--effect", "wavy", "x"} << 2 << QByteArray("--effect");
    QTest::newRow("unknown width") << QStringList{"--width", "wide", "x"} << 2 << QByteArray("--width");
    QTest::newRow("size not a number") << QStringList{"--size", "big", "x"} << 2 << QByteArray("--size");
    QTest::newRow("two texts") << QStringList{"x", "y"} << 2 << QByteArray("one TEXT");
    QTest::newRow("two texts after --") << QStringList{"--", "x", "y"} << 2 << QByteArray("one TEXT");
    QTest::newRow("-- and no text") << QStringList{"--"} << 2 << QByteArray("no TEXT");
    QTest::newRow("a dash text without --") << QStringList{"-_-"} << 2 << QByteArray("unknown option");
    // Characters without a column of their own are of neither width.
    QTest::newRow("zero-width space --fg-full") << QStringList{"--fg-full", "\u200B", "x"} << 1
                                                << QByteArray("--fg-full takes one full-width character");
    QTest::newRow("combining accent --bg-full") << QStringList{"--bg-full", "\u0301", "x"} << 1
                                                << QByteArray("--bg-full takes one full-width character");
    QTest::newRow("combining accent --fg") << QStringList{"--fg", "\u0301", "x"} << 1
                                           << QByteArray("--fg takes one half-width character");
    QTest::newRow("loop of marks only") << QStringList{"--effect", "loop", "--loop-full", "--loop", "\u0301\u200B", "x"}
                                        << 1 << QByteArray("the loop text keeps no full-width character");
}

void TestArtTextCli::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QByteArray, says);
    const Run run = arttext(args);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(says), run.err.constData());
    if (status == 1)
        QCOMPARE(run.err.count('\n'), 1);
}

void TestArtTextCli::tallResultWithinBoundedMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("a sanitizer reserves far more address space than the program uses");
#endif
    // 131 000 line breaks at 72 points: one column, 13 million rows, within
    // the bound. Drawn on one surface, this took over a gigabyte.
    const QString text = QString(131'000, u'\n') + QChar(0x200B);
    const qint64 rows = TextCellsSize(text, ArtTextFont(Fonts::kSongTi, 72, false, false)).rows;
    QProcess cli;
    cli.setChildProcessModifier([] {
        const rlimit most{rlim_t(512) << 20, rlim_t(512) << 20};
        ::setrlimit(RLIMIT_AS, &most);
    });
    cli.start(cliPath(), {QStringLiteral("arttext"), QStringLiteral("--size"), QStringLiteral("72"),
                          QStringLiteral("--"), text});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.readAllStandardError(), QByteArray());
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(cli.readAllStandardOutput(), QByteArray(" \n").repeated(rows));
}

QTEST_MAIN(TestArtTextCli)
#include "tst_arttextcli.moc"
