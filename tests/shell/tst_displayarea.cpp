#include "shell/widgets/displayarea.h"
#include "shell/widgets/largetextview.h"
#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"
#include "tempprogramdir.h"

#include <QAccessible>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QFontMetrics>
#include <QTextCursor>

class TestDisplayArea : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void textAndSelectionSpeakCrLf_data();
    void textAndSelectionSpeakCrLf();
    void limitCutsWhatGoesBeyond_data();
    void limitCutsWhatGoesBeyond();
    void loadsAndSavesThroughTheCodec();
    void failedLoadKeepsTheText();
    void rightMarginWrapsAtAFixedWidth();
    void largeTextIsShownWithoutTheEditor_data();
    void largeTextIsShownWithoutTheEditor();
};

void TestDisplayArea::textAndSelectionSpeakCrLf_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("text");
    QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("lone lf") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("lone cr") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
    QTest::newRow("empty lines") << QStringLiteral("\r\n\r\n中") << QStringLiteral("\r\n\r\n中");
    QTest::newRow("full-width blanks") << QStringLiteral("　★　") << QStringLiteral("　★　");
}

void TestDisplayArea::textAndSelectionSpeakCrLf()
{
    QFETCH(QString, given);
    QFETCH(QString, text);
    DisplayArea area;
    area.setText(given);
    QCOMPARE(area.text(), text);
    area.selectAll();
    QCOMPARE(area.selectedText(), text);
}

void TestDisplayArea::limitCutsWhatGoesBeyond_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("kept");
    QTest::newRow("within") << 5 << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("cut") << 3 << QStringLiteral("abcdef") << QStringLiteral("abc");
    // A line break is two characters of the limit and is never cut in half.
    QTest::newRow("line break counts two") << 4 << QStringLiteral("ab\r\ncd") << QStringLiteral("ab\r\n");
    QTest::newRow("half a line break") << 3 << QStringLiteral("ab\r\ncd") << QStringLiteral("ab");
    // Nor is a character beyond the basic plane.
    QTest::newRow("half an emoji") << 2 << QString::fromUtf8("a😀b") << QStringLiteral("a");
}

void TestDisplayArea::limitCutsWhatGoesBeyond()
{
    QFETCH(int, limit);
    QFETCH(QString, given);
    QFETCH(QString, kept);
    DisplayArea area;
    area.setMaxLength(limit);
    QSignalSpy changes(&area, &DisplayArea::Change);
    area.setText(given);
    QCOMPARE(area.text(), kept);
    QCOMPARE(changes.size(), 1);
}

void TestDisplayArea::loadsAndSavesThroughTheCodec()
{
    TempProgramDir dir;
    const QString path = dir.file("art.txt");
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::WriteOnly));
    raw.write(QByteArray::fromHex("d6d00d0a800a41"));
    raw.close();
    DisplayArea area;
    QVERIFY(area.loadFile(path));
    QCOMPARE(area.text(), QStringLiteral("中\r\n€\r\nA"));
    QVERIFY(area.saveFile(path));
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QCOMPARE(raw.readAll().toHex(), QByteArray("d6d00d0a800d0a41"));
}

void TestDisplayArea::failedLoadKeepsTheText()
{
    TempProgramDir dir;
    DisplayArea area;
    area.setText(QStringLiteral("keep"));
    QVERIFY(!area.loadFile(dir.file("missing.txt")));
    QCOMPARE(area.text(), QStringLiteral("keep"));
    QVERIFY(!area.saveFile(dir.file("no/such/dir/x.txt")));
}

void TestDisplayArea::rightMarginWrapsAtAFixedWidth()
{
    DisplayArea area;
    area.resize(400, 200);
    area.setFont(Fonts::crispFont(QStringLiteral("DejaVu Sans Mono"), 9));
    area.show();
    const QString line(60, u'a');
    area.setText(line);
    const auto lines = [&] {
        QCoreApplication::processEvents();
        return area.document()->firstBlock().layout()->lineCount();
    };
    QCOMPARE(lines(), 1); // no margin: no wrapping

    const int charWidth = QFontMetrics(area.font()).horizontalAdvance(u'a');
    area.setRightMargin(20 * charWidth);
    QCOMPARE(lines(), 3);
    QCOMPARE(area.text(), line); // wrapping changes the view, never the text

    area.resize(600, 200); // the wrap width does not follow the widget
    QCOMPARE(lines(), 3);

    area.setRightMargin(500000);
    QCOMPARE(lines(), 1);

    // Wider than the box: wrapped at the margin all the same, and the rest
    // of each line is there to scroll to.
    area.resize(200, 200);
    area.setRightMargin(40 * charWidth);
    QCOMPARE(lines(), 2);
    QCOMPARE(area.document()->firstBlock().layout()->lineAt(0).textLength(), 40);
    QTRY_VERIFY(area.horizontalScrollBar()->maximum() > 0);
    area.resize(220, 200);
    QCOMPARE(lines(), 2);
    area.resize(600, 200); // room enough again
    QCOMPARE(lines(), 2);
    QTRY_COMPARE(area.horizontalScrollBar()->maximum(), 0);
    area.setRightMargin(0);
    QCOMPARE(lines(), 1);
}

void TestDisplayArea::largeTextIsShownWithoutTheEditor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString longLine = QString(DisplayArea::kLargeLineCharacters + 1, u'a');
    QTest::newRow("one long line") << longLine << longLine;
    QTest::newRow("a long line among short ones, LF") << u"x\n"_qs + longLine + u"\ny"_qs
                                                       << u"x\r\n"_qs + longLine + u"\r\ny"_qs;
    const QString many = u"  中 b\r\n"_qs.repeated(DisplayArea::kLargeTextCharacters / 6 + 1);
    QTest::newRow("many lines") << many << many;
}

void TestDisplayArea::largeTextIsShownWithoutTheEditor()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    DisplayArea area;
    area.setAccessibleName(u"显示区"_qs);
    area.resize(300, 200);
    QSignalSpy changes(&area, &DisplayArea::Change);
    area.setText(text);
    QVERIFY(area.isLargeText());
    QCOMPARE(changes.count(), 1);
    QVERIFY(area.toPlainText().isEmpty()); // the editor holds no copy
    QVERIFY(area.text() == expected);
    QVERIFY(!area.isEmpty());
    auto *view = area.findChild<LargeTextView *>();
    QVERIFY(view);
    QCOMPARE(view->geometry(), area.rect());
    QCOMPARE(QAccessible::queryAccessibleInterface(view)->text(QAccessible::Name), u"显示区"_qs);
    QVERIFY(area.selectedText().isEmpty());
    view->selectAll();
    QVERIFY(area.selectedText() == expected);
    view->grab(); // paints what is on screen only

    // A small text brings the editor back.
    area.setText(u"a\r\nb"_qs);
    QVERIFY(!area.isLargeText());
    QCOMPARE(area.toPlainText(), u"a\nb"_qs);
    QCOMPARE(area.text(), u"a\r\nb"_qs);
}

QTEST_MAIN(TestDisplayArea)
#include "tst_displayarea.moc"
