// The art-text panel on its own, built as the main window builds it, on a
// throw-away program directory.

#include "art/arttext.h"
#include "art/arttextpanel.h"

#include "shell/core/fonts.h"
#include "shell/core/programpaths.h"
#include "shell/core/textcodec.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "specialfiles.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

class TestArtTextPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void init();
    void cleanup();

    void startState();
    void inputEnablesConvert();
    void widthGroups();
    void characterBoxes();
    void widthlessCharactersRefused_data();
    void widthlessCharactersRefused();
    void loopBox();
    void effectsEnableTheirControls();
    void convertVivid();
    void convertLoopWithEmptyLoopString();
    void appendBesideAndBelow();
    void qqModeCutsAndWraps();
    void showModeQuestion();
    void tooLargeRefused();
    void joinTooLargeRefused_data();
    void joinTooLargeRefused();
    void reentryIgnored();
    void save_data();
    void save();
    void saveRefusedPath();
    void saveOverAFifoRefused();
    void clearDisplay();
    void spacefold();
    void accessibleNames();

private:
    template<typename T>
    T *control(const QString &name) const
    {
        T *c = m_panel->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    DisplayArea *display() const { return m_panel->displayArea(); }
    void input(const QString &text) { control<QPlainTextEdit>("textWZInput")->setPlainText(text); }
    QString convert(const QString &text)
    {
        input(text);
        m_panel->btnWZ_Click(0);
        return display()->text();
    }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    std::unique_ptr<ArtTextPanel> m_panel;
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestArtTextPanel::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    ProgramPaths::CreateDataDirs(m_dir->path());
    m_ctx = std::make_unique<TestContext>(m_dir->path());
    m_dialogs = &m_ctx->dialogs;
    m_panel = std::make_unique<ArtTextPanel>(m_ctx->context);
    m_panel->InitWZ();
}

