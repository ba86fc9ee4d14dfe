#include "scripteddialogs.h"
#include "specialfiles.h"

#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"
#include "spacefold/aboutspacefold.h"
#include "spacefold/spacefoldwindow.h"
#include "shell/widgets/clicklabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kIdle = u"文本状态：空闲：）[如果文本过大，压缩时间可能会长些]"_qs;
const QString kWide = u"　"_qs;

std::unique_ptr<SpacefoldWindow> makeWindow()
{
    auto window = std::make_unique<SpacefoldWindow>();
    window->Form_Load();
    return window;
}

void setOptions(SpacefoldWindow &w, bool leading, bool trailing, bool inner, bool blankLines)
{
    w.chk(0)->setChecked(leading);
    w.chk(1)->setChecked(trailing);
    w.chk(2)->setChecked(inner);
    w.chk(3)->setChecked(blankLines);
}

// Files open on a thread of their own; true once the text is in the box.
bool opened(SpacefoldWindow &w)
{
    return QTest::qWaitFor([&w] { return !w.isOpening(); }, 60000);
}

// Megabytes of random bytes, much of them no character of the code page,
// with CR LF line ends and without a full-width blank: the window shows and
// saves them as they are.
QByteArray writeRandomArt(const QString &path, qsizetype size)
{
    QRandomGenerator random(23);
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    for (qsizetype i = 0; i < size; ++i) {
        if (i % 997 == 996 && i + 1 < size) {
            bytes[i++] = '\r';
            bytes[i] = '\n';
        } else if (bytes[i] == '\r' || bytes[i] == '\n' || (bytes[i] == '\xa1' && i > 0 && bytes[i - 1] == '\xa1')) {
            bytes[i] = 'x';
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == size ? bytes : QByteArray();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Watches the window whenever a run lets events through.
struct RunObserver
{
    QStringList statuses;
    bool timerRan = false;
    bool boxLocked = false;
    QTimer tick;

    explicit RunObserver(SpacefoldWindow &w, std::function<void()> extra = {})
    {
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, [this, &w, extra] {
            if (!w.isZipping())
                return;
            const QString title = w.frame(1)->title();
            if (statuses.isEmpty() || statuses.last() != title)
                statuses << title;
            timerRan = timerRan || w.ZipTimer()->isActive();
            boxLocked = boxLocked || w.textBox()->isLocked();
            if (extra)
                extra();
        });
        tick.start();
    }
};

} // namespace

class TestSpacefoldWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startState();
    void zipButtonRule_data();
    void zipButtonRule();
    void fullWidthBlankBecomesTwoBlanks();
    void zipShowsTheStatistics();
    void runShowsEachPassAndLocksTheBox();
    void runIsNeverReentered();
    void optionsTickedDuringARunCountFromTheNext();
    void closingDuringARunEndsIt();
    void fromClipboard();
    void fromFile();
    void fileInAnotherEncodingSavedBackInIt();
    void fromMissingFile();
    void opensWhileTheWindowAnswers();
    void closingWhileOpeningGivesItUp();
    void fileWithLineFeedsFoldsLineByLine();
    void ratioShowsNoBinaryNoise();
    void saveAddsOneLineBreak();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void saveFailure();
    void buttonFrames();
    void aboutClosesOnClickOrKey();
    void exitEmptiesAndCloses();

private:
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestSpacefoldWindow::init()
{
    m_dialogs = ScriptedDialogs::install();
}

void TestSpacefoldWindow::startState()
{
    const auto w = makeWindow();
    QCOMPARE(w->windowTitle(), u"空格压缩器(Spacefold) V1.0 For Zantoria"_qs);
    QCOMPARE(w->frame(0)->title(), u"压缩选项"_qs);
    const QStringList options = {u"前置空格"_qs, u"后置空格"_qs, u"中间空格"_qs, u"空行"_qs};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w->chk(i)->text(), options[i]);
        QCOMPARE(w->chk(i)->isChecked(), i == 0);
    }
    QVERIFY(w->options().optLeading);
    QVERIFY(!w->options().optTrailing && !w->options().optInner && !w->options().optBlankLines);

    // Captions padded twice: the blanks of the first padding count again.
    QCOMPARE(w->Btn(0)->caption(), u"来自剪贴板"_qs + kWide.repeated(15));
    QCOMPARE(w->Btn(2)->caption(), u"压缩空格"_qs + kWide.repeated(12));
    QCOMPARE(w->Btn(4)->caption(), u"关    于"_qs + kWide.repeated(6));
    QCOMPARE(w->Btn(5)->caption(), u"退      出"_qs + kWide.repeated(6));

    QCOMPARE(w->frame(1)->title(), kIdle);
    QCOMPARE(w->lblInfB()->text(), u"压缩前文本大小： 0字节"_qs);
    QCOMPARE(w->lblInfA()->text(), u"压缩后文本大小：[尚未进行压缩]"_qs);
    QCOMPARE(w->lblZipTime()->text(), u"压缩时间：0秒"_qs);
    QCOMPARE(w->lblZipTime()->toolTip(), u"对小于1秒的时间，将作0秒来显示：）"_qs);
    QCOMPARE(w->lblZipRate()->text(), u"压缩比率：0%"_qs);
    QVERIFY(!w->Btn(2)->isEnabled());
    QVERIFY(!w->textBox()->isLocked());
    QVERIFY(!w->ZipTimer()->isActive());
    QCOMPARE(w->ZipTimer()->interval(), 1000);
}