void TestArtTextPanel::cleanup()
{
    m_panel.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestArtTextPanel::startState()
{
    QCOMPARE(m_panel->geometry(), QRect(5, 5, 417, 385));
    QVERIFY(m_panel->isHidden());
    QVERIFY(control<QCheckBox>("chkWZConBJ")->isChecked());
    QVERIFY(!control<QCheckBox>("chkWZConQJ")->isChecked());
    QCOMPARE(control<QLineEdit>("textWZbjFront")->text(), QStringLiteral("*"));
    QCOMPARE(control<QLineEdit>("textWZbjBack")->text(), QStringLiteral("#"));
    QVERIFY(control<QLineEdit>("textWZbjFront")->isEnabled());
    // The full-width boxes start disabled, their characters set.
    QVERIFY(!control<QComboBox>("comWZqjFront")->isEnabled());
    QVERIFY(!control<QComboBox>("comWZqjBack")->isEnabled());
    QCOMPARE(control<QComboBox>("comWZqjFront")->currentText(), QStringLiteral("■"));
    QCOMPARE(control<QComboBox>("comWZqjBack")->currentText(), QStringLiteral("□"));
    QCOMPARE(control<QComboBox>("comWZqjFront")->count(), 60);
    QVERIFY(control<QRadioButton>("optWZEffect1")->isChecked());
    QCOMPARE(m_panel->WZFindActEffect(), 1);
    QCOMPARE(m_panel->conModeState(), 2);
    QVERIFY(!control<QCheckBox>("chkWZBeginAddMode")->isChecked());
    QVERIFY(!control<QRadioButton>("optWZAddMode0")->isEnabled());
    QVERIFY(control<QRadioButton>("optWZAddMode0")->isChecked());
    QCOMPARE(m_panel->addMode(), 0);
    QCOMPARE(m_panel->showMode(), 0);
    QVERIFY(control<QToolButton>("optWZShowMode0")->isChecked());
    QCOMPARE(control<QLineEdit>("textWZFontSize")->text(), QStringLiteral("10.5"));
    QCOMPARE(control<QScrollBar>("WZFontSizeScroll")->value(), 21);
    QCOMPARE(m_panel->fontName(), Fonts::kSongTi);
    QCOMPARE(control<QComboBox>("comWZFontName")->currentText(), Fonts::kSongTi);
    QVERIFY(control<QToolButton>("chkWZLoopQJ")->isChecked());
    QCOMPARE(control<QLineEdit>("textWZLoop")->text(), QStringLiteral("Ｚａｎｔｏｒｉａ"));
    QVERIFY(!control<QLineEdit>("textWZLoop")->isEnabled());
    QCOMPARE(m_panel->loopString(), QStringLiteral("Ｚａｎｔｏｒｉａ")); // the loop box's text
    QCOMPARE(display()->maxLength(), 0);
    QCOMPARE(display()->fontPointSize(), 9.0);
    QVERIFY(m_panel->tempFile().endsWith(QStringLiteral("/data/艺术文字/Temp.txt")));
    QCOMPARE(control<CoolButton>("btnWZ0")->caption(), QStringLiteral("转化　　"));
    QCOMPARE(control<CoolButton>("btnWZ1")->caption(), QStringLiteral("保存到文件") + QString(15, QChar(0x3000)));
    QCOMPARE(control<CoolButton>("btnWZ3")->caption(), QStringLiteral("空格压缩器") + QString(15, QChar(0x3000)));
    QCOMPARE(control<QPlainTextEdit>("textWZInput")->toolTip(),
             QStringLiteral("『Zantoria』提醒您：此处对字数没有做限制，但字数过多，或者字体过大将会影响转化的速度：O"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestArtTextPanel::inputEnablesConvert()
{
    auto *convertButton = control<CoolButton>("btnWZ0");
    QVERIFY(convertButton->isEnabled());
    input(QString());
    QVERIFY(!convertButton->isEnabled());
    input(QStringLiteral("a"));
    QVERIFY(convertButton->isEnabled());
}

void TestArtTextPanel::widthGroups()
{
    auto *half = control<QCheckBox>("chkWZConBJ");
    auto *full = control<QCheckBox>("chkWZConQJ");
    half->click(); // the last one cleared: refused
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("文字组态至少要选择一种！"));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("『Zantoria』提醒您：）"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Information);
    QVERIFY(half->isChecked());
    full->click();
    QVERIFY(control<QComboBox>("comWZqjFront")->isEnabled());
    QCOMPARE(m_panel->conModeState(), 0);
    half->click();
    QVERIFY(!control<QLineEdit>("textWZbjFront")->isEnabled());
    QCOMPARE(m_panel->conModeState(), 1);
    QCOMPARE(m_dialogs->shown.size(), 1);
}

void TestArtTextPanel::characterBoxes()
{
    auto *front = control<QComboBox>("comWZqjFront");
    front->setEditText(QStringLiteral("a"));
    QCOMPARE(front->currentText(), QStringLiteral("\u3000"));
    front->setCurrentIndex(int(m_panel->symbolChars().indexOf(QStringLiteral("★"))));
    QCOMPARE(front->currentText(), QStringLiteral("★"));
    auto *bj = control<QLineEdit>("textWZbjBack");
    bj->setText(QString());
    QCOMPARE(bj->text(), QStringLiteral(" "));
    bj->setText(QStringLiteral("中"));
    QCOMPARE(bj->text(), QStringLiteral(" "));
    bj->setText(QStringLiteral("\t"));
    QCOMPARE(bj->text(), QStringLiteral(" "));
    // Typing into a box that holds a character keeps the one typed.
    bj->setText(QStringLiteral("+"));
    bj->setCursorPosition(1);
    QTest::keyClick(bj, Qt::Key_Period);
    QCOMPARE(bj->text(), QStringLiteral("."));
}

void TestArtTextPanel::widthlessCharactersRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("zero-width space, full-width foreground") << "comWZqjFront" << "\u200B" << "\u3000";
    QTest::newRow("combining acute, full-width background") << "comWZqjBack" << "\u0301" << "\u3000";
    QTest::newRow("enclosing circle, half-width foreground") << "textWZbjFront" << "\u20DD" << " ";
    QTest::newRow("marks in the full-width loop") << "textWZLoop" << "中\u0301文\u200B" << "中文";
}

void TestArtTextPanel::widthlessCharactersRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    control<QRadioButton>("optWZEffect4")->setChecked(true); // the loop box is full-width at first
    control<QRadioButton>("optWZEffect0")->setChecked(box != QStringLiteral("textWZLoop"));
    if (auto *combo = m_panel->findChild<QComboBox *>(box)) {
        combo->setEditText(typed);
        QCOMPARE(combo->currentText(), kept);
    } else {
        auto *edit = control<QLineEdit>(box);
        edit->setText(typed);
        QCOMPARE(edit->text(), kept);
    }
}

void TestArtTextPanel::loopBox()
{
    control<QRadioButton>("optWZEffect4")->setChecked(true);
    auto *loop = control<QLineEdit>("textWZLoop");
    auto *full = control<QToolButton>("chkWZLoopQJ");
    QVERIFY(loop->isEnabled());
    QCOMPARE(m_panel->loopString(), QStringLiteral("Ｚａｎｔｏｒｉａ"));
    loop->setText(QStringLiteral("AB中C"));
    QCOMPARE(loop->text(), QStringLiteral("中"));
    QCOMPARE(loop->toolTip(), QStringLiteral("此时的循环字符串只可为『全角』"));
    full->setChecked(false);
    QCOMPARE(loop->text(), QStringLiteral("Zantoria"));
    QCOMPARE(full->toolTip(), QStringLiteral("『全角』已关闭"));
    loop->setText(QStringLiteral("AB中C\t"));
    QCOMPARE(loop->text(), QStringLiteral("ABC"));
    QCOMPARE(m_panel->loopString(), QStringLiteral("ABC"));
    QCOMPARE(loop->toolTip(), QStringLiteral("此时的循环字符串只可为『半角』"));
}

void TestArtTextPanel::effectsEnableTheirControls()
{
    control<QRadioButton>("optWZEffect5")->setChecked(true);
    QVERIFY(!control<QGroupBox>("frameWZ3")->isEnabled());
    QVERIFY(!control<QLineEdit>("textWZLoop")->isEnabled());
    control<QRadioButton>("optWZEffect0")->setChecked(true);
    QVERIFY(control<QGroupBox>("frameWZ3")->isEnabled());
    // Every character control, whatever the group boxes say.
    QVERIFY(control<QComboBox>("comWZqjFront")->isEnabled());
}

void TestArtTextPanel::convertVivid()
{
    const QString art = convert(QStringLiteral("中"));
    QVERIFY(m_dialogs->shown.isEmpty());
    const TextCells &cells = m_panel->cells();
    const QStringList lines = art.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), cells.H() + 2);
    QCOMPARE(lines[0].size(), cells.W() + 1);
    QVERIFY(art.contains(u'*'));
    QVERIFY(display()->isLocked());
}