void TestSpacefoldWindow::zipButtonRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("optionMask");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty box") << QString() << 1 << false;
    QTest::newRow("no option") << u"a"_qs << 0 << false;
    QTest::newRow("leading") << u"a"_qs << 1 << true;
    QTest::newRow("blank lines only") << u" "_qs << 8 << true;
    QTest::newRow("all, empty box") << QString() << 15 << false;
}

void TestSpacefoldWindow::zipButtonRule()
{
    QFETCH(QString, text);
    QFETCH(int, optionMask);
    QFETCH(bool, enabled);
    const auto w = makeWindow();
    w->textBox()->setText(u"x"_qs);
    setOptions(*w, optionMask & 1, optionMask & 2, optionMask & 4, optionMask & 8);
    w->textBox()->setText(text);
    QCOMPARE(w->Btn(2)->isEnabled(), enabled);
    if (!enabled) {
        // A disabled button raises no click.
        QTest::mouseClick(w->Btn(2), Qt::LeftButton);
        QCOMPARE(w->textBox()->text(), text);
    }
}

void TestSpacefoldWindow::fullWidthBlankBecomesTwoBlanks()
{
    const auto w = makeWindow();
    w->show();
    // Typed through an input method, as full-width characters are.
    QTest::keyClicks(w->textBox(), u"a"_qs);
    QInputMethodEvent typed;
    typed.setCommitString(u"　"_qs);
    QApplication::sendEvent(w->textBox(), &typed);
    QTest::keyClicks(w->textBox(), u"bc"_qs);
    QCOMPARE(w->textBox()->text(), u"a  bc"_qs);
    w->textBox()->setText(u"中　\r\n　　"_qs);
    QCOMPARE(w->textBox()->text(), u"中  \r\n    "_qs);
    QCOMPARE(w->lblInfB()->text(), u"压缩前文本大小： 10字节"_qs);
}