void TestArtTextPanel::convertLoopWithEmptyLoopString()
{
    display()->setText(QStringLiteral("kept"));
    display()->setLocked(true);
    control<QRadioButton>("optWZEffect4")->setChecked(true);
    control<QLineEdit>("textWZLoop")->setText(QStringLiteral("abc")); // full-width box: nothing kept
    convert(QStringLiteral("A"));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("循环字符串不可为空！"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(display()->text(), QStringLiteral("kept"));
    QVERIFY(!display()->isLocked());
}

void TestArtTextPanel::appendBesideAndBelow()
{
    const QString one = convert(QStringLiteral("A"));
    control<QCheckBox>("chkWZBeginAddMode")->setChecked(true);
    QCOMPARE(m_panel->addMode(), 2);
    const QString beside = convert(QStringLiteral("A"));
    QCOMPARE(beside, ArtText::JoinBeside(one, one));
    control<QRadioButton>("optWZAddMode1")->setChecked(true);
    QCOMPARE(m_panel->addMode(), 1);
    QCOMPARE(convert(QStringLiteral("A")), beside + one);
}

void TestArtTextPanel::qqModeCutsAndWraps()
{
    m_dialogs->answers.enqueue(true);
    control<QToolButton>("optWZShowMode1")->click();
    QCOMPARE(m_panel->showMode(), 1);
    QCOMPARE(display()->maxLength(), 500);
    control<QCheckBox>("chkWZConQJ")->click();
    control<QCheckBox>("chkWZConBJ")->click();
    const QString art = convert(QStringLiteral("中文字"));
    // Full-width art: 500 − f is below 250, so 250 it is.
    QCOMPARE(display()->maxLength(), 250);
    QCOMPARE(art.size(), 250);
    QCOMPARE(display()->rightMargin(), 409);
    QVERIFY(TextCodec::byteLength(art) <= 500);
    QString temp;
    QVERIFY(TextCodec::readFile(m_panel->tempFile(), &temp));
    QVERIFY(temp.startsWith(art));
}

void TestArtTextPanel::showModeQuestion()
{
    display()->setText(QStringLiteral("art"));
    m_dialogs->answers.enqueue(false);
    control<QToolButton>("optWZShowMode2")->click();
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("切换显示区模式会自动将显示区清空，真的要切换吗？"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Question);
    QVERIFY(control<QToolButton>("optWZShowMode0")->isChecked());
    QVERIFY(!control<QToolButton>("optWZShowMode2")->isChecked());
    QCOMPARE(m_panel->showMode(), 0);
    QCOMPARE(display()->text(), QStringLiteral("art"));

    m_dialogs->answers.enqueue(true);
    control<QToolButton>("optWZShowMode2")->click();
    QCOMPARE(m_panel->showMode(), 2);
    QVERIFY(display()->isEmpty());
    QCOMPARE(display()->maxLength(), 7000);
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("请务必注意啦：）"));
    QVERIFY(m_dialogs->shown.last().text.startsWith(QStringLiteral("ICQ模式中最多显示7000个半角字符")));
}

void TestArtTextPanel::tooLargeRefused()
{
    display()->setText(QStringLiteral("kept"));
    display()->setLocked(true);
    display()->setMaxLength(300);
    control<QScrollBar>("WZFontSizeScroll")->setValue(144);
    QCOMPARE(control<QLineEdit>("textWZFontSize")->text(), QStringLiteral("72"));
    convert(QString(2000, QChar(0x4E2D)));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("文字转化出错了：（"));
    QVERIFY(m_dialogs->shown[0].text.contains(QStringLiteral("16000000")));
    QCOMPARE(display()->text(), QStringLiteral("kept"));
    QVERIFY(display()->isLocked());
    QCOMPARE(display()->maxLength(), 300);
}

void TestArtTextPanel::joinTooLargeRefused_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("option"); // 0 beside, 1 below
    QTest::newRow("beside: a tall result next to a wide line")
        << QString(10'000, u'x') + QStringLiteral("\r\n") << QStringLiteral("A\n").repeated(150) << 0;
    QTest::newRow("below: a small result under nearly as much as is allowed")
        << QString(kMaxTextCells - 10, u'x') << QStringLiteral("A") << 1;
}

void TestArtTextPanel::joinTooLargeRefused()
{
    QFETCH(QString, shown);
    QFETCH(QString, words);
    QFETCH(int, option);
    display()->setText(shown);
    display()->setMaxLength(int(shown.size()) + 1);
    display()->setRightMargin(409);
    display()->setLocked(true);
    control<QCheckBox>("chkWZBeginAddMode")->setChecked(true);
    control<QRadioButton>(QStringLiteral("optWZAddMode%1").arg(option))->setChecked(true);
    QCOMPARE(m_panel->addMode(), option == 0 ? 2 : 1);
    convert(words);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("文字转化出错了：（"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Exclamation);
    QVERIFY(m_dialogs->shown[0].text.startsWith(QStringLiteral("转化结果太大了：")));
    QVERIFY(m_dialogs->shown[0].text.contains(QStringLiteral("最多只能有16000000个字符")));
    QVERIFY(display()->text() == shown);
    QVERIFY(display()->isLocked());
    QCOMPARE(display()->maxLength(), int(shown.size()) + 1);
    QCOMPARE(display()->rightMargin(), 409);
    QVERIFY(!m_panel->isConverting());
}