void TestSpacefoldWindow::zipShowsTheStatistics()
{
    const auto w = makeWindow();
    w->textBox()->setText(u"   ab\r\n  cd\r\n    e"_qs);
    QVERIFY(w->Btn(2)->isEnabled());
    w->Btn_Click(2);
    QCOMPARE(w->textBox()->text(), u" ab\r\ncd\r\n  e"_qs);
    QCOMPARE(w->lblInfB()->text(), u"压缩前文本大小： 18字节"_qs);
    QCOMPARE(w->lblInfA()->text(), u"压缩后文本大小： 12字节"_qs);
    QCOMPARE(w->lblZipTime()->text(), u"压缩时间：0秒"_qs);
    QCOMPARE(w->lblZipRate()->text(), u"压缩比率：33.34%"_qs);
    QCOMPARE(w->frame(1)->title(), kIdle);
    QVERIFY(!w->textBox()->isLocked());
    QVERIFY(!w->ZipTimer()->isActive());

    // Any change afterwards shows the idle statistics again.
    w->textBox()->setText(w->textBox()->text() + u"x"_qs);
    QCOMPARE(w->lblInfA()->text(), u"压缩后文本大小：[尚未进行压缩]"_qs);
    QCOMPARE(w->lblZipRate()->text(), u"压缩比率：0%"_qs);
}

void TestSpacefoldWindow::runShowsEachPassAndLocksTheBox()
{
    const auto w = makeWindow();
    setOptions(*w, true, true, true, true);
    w->textBox()->setText(u"  a  b  \r\n\r\n  c  d"_qs);
    RunObserver observer(*w);
    w->Btn_Click(2);
    QCOMPARE(observer.statuses, (QStringList{u"文本状态：正在压缩空行..."_qs, u"文本状态：正在压缩后置空格..."_qs,
                                             u"文本状态：正在压缩前置空格..."_qs, u"文本状态：正在压缩中间空格..."_qs}));
    QVERIFY(observer.timerRan);
    QVERIFY(observer.boxLocked);
    QCOMPARE(w->textBox()->text(), u"ab\r\ncd"_qs);
}

void TestSpacefoldWindow::runIsNeverReentered()
{
    const auto w = makeWindow();
    setOptions(*w, true, true, false, false);
    w->textBox()->setText(u"  a  \r\n  b"_qs);
    SpacefoldWindow *window = w.get();
    RunObserver observer(*w, [window] {
        window->Btn_Click(2);
        window->Btn_Click(0); // would replace the text under the run
    });
    QApplication::clipboard()->setText(u"clipboard"_qs);
    w->Btn_Click(2);
    QCOMPARE(observer.statuses, (QStringList{u"文本状态：正在压缩后置空格..."_qs, u"文本状态：正在压缩前置空格..."_qs}));
    QCOMPARE(w->textBox()->text(), u"a\r\nb"_qs);
}

void TestSpacefoldWindow::optionsTickedDuringARunCountFromTheNext()
{
    const auto w = makeWindow();
    w->textBox()->setText(u"  a  b\r\n  c  d"_qs);
    SpacefoldWindow *window = w.get();
    RunObserver observer(*w, [window] { window->chk(2)->setChecked(true); });
    w->Btn_Click(2);
    QCOMPARE(observer.statuses, QStringList{u"文本状态：正在压缩前置空格..."_qs});
    QCOMPARE(w->textBox()->text(), u"a  b\r\nc  d"_qs);
    QVERIFY(w->options().optInner);
    w->Btn_Click(2);
    QCOMPARE(w->textBox()->text(), u"ab\r\ncd"_qs);
}

void TestSpacefoldWindow::closingDuringARunEndsIt()
{
    const auto w = makeWindow();
    w->show();
    w->textBox()->setText(u"  a\r\n  b"_qs);
    SpacefoldWindow *window = w.get();
    RunObserver observer(*w, [window] { window->close(); });
    w->Btn_Click(2);
    QVERIFY(!w->isVisible());
    QVERIFY(!w->isZipping());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestSpacefoldWindow::fromClipboard()
{
    const auto w = makeWindow();
    QApplication::clipboard()->setText(u"剪　贴"_qs);
    w->Btn_Click(0);
    QCOMPARE(w->textBox()->text(), u"剪  贴"_qs);
    QVERIFY(w->Btn(2)->isEnabled());
    QApplication::clipboard()->clear();
    w->Btn_Click(0);
    QCOMPARE(w->textBox()->text(), QString());
    QVERIFY(!w->Btn(2)->isEnabled());
}

void TestSpacefoldWindow::fromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"art.TXT"_qs);
    QVERIFY(TextCodec::writeFile(path, u"  中€\r\n  国"_qs));
    const auto w = makeWindow();
    m_dialogs->files.enqueue(path);
    w->Btn_Click(1);
    QVERIFY(opened(*w));
    QCOMPARE(w->textBox()->text(), u"  中€\r\n  国"_qs);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, u"open"_qs);
    QCOMPARE(m_dialogs->shown[0].text, u"*.TXT (*.TXT *.txt)"_qs);
    QCOMPARE(m_dialogs->shown[0].title, QString());

    // Cancelling, or a name of blanks, leaves the box alone.
    m_dialogs->files.enqueue(u"   "_qs);
    w->Btn_Click(1);
    w->Btn_Click(1);
    QCOMPARE(w->textBox()->text(), u"  中€\r\n  国"_qs);
    QCOMPARE(m_dialogs->shown.size(), 3);
}

void TestSpacefoldWindow::fileInAnotherEncodingSavedBackInIt()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"utf8.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"  中　文\n  国\n"_qs.toUtf8());
    file.close();
    const auto w = makeWindow();
    m_dialogs->files.enqueue(path);
    w->Btn_Click(1);
    QVERIFY(opened(*w));
    QCOMPARE(w->textBox()->text(), u"  中  文\r\n  国\r\n"_qs);
    // Under the same name: UTF-8 with LF again (and the line break every save
    // adds); under another: the code page.
    m_dialogs->files.enqueue(path);
    m_dialogs->answers.enqueue(true);
    w->Btn_Click(3);
    QCOMPARE(fileBytes(path), u"  中  文\n  国\n\n"_qs.toUtf8());
    const QString other = dir.filePath(u"other.txt"_qs);
    m_dialogs->files.enqueue(other);
    w->Btn_Click(3);
    QCOMPARE(fileBytes(other), TextCodec::encode(u"  中  文\r\n  国\r\n\r\n"_qs));
}

void TestSpacefoldWindow::fileWithLineFeedsFoldsLineByLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"lf.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("   a\n   b");
    file.close();
    const auto w = makeWindow();
    m_dialogs->files.enqueue(path);
    w->Btn_Click(1);
    QVERIFY(opened(*w));
    w->Btn_Click(2);
    QCOMPARE(w->textBox()->text(), u"a\r\nb"_qs);
}

void TestSpacefoldWindow::ratioShowsNoBinaryNoise()
{
    const auto w = makeWindow();
    setOptions(*w, false, true, false, false);
    w->textBox()->setText(QString(9622, u'x') + QString(378, u' '));
    w->Btn_Click(2);
    QCOMPARE(w->lblInfB()->text(), u"压缩前文本大小： 10000字节"_qs);
    QCOMPARE(w->lblZipRate()->text(), u"压缩比率：3.78%"_qs);
}

void TestSpacefoldWindow::fromMissingFile()
{
    const auto w = makeWindow();
    w->textBox()->setText(u"kept"_qs);
    m_dialogs->files.enqueue(u"/no/such/dir/art.txt"_qs);
    w->Btn_Click(1);
    QVERIFY(opened(*w));
    QCOMPARE(w->textBox()->text(), u"kept"_qs);
    QCOMPARE(m_dialogs->shown.last().kind, u"message"_qs);
    QCOMPARE(m_dialogs->shown.last().text, u"打开文件时出现错误！文件不存在或是已经损坏：O"_qs);
    QCOMPARE(m_dialogs->shown.last().title, u"出错了：（"_qs);
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Critical);
}