void TestArtTextPanel::reentryIgnored()
{
    input(QStringLiteral("中文"));
    const QString once = [&] {
        m_panel->btnWZ_Click(0);
        return display()->text();
    }();
    display()->setText(QString());
    // In the pauses of a running conversion, everything else is turned away.
    int tries = 0;
    QTimer poke;
    connect(&poke, &QTimer::timeout, this, [&] {
        if (!m_panel->isConverting())
            return;
        ++tries;
        m_dialogs->answers.enqueue(true);
        m_panel->btnWZ_Click(0);
        m_panel->btnWZ_Click(2);
        m_panel->optWZEffect_Click(0);
        control<QPlainTextEdit>("textWZInput")->setFocus();
        QTest::keyClick(control<QPlainTextEdit>("textWZInput"), Qt::Key_X);
    });
    poke.start(0);
    m_panel->btnWZ_Click(0);
    poke.stop();
    QVERIFY(tries > 0);
    QCOMPARE(display()->text(), once);
    QCOMPARE(control<QPlainTextEdit>("textWZInput")->toPlainText(), QStringLiteral("中文"));
    QVERIFY(control<QLineEdit>("textWZbjFront")->isEnabled() == (m_panel->WZFindActEffect() <= 3));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestArtTextPanel::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::newRow("art") << "art" << "art.TXT";
    QTest::newRow("a.txt") << "a.txt" << "a.txt";
    QTest::newRow("x.TXT") << "x.TXT" << "x.TXT";
    QTest::newRow(".txt as the dialog gives it, a whole path") << ".txt" << ".txt";
}

void TestArtTextPanel::save()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    display()->setText(QStringLiteral("中\r\n"));
    m_dialogs->files.enqueue(m_dir->file(name));
    m_panel->btnWZ_Click(1);
    QVERIFY(m_dialogs->shown.size() == 1 && m_dialogs->shown[0].kind == QStringLiteral("save"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("*.TXT (*.TXT *.txt)"));
    QCOMPARE(m_dialogs->shown[0].title, QString()); // starts with no name
    QFile file(m_dir->file(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), TextCodec::encode(u"中\r\n"));

    // Again: the question names the file with its ending; No keeps it.
    display()->setText(QStringLiteral("new"));
    m_dialogs->files.enqueue(m_dir->file(name));
    m_dialogs->answers.enqueue(false);
    m_panel->btnWZ_Click(1);
    QCOMPARE(m_dialogs->shown.last().text,
             QStringLiteral("文件") + m_dir->file(written) + QStringLiteral("已经存在，是否覆盖？"));
    QString kept;
    QVERIFY(TextCodec::readFile(m_dir->file(written), &kept));
    QCOMPARE(kept, QStringLiteral("中\r\n"));

    // A bare name of four characters gets the ending too.
    if (name == QStringLiteral(".txt")) {
        QDir::setCurrent(m_dir->path());
        m_dialogs->files.enqueue(QStringLiteral(".txt"));
        m_dialogs->answers.enqueue(true);
        m_panel->btnWZ_Click(1);
        QVERIFY(QFile::exists(m_dir->file(QStringLiteral(".txt.TXT"))));
    }
}

void TestArtTextPanel::saveRefusedPath()
{
    m_dialogs->files.enqueue(m_dir->file(QStringLiteral("no/such/dir/art")));
    m_panel->btnWZ_Click(1);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("保存的文件路径无效！"));
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Information);
    m_dialogs->files.enqueue(QStringLiteral("   "));
    m_panel->btnWZ_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 3); // a blank name: nothing more
}