void TestSpacefoldWindow::opensWhileTheWindowAnswers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"random.txt"_qs);
    const QByteArray bytes = writeRandomArt(path, 24 << 20);
    QVERIFY(!bytes.isEmpty());
    const auto w = makeWindow();
    w->show();
    w->textBox()->setText(u"old"_qs);
    int ticksWhileOpening = 0;
    QTimer tick;
    tick.setInterval(0);
    connect(&tick, &QTimer::timeout, this, [&] { ticksWhileOpening += w->isOpening(); });
    tick.start();

    m_dialogs->files.enqueue(path);
    w->Btn_Click(1);
    QVERIFY(w->isOpening());
    QCOMPARE(w->frame(1)->title(), u"文本状态：正在打开文件..."_qs);
    QVERIFY(w->textBox()->isLocked());
    // Meanwhile the clipboard, another open, a run and a save do nothing.
    QApplication::clipboard()->setText(u"clip"_qs);
    m_dialogs->files.enqueue(dir.filePath(u"other.txt"_qs));
    for (int index : {0, 1, 2, 3})
        w->Btn_Click(index);
    w->Zip();
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(w->textBox()->text(), u"old"_qs);
    QVERIFY(opened(*w));
    QVERIFY(ticksWhileOpening > 0);

    // The whole file, every byte of it, and saved back as it was.
    QVERIFY(TextCodec::encode(w->textBox()->text()) == bytes);
    QCOMPARE(w->lblInfB()->text(), u"压缩前文本大小： %1字节"_qs.arg(bytes.size()));
    QCOMPARE(w->frame(1)->title(), kIdle);
    QVERIFY(!w->textBox()->isLocked());
    m_dialogs->files.clear();
    const QString saved = dir.filePath(u"saved.txt"_qs);
    m_dialogs->files.enqueue(saved);
    w->Btn_Click(3);
    QVERIFY(fileBytes(saved) == bytes + "\r\n");
}

void TestSpacefoldWindow::closingWhileOpeningGivesItUp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"random.txt"_qs);
    QVERIFY(!writeRandomArt(path, 24 << 20).isEmpty());
    auto w = makeWindow();
    w->show();
    m_dialogs->files.enqueue(path);
    w->Btn_Click(1);
    QVERIFY(w->isOpening());
    w->Btn_Click(5);
    QVERIFY(opened(*w));
    QVERIFY(!w->isVisible());
    QCOMPARE(m_dialogs->shown.size(), 1); // no failure reported
    // A window destroyed while it opens waits for its thread to give up.
    w = makeWindow();
    m_dialogs->files.enqueue(path);
    w->Btn_Click(1);
    QVERIFY(w->isOpening());
    w.reset();
}

void TestSpacefoldWindow::saveAddsOneLineBreak()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_qs);
    const auto w = makeWindow();
    w->textBox()->setText(u"  中\r\n  b"_qs);
    w->Btn_Click(2);
    QCOMPARE(w->lblInfA()->text(), u"压缩后文本大小： 5字节"_qs);
    m_dialogs->files.enqueue(path);
    w->Btn_Click(3);
    QCOMPARE(fileBytes(path), TextCodec::encode(u"中\r\nb\r\n"_qs));
    QCOMPARE(w->textBox()->text(), u"中\r\nb"_qs);
    QCOMPARE(m_dialogs->shown.first().kind, u"save"_qs);
    QCOMPARE(m_dialogs->shown.first().text, u"*.* (*)"_qs);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(w->lblInfA()->text(), u"压缩后文本大小：[尚未进行压缩]"_qs);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"out.txt"_qs});
}

void TestSpacefoldWindow::overwriteQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No writes nothing") << false;
    QTest::newRow("Yes overwrites") << true;
}

void TestSpacefoldWindow::overwriteQuestion()
{
    QFETCH(bool, yes);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"old.txt"_qs);
    QVERIFY(TextCodec::writeFile(path, u"old"_qs));
    const auto w = makeWindow();
    w->textBox()->setText(u"new"_qs);
    m_dialogs->files.enqueue(path);
    m_dialogs->answers.enqueue(yes);
    w->Btn_Click(3);
    QCOMPARE(m_dialogs->shown.size(), 2);
    QCOMPARE(m_dialogs->shown[1].kind, u"question"_qs);
    QCOMPARE(m_dialogs->shown[1].text, u"文件"_qs + path + u"已经存在，是否覆盖？"_qs);
    QCOMPARE(m_dialogs->shown[1].title, u"提醒信息：）"_qs);
    QCOMPARE(m_dialogs->shown[1].icon, Dialogs::Icon::Question);
    QCOMPARE(fileBytes(path), yes ? QByteArray("new\r\n") : QByteArray("old"));
    QCOMPARE(w->textBox()->text(), u"new"_qs);
}

void TestSpacefoldWindow::saveFailure()
{
    const auto w = makeWindow();
    w->textBox()->setText(u"text"_qs);
    m_dialogs->files.enqueue(u"/no/such/dir/out.txt"_qs);
    w->Btn_Click(3);
    QVERIFY(m_dialogs->shown.last().text.startsWith(u"保存文件时出现错误！"_qs)); // and, where known, why
    QCOMPARE(m_dialogs->shown.last().title, u"出错了：（"_qs);
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Critical);
    QCOMPARE(w->textBox()->text(), u"text"_qs);

    // A FIFO: refused at once, without a question and without waiting for
    // a reader that may never come.
    QTemporaryDir dir;
    const SpecialFile fifo(u"fifo"_qs, dir.filePath(u"pipe.txt"_qs));
    if (!fifo.available())
        QSKIP("no FIFOs here");
    m_dialogs->shown.clear();
    m_dialogs->files.enqueue(fifo.path());
    m_dialogs->answers.enqueue(true);
    w->Btn_Click(3);
    QVERIFY2(!fifo.heldUp(), "the save waited for a reader");
    QCOMPARE(m_dialogs->shown.size(), 2);
    QVERIFY(m_dialogs->shown[1].text.startsWith(u"保存文件时出现错误！"_qs));
    QCOMPARE(m_dialogs->shown[1].title, u"出错了：（"_qs);
}

void TestSpacefoldWindow::buttonFrames()
{
    const auto w = makeWindow();
    const QColor rest(177, 177, 177);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(w->frameColor(w->Btn(i)), rest);
    w->Btn_MouseMove(3);
    QCOMPARE(w->frameColor(w->Btn(3)), QColor(49, 106, 197));
    QCOMPARE(w->Btn(3)->buttonBackColor(), QColor(192, 210, 238));
    w->Btn_MouseOut(3);
    QCOMPARE(w->frameColor(w->Btn(3)), rest);
    QCOMPARE(w->Btn(3)->buttonBackColor(), w->backColor());
}

void TestSpacefoldWindow::aboutClosesOnClickOrKey()
{
    const auto w = makeWindow();
    w->show();
    QStringList seen;
    const auto closeWith = [&](bool key) {
        QTimer::singleShot(50, [&seen, key] {
            auto *about = qobject_cast<AboutSpacefold *>(QApplication::activeModalWidget());
            if (!about)
                return;
            seen << about->objectName() + u'/' + about->windowTitle();
            if (key) {
                QTest::keyClick(about, Qt::Key_A);
            } else {
                auto *label = about->findChildren<QLabel *>().value(2);
                QTest::mouseClick(label, Qt::LeftButton);
            }
        });
    };
    closeWith(true);
    w->Btn_Click(4);
    closeWith(false);
    QTest::mouseClick(w->Logo(), Qt::LeftButton);
    QCOMPARE(seen, (QStringList{u"frmAboutSpacefold/关于"_qs, u"frmAboutSpacefold/关于"_qs}));
}

void TestSpacefoldWindow::exitEmptiesAndCloses()
{
    const auto w = makeWindow();
    w->show();
    w->textBox()->setText(u"text"_qs);
    w->Btn_Click(5);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->textBox()->text(), QString());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Fonts::installSubstitutions();
    TestSpacefoldWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_spacefoldwindow.moc"