void TestArtTextPanel::saveOverAFifoRefused()
{
    const SpecialFile fifo(QStringLiteral("fifo"), m_dir->file(QStringLiteral("pipe.txt")));
    if (!fifo.available())
        QSKIP("no FIFOs here");
    display()->setText(QStringLiteral("art"));
    m_dialogs->files.enqueue(fifo.path());
    m_dialogs->answers.enqueue(true);
    m_panel->btnWZ_Click(1);
    QVERIFY2(!fifo.heldUp(), "the save waited for a reader");
    QCOMPARE(m_dialogs->shown.size(), 2); // the dialog and the failure, no question
    QCOMPARE(m_dialogs->shown[1].text, QStringLiteral("保存时出现错误！"));
    QCOMPARE(m_dialogs->shown[1].title, QStringLiteral("保存文件出错了：（"));
    QCOMPARE(m_dialogs->shown[1].icon, Dialogs::Icon::Exclamation);
    QVERIFY(!QFileInfo(fifo.path()).isFile()); // still the FIFO
}

void TestArtTextPanel::clearDisplay()
{
    display()->setText(QStringLiteral("art"));
    m_dialogs->answers.enqueue(false);
    m_panel->btnWZ_Click(2);
    QCOMPARE(display()->text(), QStringLiteral("art"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("真的要清空显示区吗？"));
    m_dialogs->answers.enqueue(true);
    m_panel->btnWZ_Click(2);
    QVERIFY(display()->isEmpty());
    QVERIFY(QFile::exists(m_panel->tempFile()));
    QCOMPARE(QFileInfo(m_panel->tempFile()).size(), 0);
}

void TestArtTextPanel::spacefold()
{
    m_panel->btnWZ_Click(3);
    QCOMPARE(m_ctx->launcher.started, QStringList{m_dir->path() + QStringLiteral("/Spacefold")});
    QVERIFY(m_dialogs->shown.isEmpty());

    m_ctx->launcher.result = [](const QString &) { return false; };
    m_panel->btnWZ_Click(3);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("找不到[空格压缩器]！请检查插件的路径：\n") + m_dir->path()
                                           + QStringLiteral("/Spacefold是否正确。"));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("插件[空格压缩器]启动失败：（"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Information);
}

void TestArtTextPanel::accessibleNames()
{
    const QList<QPair<const char *, QString>> names = {
        {"textWZInput", "请输入文字"},       {"textWZLoop", "循环效果字符串"},   {"comWZFontName", "字体"},
        {"textWZFontSize", "字号"},          {"WZFontSizeScroll", "字号调节"},   {"chkWZFontB", "粗体"},
        {"chkWZFontI", "斜体"},              {"chkWZConQJ", "全角"},             {"chkWZConBJ", "半角"},
        {"comWZqjFront", "全角前景"},        {"comWZqjBack", "全角背景"},        {"textWZbjFront", "半角前景"},
        {"textWZbjBack", "半角背景"},        {"optWZEffect5", "跟随"},           {"chkWZLoopQJ", "全角循环字符串"},
        {"chkWZBeginAddMode", "采用追加"},   {"optWZAddMode1", "竖直追加"},      {"optWZShowMode1", "QQ模式"},
        {"textWZShowBox", "转化后结果的显示区"}, {"frameWZ4", "显示效果"},
    };
    for (const auto &[object, name] : names) {
        QWidget *w = m_panel->findChild<QWidget *>(QString::fromLatin1(object));
        QVERIFY2(w, object);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface, object);
        if (qobject_cast<QComboBox *>(w)) {
            // A combo box reports its text as its name on this platform, and
            // its label through the labelled-by relation.
            QCOMPARE(w->accessibleName(), name);
            bool labelled = false;
            for (const auto &[label, relation] : iface->relations(QAccessible::Label))
                labelled |= label->text(QAccessible::Name).startsWith(name.right(2));
            QVERIFY2(labelled, object);
            continue;
        }
        QCOMPARE(iface->text(QAccessible::Name), name);
    }
}

QTEST_MAIN(TestArtTextPanel)
#include "tst_arttextpanel.moc"
