// The tips panel on its own, built as the main window builds it, on a
// throw-away program directory; every box it shows is scripted and recorded.

#include "fulldisk.h"
#include "libraryfixtures.h"

#include "library/librarypanel.h"
#include "library/tipsearch.h"

#include "shell/core/colorscheme.h"
#include "shell/core/textcodec.h"
#include "shell/core/texts.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace LibraryFixtures;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBadChars = QStringLiteral("\\/:*?\"<>|");
const QString kSaveQuestion = QStringLiteral("秘笈内容已经被修改！\r\n是否保存修改？");
const QString kNamePrompt = QStringLiteral("请输入秘笈名称，如『Morvenna的秘笈』：");
constexpr TipKind P = TipKind::Pictures;
constexpr TipKind W = TipKind::Words;

// The scripted dialogs, with the default text of every input box kept too.
class RecordingDialogs final : public Dialogs
{
public:
    explicit RecordingDialogs(ScriptedDialogs &inner)
        : m_inner(inner)
    {
    }
    QStringList defaults;

    void message(const QString &text, const QString &title, Icon icon) override { m_inner.message(text, title, icon); }
    bool okCancel(const QString &text, const QString &title, Icon icon) override
    {
        return m_inner.okCancel(text, title, icon);
    }
    bool question(const QString &text, const QString &title, Icon icon) override
    {
        return m_inner.question(text, title, icon);
    }
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        defaults << defaultText;
        return m_inner.input(prompt, title, defaultText);
    }
    std::optional<QString> openFile(const QString &filter, const QString &fileName) override
    {
        return m_inner.openFile(filter, fileName);
    }
    std::optional<QString> saveFile(const QString &filter, const QString &fileName) override
    {
        return m_inner.saveFile(filter, fileName);
    }

private:
    ScriptedDialogs &m_inner;
};

QString accessibleName(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

} // namespace

class TestLibraryPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void startWithoutTips();
    void readOnlyLock();
    void failedSaveSaysSoAndKeepsTheEdit_data();
    void failedSaveSaysSoAndKeepsTheEdit();
    void refusedNames_data();
    void refusedNames();
    void createShowsTheNewTip_data();
    void createShowsTheNewTip();
    void createDuplicateShowsTheExistingTip_data();
    void createDuplicateShowsTheExistingTip();
    void createAsksAboutUnsavedChanges_data();
    void createAsksAboutUnsavedChanges();
    void createThatFailsChangesNothing();
    void renameOntoExistingTipIsRefused();
    void renameChangesLetterCase();
    void renameModifiedTipSavesUnderTheNewName();
    void deleteReselects_data();
    void deleteReselects();
    void deleteOnlyTipThenAgain();
    void deleteAnsweredNo();
    void saveQuestionOnPickingAnotherTip_data();
    void saveQuestionOnPickingAnotherTip();
    void saveQuestionOnKindSwitch_data();
    void saveQuestionOnKindSwitch();
    void renameAndDeleteActOnTheShownKind();
    void savingKeepsBytes_data();
    void savingKeepsBytes();
    void tipsInOtherEncodingsReadAndSavedInThem_data();
    void tipsInOtherEncodingsReadAndSavedInThem();
    void unreadableBytesAskBeforeTheyAreReplaced();
    void upperCaseEndingIsListedAndRead();
    void unreadableTips();
    void fontSize_data();
    void fontSize();
    void favouritesCreatedAndShown();
    void favouritesReloadOnAdd();
    void favouritesEditsWrittenBackOnlyOverWhatWasShown_data();
    void favouritesEditsWrittenBackOnlyOverWhatWasShown();
    void accessibleNames();
    void searchShowsHitsWithTheirKinds();
    void searchTypedBeforeTheIndexIsReady();
    void searchKeptCurrent();
    void hitPickedEditedAndSaved();
    void emptyingTheSearchRestoresTheList_data();
    void emptyingTheSearchRestoresTheList();

private:
    void build();
    template<typename T>
    T *control(const char *name) const
    {
        T *c = m_panel->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    QListWidget *list() const { return control<QListWidget>("lstPicType"); }
    DisplayArea *view() const { return m_panel->displayArea(); }
    QString caption() const { return control<QLabel>("lblMJText")->text(); }
    static QStringList texts(const QListWidget *list)
    {
        QStringList n;
        for (int i = 0; i < list->count(); ++i)
            n << list->item(i)->text();
        return n;
    }
    QStringList names() const { return texts(list()); }
    QListWidget *hitsList() const { return control<QListWidget>("lstMJHits"); }
    QLineEdit *searchBox() const { return control<QLineEdit>("txtMJSearch"); }
    // The panel built and its index ready.
    void buildIndexed()
    {
        build();
        QTRY_VERIFY(m_panel->search().isReady());
    }
    // What a search finds now, as the hits list shows it.
    QStringList found(const QString &query) const
    {
        QStringList n;
        for (const TipHit &hit : m_panel->search().search(query).value_or(QList<TipHit>()))
            n << hit.name;
        return n;
    }
    QString path(TipKind kind, const QString &name) const { return tipFile(m_dir->path(), kind, name + ".txt"); }
    QByteArray bytes(TipKind kind, const QString &name) const { return readBytes(path(kind, name)); }
    void seed(TipKind kind, const QString &name, const QByteArray &content)
    {
        QVERIFY(writeBytes(path(kind, name), content));
    }
    QStringList files(TipKind kind) const
    {
        QStringList found = QDir(tipFile(m_dir->path(), kind, QString())).entryList(QDir::Files | QDir::Hidden);
        found.sort();
        return found;
    }
    // Typing as the user does, into the unlocked view.
    void type(const QString &text)
    {
        control<QCheckBox>("chkMJReadOnly")->setChecked(false);
        view()->moveCursor(QTextCursor::End);
        QTest::keyClicks(view(), text);
    }
    ScriptedDialogs &dialogs() { return m_ctx->dialogs; }
    ScriptedDialogs::Shown last() const { return m_ctx->dialogs.shown.value(m_ctx->dialogs.shown.size() - 1); }
    void expectMessage(const QString &text, const QString &title, Dialogs::Icon icon)
    {
        QCOMPARE(dialogs().shown.size(), 1);
        QCOMPARE(last().kind, QStringLiteral("message"));
        QCOMPARE(last().text, text);
        QCOMPARE(last().title, title);
        QCOMPARE(last().icon, icon);
    }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    std::unique_ptr<RecordingDialogs> m_recording;
    std::unique_ptr<LibraryPanel> m_panel;
};

void TestLibraryPanel::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    makeLibraryDirs(m_dir->path());
    m_ctx = std::make_unique<TestContext>(m_dir->path());
    m_recording = std::make_unique<RecordingDialogs>(m_ctx->dialogs);
    m_ctx->context.dialogs = m_recording.get();
}

void TestLibraryPanel::cleanup()
{
    m_panel.reset();
    m_recording.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestLibraryPanel::build()
{
    m_panel = std::make_unique<LibraryPanel>(m_ctx->context);
    m_panel->InitCCMJ();
}

void TestLibraryPanel::startState()
{
    seed(P, "b", "bee\r\n");
    seed(P, "A", "ay\r\n");
    seed(W, "w", "word\r\n");
    build();
    QCOMPARE(m_panel->geometry(), QRect(5, 5, 417, 385));
    QVERIFY(m_panel->isHidden());
    QCOMPARE(m_panel->backColor(), m_ctx->colors.BackColor);
    QVERIFY(control<QRadioButton>("optMJStyle0")->isChecked());
    QVERIFY(!control<QRadioButton>("optMJStyle1")->isChecked());
    QVERIFY(m_panel->isPictureKind());
    QCOMPARE(names(), (QStringList{"A", "b"}));
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(list()->toolTip(), QStringLiteral("A"));
    QCOMPARE(view()->text(), QStringLiteral("ay\r\n"));
    QCOMPARE(caption(), QStringLiteral("秘笈『A』内容："));
    QCOMPARE(m_panel->curMJName(), QStringLiteral("A"));
    QVERIFY(!m_panel->textModified());
    QCOMPARE(m_panel->shows(), LibraryPanel::Shows::Tip);
    QCOMPARE(m_panel->badNameChars(), kBadChars);
    QCOMPARE(m_panel->fontSize(), 0.0f);

    // The box is checked and the view is locked as it says.
    QVERIFY(control<QCheckBox>("chkMJReadOnly")->isChecked());
    QCOMPARE(control<QCheckBox>("chkMJReadOnly")->text(), QStringLiteral("只读模式"));
    QVERIFY(view()->isLocked());
    QCOMPARE(view()->font().family(), QStringLiteral("宋体"));
    QCOMPARE(view()->fontPointSize(), 10.5);
    QCOMPARE(view()->font().pixelSize(), 14);
    QCOMPARE(view()->toolTip(), QStringLiteral("选中文本后，可以用Zantoria Tool Panel中的快捷按钮进行相关操作：)"));
    QCOMPARE(control<QLabel>("lblMJType")->text(), QStringLiteral("秘笈类别："));
    QCOMPARE(control<QLabel>("lblMJName")->text(), QStringLiteral("秘笈名称："));

    const std::pair<const char *, const char *> buttons[] = {{"btnNewMJ", "新建秘笈"}, {"btnMJSetFont", "字体大小"},
                                                             {"btnMJDel", "删除秘笈"}, {"btnMJReName", "秘笈更名"},
                                                             {"btnMyFavor", "我的最爱"}};
    for (const auto &[name, text] : buttons) {
        auto *b = control<CoolButton>(name);
        QCOMPARE(b->caption(), QString::fromUtf8(text) + QString(4, QChar(0x3000)));
        QVERIFY(b->isEnabled());
        QCOMPARE(m_panel->frameColor(b), m_ctx->colors.NormLineColor);
        // Every control lies inside the panel.
        QVERIFY(m_panel->rect().contains(b->geometry().adjusted(-1, -1, 1, 1)));
    }
    QVERIFY(m_panel->rect().contains(view()->geometry()));
    QVERIFY(dialogs().shown.isEmpty());
}

void TestLibraryPanel::startWithoutTips()
{
    seed(W, "w", "word\r\n");
    build();
    QCOMPARE(list()->count(), 0);
    QVERIFY(view()->isEmpty());
    QCOMPARE(m_panel->shows(), LibraryPanel::Shows::Nothing);
    QCOMPARE(m_panel->curMJName(), QString());
    QCOMPARE(caption(), QStringLiteral("秘笈内容："));

    // Text typed with nothing shown belongs to no tip: no question, no file.
    type("loose");
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    QCOMPARE(view()->text(), QStringLiteral("word\r\n"));
    QVERIFY(dialogs().shown.isEmpty());
    QCOMPARE(files(P), QStringList());
}

void TestLibraryPanel::failedSaveSaysSoAndKeepsTheEdit_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("full disk") << false;
    QTest::newRow("read-only disk") << true;
}

void TestLibraryPanel::failedSaveSaysSoAndKeepsTheEdit()
{
    QFETCH(bool, readOnly);
    const FullDisk disk;
    if (!disk.available())
        QSKIP("a file system of the test's own cannot be mounted here (needs root)");
    makeLibraryDirs(disk.path());
    const QString tip = tipFile(disk.path(), P, QStringLiteral("a.txt"));
    QVERIFY(writeBytes(tip, "old\r\n"));
    QVERIFY(writeBytes(tipFile(disk.path(), P, QStringLiteral("b.txt")), "bee\r\n"));
    QVERIFY(readOnly ? disk.makeReadOnly() : disk.fill());
    m_recording.reset();
    m_ctx = std::make_unique<TestContext>(disk.path());
    m_recording = std::make_unique<RecordingDialogs>(m_ctx->dialogs);
    m_ctx->context.dialogs = m_recording.get();
    build();
    type(QStringLiteral("new"));
    dialogs().answers.enqueue(true);
    list()->setCurrentRow(1);
    QCOMPARE(dialogs().shown.size(), 2); // the question, then the save's failure
    QVERIFY2(last().text.startsWith(QStringLiteral("保存秘笈的修改时出现错误，修改没有保存！\r\n") + tip),
             qPrintable(last().text));
    QCOMPARE(last().title, QStringLiteral("保存秘笈失败：（"));
    QCOMPARE(readBytes(tip), QByteArray("old\r\n"));
    QVERIFY(view()->text().contains(QStringLiteral("new")));
}

void TestLibraryPanel::readOnlyLock()
{
    seed(P, "a", "a\r\n");
    build();
    QTest::keyClicks(view(), "xyz");
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
    QVERIFY(!m_panel->textModified());
    control<QCheckBox>("chkMJReadOnly")->setChecked(false);
    QVERIFY(!view()->isLocked());
    view()->moveCursor(QTextCursor::End);
    QTest::keyClicks(view(), "b");
    QCOMPARE(view()->text(), QStringLiteral("a\r\nb"));
    QVERIFY(m_panel->textModified());
    control<QCheckBox>("chkMJReadOnly")->setChecked(true);
    QVERIFY(view()->isLocked());
}

void TestLibraryPanel::refusedNames_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Dialogs::Icon>("icon");
    const QString blank = QStringLiteral("秘笈名称不可全为空格或是为空！");
    const QString bad = QStringLiteral("文件名中不可以出现如下的字符：") + kCrLf + kBadChars;
    QTest::newRow("cancel") << std::optional<QString>() << blank << Dialogs::Icon::Information;
    QTest::newRow("empty") << std::optional<QString>(QString()) << blank << Dialogs::Icon::Information;
    QTest::newRow("blanks") << std::optional<QString>(QStringLiteral("    ")) << blank << Dialogs::Icon::Information;
    for (const QChar c : kBadChars)
        QTest::addRow("%c", c.toLatin1()) << std::optional<QString>(QStringLiteral("x") + c) << bad
                                          << Dialogs::Icon::Critical;
    QTest::newRow("a/b") << std::optional<QString>(QStringLiteral("a/b")) << bad << Dialogs::Icon::Critical;
}

void TestLibraryPanel::refusedNames()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, message);
    QFETCH(Dialogs::Icon, icon);
    seed(P, "a", "a\r\n");
    build();

    dialogs().inputs.enqueue(answer);
    m_panel->btnNewMJ_Click();
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(dialogs().shown[0].kind, QStringLiteral("input"));
    QCOMPARE(dialogs().shown[0].text, kNamePrompt);
    QCOMPARE(dialogs().shown[0].title, QStringLiteral("新建秘笈"));
    QCOMPARE(m_recording->defaults, QStringList{QString()});
    QCOMPARE(last().text, message);
    QCOMPARE(last().title, QStringLiteral("新建秘笈失败：（"));
    QCOMPARE(last().icon, icon);
    QCOMPARE(files(P), QStringList{"a.txt"});
    QCOMPARE(m_panel->frameColor(control<CoolButton>("btnNewMJ")), m_ctx->colors.NormLineColor);

    dialogs().shown.clear();
    dialogs().inputs.enqueue(answer);
    m_panel->btnMJReName_Click();
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(dialogs().shown[0].text, QStringLiteral("现在的秘笈名称为：『a』") + kCrLf
                                          + QStringLiteral("请输入更改后的秘笈名称，如『Morvenna的秘笈』："));
    QCOMPARE(dialogs().shown[0].title, QStringLiteral("秘笈更名"));
    QCOMPARE(last().text, message);
    QCOMPARE(last().title, QStringLiteral("秘笈更名失败：（"));
    QCOMPARE(last().icon, icon);
    QCOMPARE(files(P), QStringList{"a.txt"});
    QCOMPARE(m_panel->curMJName(), QStringLiteral("a"));
}

void TestLibraryPanel::createShowsTheNewTip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("listed");
    QTest::newRow("plain") << QStringLiteral("新的") << QStringLiteral("新的");
    QTest::newRow("padded") << QStringLiteral("  新的 ") << QStringLiteral("新的");
    QTest::newRow("dot-file") << QStringLiteral(".x") << QStringLiteral(".x");
    QTest::newRow("dot dot") << QStringLiteral("..") << QStringLiteral("..");
}

void TestLibraryPanel::createShowsTheNewTip()
{
    QFETCH(QString, name);
    QFETCH(QString, listed);
    seed(P, "a", "a\r\n");
    seed(P, "z", "z\r\n");
    build();
    dialogs().inputs.enqueue(name);
    m_panel->btnNewMJ_Click();
    QVERIFY(dialogs().shown.size() == 1); // the input box only
    QStringList expected{"a.txt", listed + ".txt", "z.txt"};
    expected.sort();
    QCOMPARE(files(P), expected);
    QCOMPARE(QFileInfo(path(P, listed)).size(), 0);
    QCOMPARE(list()->currentItem()->text(), listed);
    QVERIFY(view()->isEmpty());
    QVERIFY(!m_panel->textModified());
    QCOMPARE(m_panel->curMJName(), name);
    QCOMPARE(caption(), QStringLiteral("秘笈『") + listed + QStringLiteral("』内容："));
    QVERIFY(!control<QCheckBox>("chkMJReadOnly")->isChecked());
    QVERIFY(!view()->isLocked());
    QVERIFY(!control<CoolButton>("btnNewMJ")->isEnabled());
    QVERIFY(!control<CoolButton>("btnMJDel")->isEnabled());
    QVERIFY(!control<CoolButton>("btnMJReName")->isEnabled());
    QVERIFY(control<CoolButton>("btnMJSetFont")->isEnabled());

    // What is typed now goes into the new tip.
    type("abc");
    dialogs().answers.enqueue(true);
    list()->setCurrentRow(list()->currentRow() == 0 ? 1 : 0);
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(last().text, kSaveQuestion);
    QCOMPARE(bytes(P, listed), QByteArray("abc\r\n"));
    QVERIFY(control<CoolButton>("btnNewMJ")->isEnabled());
}

void TestLibraryPanel::createDuplicateShowsTheExistingTip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("padded") << QStringLiteral("  b  ") << QStringLiteral("b");
    QTest::newRow("other case shows the first tip") << QStringLiteral("B") << QStringLiteral("a");
}

void TestLibraryPanel::createDuplicateShowsTheExistingTip()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    seed(P, "a", "first\r\n");
    seed(P, "b", "keep\r\n");
    build();
    list()->setCurrentRow(1);
    dialogs().inputs.enqueue(name);
    m_panel->btnNewMJ_Click();
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(last().text, QStringLiteral("不能有同名的秘笈！"));
    QCOMPARE(last().title, QStringLiteral("新建秘笈失败：（"));
    QCOMPARE(last().icon, Dialogs::Icon::Information);
    QCOMPARE(files(P), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(bytes(P, "b"), QByteArray("keep\r\n"));
    QCOMPARE(list()->currentItem()->text(), shown);
    QCOMPARE(m_panel->curMJName(), shown);
    QCOMPARE(view()->text(), shown == "a" ? QStringLiteral("first\r\n") : QStringLiteral("keep\r\n"));
    QVERIFY(control<CoolButton>("btnNewMJ")->isEnabled());
}

void TestLibraryPanel::createAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestLibraryPanel::createAsksAboutUnsavedChanges()
{
    QFETCH(bool, yes);
    seed(W, "old", "old\r\n");
    build();
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    type("er");
    dialogs().inputs.enqueue(QStringLiteral("new"));
    dialogs().answers.enqueue(yes);
    m_panel->btnNewMJ_Click();
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(dialogs().shown[1].kind, QStringLiteral("question"));
    QCOMPARE(dialogs().shown[1].text, kSaveQuestion);
    QCOMPARE(dialogs().shown[1].title, QStringLiteral("系统提示"));
    QCOMPARE(dialogs().shown[1].icon, Dialogs::Icon::Question);
    QCOMPARE(bytes(W, "old"), yes ? QByteArray("old\r\ner\r\n") : QByteArray("old\r\n"));
    QCOMPARE(files(W), (QStringList{"new.txt", "old.txt"}));
    QCOMPARE(list()->currentItem()->text(), QStringLiteral("new"));
    QVERIFY(view()->isEmpty());
    QCOMPARE(files(P), QStringList());
}

void TestLibraryPanel::createThatFailsChangesNothing()
{
    seed(P, "a", "a\r\n");
    build();
    type("edit");
    // A name longer than the file system takes: the file cannot be made.
    dialogs().inputs.enqueue(QString(300, u'n'));
    dialogs().answers.enqueue(false);
    m_panel->btnNewMJ_Click();
    QCOMPARE(dialogs().shown.size(), 3);
    QCOMPARE(last().text, QStringLiteral("创建秘笈文件时出现错误！"));
    QCOMPARE(last().title, QStringLiteral("新建秘笈失败：（"));
    QCOMPARE(last().icon, Dialogs::Icon::Exclamation);
    QCOMPARE(view()->text(), QStringLiteral("a\r\nedit"));
    QCOMPARE(caption(), QStringLiteral("秘笈『a』内容："));
    QCOMPARE(m_panel->curMJName(), QStringLiteral("a"));
    QVERIFY(control<CoolButton>("btnNewMJ")->isEnabled());
    QCOMPARE(files(P), QStringList{"a.txt"});

    // A kind directory that cannot be written (here: gone altogether).
    dialogs().shown.clear();
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    QVERIFY(QDir(tipFile(m_dir->path(), W, QString())).removeRecursively());
    dialogs().inputs.enqueue(QStringLiteral("x"));
    m_panel->btnNewMJ_Click();
    QCOMPARE(last().text, QStringLiteral("创建秘笈文件时出现错误！"));
    QCOMPARE(last().title, QStringLiteral("新建秘笈失败：（"));
    QVERIFY(!QFileInfo::exists(tipFile(m_dir->path(), W, QString())));
}

void TestLibraryPanel::renameOntoExistingTipIsRefused()
{
    seed(P, "a", "first\r\n");
    seed(P, "b", "second\r\n");
    build();
    for (const char *target : {"b", " B "}) {
        dialogs().shown.clear();
        dialogs().inputs.enqueue(QString::fromUtf8(target));
        m_panel->btnMJReName_Click();
        QCOMPARE(dialogs().shown.size(), 2);
        QCOMPARE(last().text, QStringLiteral("秘笈更名时出现错误！"));
        QCOMPARE(last().title, QStringLiteral("秘笈更名失败：（"));
        QCOMPARE(last().icon, Dialogs::Icon::Exclamation);
        QCOMPARE(bytes(P, "a"), QByteArray("first\r\n"));
        QCOMPARE(bytes(P, "b"), QByteArray("second\r\n"));
        QCOMPARE(files(P), (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(m_panel->curMJName(), QStringLiteral("a"));
    }
}

void TestLibraryPanel::renameChangesLetterCase()
{
    seed(P, "abc", "text\r\n");
    seed(P, "b", "b\r\n");
    build();
    dialogs().inputs.enqueue(QStringLiteral("ABC "));
    m_panel->btnMJReName_Click();
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(files(P), (QStringList{"ABC.txt", "b.txt"}));
    QCOMPARE(names(), (QStringList{"ABC", "b"}));
    QCOMPARE(list()->currentItem()->text(), QStringLiteral("ABC"));
    QCOMPARE(m_panel->curMJName(), QStringLiteral("ABC "));
    QCOMPARE(view()->text(), QStringLiteral("text\r\n"));
    QCOMPARE(caption(), QStringLiteral("秘笈『ABC』内容："));
    QCOMPARE(bytes(P, "ABC"), QByteArray("text\r\n"));
}

void TestLibraryPanel::renameModifiedTipSavesUnderTheNewName()
{
    seed(P, "a", "a\r\n");
    seed(P, "old", "old\r\n");
    build();
    list()->setCurrentRow(1);
    type("er");
    dialogs().inputs.enqueue(QStringLiteral("new"));
    dialogs().answers.enqueue(true);
    m_panel->btnMJReName_Click();
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(last().text, kSaveQuestion);
    QCOMPARE(files(P), (QStringList{"a.txt", "new.txt"}));
    QCOMPARE(bytes(P, "new"), QByteArray("old\r\ner\r\n"));
    QCOMPARE(list()->currentItem()->text(), QStringLiteral("new"));
    QCOMPARE(view()->text(), QStringLiteral("old\r\ner\r\n"));
    QVERIFY(!m_panel->textModified());
}

void TestLibraryPanel::deleteReselects_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first shows the new first") << 0 << QStringLiteral("a") << QStringLiteral("b");
    QTest::newRow("middle shows the one before") << 1 << QStringLiteral("b") << QStringLiteral("a");
    QTest::newRow("last shows the one before") << 2 << QStringLiteral("c") << QStringLiteral("b");
}

void TestLibraryPanel::deleteReselects()
{
    QFETCH(int, row);
    QFETCH(QString, deleted);
    QFETCH(QString, shown);
    for (const char *name : {"a", "b", "c"})
        seed(P, QString::fromUtf8(name), QByteArray(name) + "!\r\n");
    build();
    list()->setCurrentRow(row);
    type("unsaved");
    dialogs().answers.enqueue(true);
    m_panel->btnMJDel_Click();
    QCOMPARE(dialogs().shown.size(), 1); // the removed text is not offered for saving
    QCOMPARE(last().text, QStringLiteral("删除后将无法恢复，真的要删除秘笈『") + deleted + QStringLiteral("』吗？"));
    QCOMPARE(last().title, QStringLiteral("删除秘笈"));
    QCOMPARE(last().icon, Dialogs::Icon::Question);
    QVERIFY(!QFileInfo::exists(path(P, deleted)));
    QCOMPARE(files(P).size(), 2);
    QCOMPARE(list()->currentItem()->text(), shown);
    QCOMPARE(m_panel->curMJName(), shown);
    QCOMPARE(view()->text(), shown + QStringLiteral("!\r\n"));
    QVERIFY(!m_panel->textModified());
    QCOMPARE(m_panel->frameColor(control<CoolButton>("btnMJDel")), m_ctx->colors.NormLineColor);
}

void TestLibraryPanel::deleteOnlyTipThenAgain()
{
    seed(P, "only", "x\r\n");
    build();
    dialogs().answers.enqueue(true);
    m_panel->btnMJDel_Click();
    QCOMPARE(files(P), QStringList());
    QCOMPARE(list()->count(), 0);
    QVERIFY(view()->isEmpty());
    QCOMPARE(m_panel->curMJName(), QString());
    QCOMPARE(m_panel->shows(), LibraryPanel::Shows::Nothing);
    QCOMPARE(caption(), QStringLiteral("秘笈内容："));

    dialogs().shown.clear();
    m_panel->btnMJDel_Click();
    m_panel->btnMJReName_Click();
    QVERIFY(dialogs().shown.isEmpty());
}

void TestLibraryPanel::deleteAnsweredNo()
{
    seed(P, "a", "a\r\n");
    build();
    m_panel->btnMJDel_Click();
    QCOMPARE(files(P), QStringList{"a.txt"});
    QCOMPARE(m_panel->curMJName(), QStringLiteral("a"));
    // Gone behind the panel's back: the failure is told and nothing changes.
    QVERIFY(QFile::remove(path(P, "a")));
    dialogs().shown.clear();
    dialogs().answers.enqueue(true);
    m_panel->btnMJDel_Click();
    QCOMPARE(last().text, QStringLiteral("删除秘笈时出现错误！"));
    QCOMPARE(last().title, QStringLiteral("秘笈删除失败：（"));
    QCOMPARE(last().icon, Dialogs::Icon::Exclamation);
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
}

void TestLibraryPanel::saveQuestionOnPickingAnotherTip_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes writes the edited tip") << true;
    QTest::newRow("no drops the edit") << false;
}

void TestLibraryPanel::saveQuestionOnPickingAnotherTip()
{
    QFETCH(bool, yes);
    seed(P, "a", "a\r\n");
    seed(P, "b", "b\r\n");
    build();
    type("x");
    dialogs().answers.enqueue(yes);
    list()->setCurrentRow(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(last().text, kSaveQuestion);
    QCOMPARE(bytes(P, "a"), yes ? QByteArray("a\r\nx\r\n") : QByteArray("a\r\n"));
    QCOMPARE(bytes(P, "b"), QByteArray("b\r\n"));
    QCOMPARE(view()->text(), QStringLiteral("b\r\n"));
    QVERIFY(!m_panel->textModified());
    QCOMPARE(list()->toolTip(), QStringLiteral("b"));
}

void TestLibraryPanel::saveQuestionOnKindSwitch_data()
{
    saveQuestionOnPickingAnotherTip_data();
}

void TestLibraryPanel::saveQuestionOnKindSwitch()
{
    QFETCH(bool, yes);
    seed(P, "pic", "p\r\n");
    seed(W, "word", "w\r\n");
    build();
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    QVERIFY(!m_panel->isPictureKind());
    type("x");
    dialogs().answers.enqueue(yes);
    control<QRadioButton>("optMJStyle0")->setChecked(true);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(bytes(W, "word"), yes ? QByteArray("w\r\nx\r\n") : QByteArray("w\r\n"));
    QCOMPARE(files(P), QStringList{"pic.txt"});
    QCOMPARE(bytes(P, "pic"), QByteArray("p\r\n"));
    QCOMPARE(view()->text(), QStringLiteral("p\r\n"));
}

void TestLibraryPanel::renameAndDeleteActOnTheShownKind()
{
    seed(P, "pic", "p\r\n");
    build();
    // Words has no tips: the list empties and the picture stays shown.
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    QCOMPARE(list()->count(), 0);
    QCOMPARE(view()->text(), QStringLiteral("p\r\n"));
    QCOMPARE(m_panel->shownKind(), P);

    dialogs().inputs.enqueue(QStringLiteral("renamed"));
    m_panel->btnMJReName_Click();
    QCOMPARE(files(P), QStringList{"renamed.txt"});
    QCOMPARE(files(W), QStringList());
    QCOMPARE(caption(), QStringLiteral("秘笈『renamed』内容："));

    // An edit of it is still saved into its own kind.
    type("!");
    seed(W, "w", "w\r\n");
    dialogs().answers.enqueue(true);
    control<QRadioButton>("optMJStyle0")->setChecked(true);
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    QCOMPARE(bytes(P, "renamed"), QByteArray("p\r\n!\r\n"));
    QCOMPARE(bytes(W, "w"), QByteArray("w\r\n"));

    // Back on the picture, with the list showing Words again after a read that fails.
    control<QRadioButton>("optMJStyle0")->setChecked(true);
    QVERIFY(QFile::remove(path(W, "w")));
    QDir().mkdir(path(W, "w")); // listed as nothing: a directory is no tip
    dialogs().shown.clear();
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    QCOMPARE(list()->count(), 0);
    dialogs().answers.enqueue(true);
    m_panel->btnMJDel_Click();
    QCOMPARE(files(P), QStringList());
    QVERIFY(QFileInfo(path(W, "w")).isDir());
    QVERIFY(view()->isEmpty());
}

void TestLibraryPanel::savingKeepsBytes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("GBK") << gbkBytes();
    QTest::newRow("beyond GBK") << beyondGbkBytes();
    QTest::newRow("lines") << QByteArray("line 1\r\nline 2\r\n");
}

void TestLibraryPanel::savingKeepsBytes()
{
    QFETCH(QByteArray, content);
    seed(P, "a", content);
    seed(P, "b", "b\r\n");
    build();
    // A change that changes nothing: the tip is still saved, and stays as it was.
    type("x");
    QTest::keyClick(view(), Qt::Key_Backspace);
    QCOMPARE(view()->text(), TextCodec::decode(content));
    QVERIFY(m_panel->textModified());
    dialogs().answers.enqueue(true);
    list()->setCurrentRow(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(bytes(P, "a"), content);
}

void TestLibraryPanel::tipsInOtherEncodingsReadAndSavedInThem_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("edited"); // after "!" is typed at the end
    QTest::newRow("UTF-8 from a Linux desktop") << QStringLiteral("（＾ω＾）你好\n第二行\n").toUtf8()
                                                << QStringLiteral("（＾ω＾）你好\r\n第二行\r\n")
                                                << QStringLiteral("（＾ω＾）你好\n第二行\n!\n").toUtf8();
    QTest::newRow("UTF-16 from a Windows tool")
        << QByteArray("\xFF\xFE\x60\x4F\x7D\x59\r\0\n\0", 10) << QStringLiteral("你好\r\n")
        << QByteArray("\xFF\xFE\x60\x4F\x7D\x59\r\0\n\0!\0\r\0\n\0", 16);
}

void TestLibraryPanel::tipsInOtherEncodingsReadAndSavedInThem()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    QFETCH(QByteArray, edited);
    seed(P, "a", content);
    seed(P, "b", "b\r\n");
    build();
    QCOMPARE(view()->text(), shown);
    type("!");
    dialogs().answers.enqueue(true);
    list()->setCurrentRow(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(bytes(P, "a").toHex(' '), edited.toHex(' '));
}

void TestLibraryPanel::unreadableBytesAskBeforeTheyAreReplaced()
{
    const QByteArray content("\xEF\xBB\xBF" "a\xFF" "b\r\n");
    seed(P, "a", content);
    seed(P, "b", "b\r\n");
    build();
    QCOMPARE(view()->text(), QStringLiteral("a\uFFFDb\r\n"));
    type("!");
    // Save, but not at the price of the bytes: nothing is written, and the edit stays.
    dialogs().answers.enqueue(true);
    dialogs().answers.enqueue(false);
    list()->setCurrentRow(1);
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(last().kind, QStringLiteral("question"));
    QCOMPARE(last().text, Strings::replacedBytesQuestion(path(P, "a")));
    QCOMPARE(last().icon, Dialogs::Icon::Question);
    QCOMPARE(bytes(P, "a"), content);
    QCOMPARE(m_panel->shownFile(), QStringLiteral("a.txt"));
    QVERIFY(m_panel->textModified());
    // Yes to both (on picking the tip again): the file is UTF-8 through and through.
    dialogs().answers.enqueue(true);
    dialogs().answers.enqueue(true);
    list()->setCurrentRow(0);
    QCOMPARE(dialogs().shown.size(), 4);
    QCOMPARE(bytes(P, "a"), QByteArray("\xEF\xBB\xBF") + QStringLiteral("a\uFFFDb\r\n!\r\n").toUtf8());
    QVERIFY(!m_panel->textModified());
    QVERIFY(!m_panel->shownFormat().replacedBytes);
}

void TestLibraryPanel::upperCaseEndingIsListedAndRead()
{
    QVERIFY(writeBytes(tipFile(m_dir->path(), P, "ABC.TXT"), "upper\r\n"));
    QVERIFY(writeBytes(tipFile(m_dir->path(), P, "abd.txt"), "lower\r\n"));
    build();
    QCOMPARE(names(), (QStringList{"ABC", "abd"}));
    QCOMPARE(view()->text(), QStringLiteral("upper\r\n"));
    type("!");
    dialogs().answers.enqueue(true);
    list()->setCurrentRow(1);
    QCOMPARE(readBytes(tipFile(m_dir->path(), P, "ABC.TXT")), QByteArray("upper\r\n!\r\n"));
    QCOMPARE(files(P), (QStringList{"ABC.TXT", "abd.txt"}));
}

void TestLibraryPanel::unreadableTips()
{
    seed(P, "a", "a\r\n");
    seed(P, "huge", "");
    {
        QFile f(path(P, "huge"));
        QVERIFY(f.resize(TipStore::kMaxFileBytes + 1));
    }
    build();
    list()->setCurrentRow(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(last().text, QStringLiteral("秘笈文件太大了，最多只能显示16MB的文件！"));
    QCOMPARE(last().title, QStringLiteral("读取秘笈文件失败：（"));
    QCOMPARE(last().icon, Dialogs::Icon::Exclamation);
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
    QCOMPARE(m_panel->curMJName(), QStringLiteral("a"));

    // Gone between the listing and the reading.
    dialogs().shown.clear();
    QVERIFY(QFile::remove(path(P, "a")));
    list()->setCurrentRow(0);
    QCOMPARE(last().text, QStringLiteral("在读取秘笈文件时出现错误！"));
    QCOMPARE(last().title, QStringLiteral("读取秘笈文件失败：（"));
}

void TestLibraryPanel::fontSize_data()
{
    QTest::addColumn<QList<std::optional<QString>>>("answers");
    QTest::addColumn<float>("size");
    QTest::addColumn<QStringList>("defaults");
    using A = QList<std::optional<QString>>;
    QTest::newRow("100") << A{QStringLiteral("100")} << 100.0f << QStringList{"10.5"};
    QTest::newRow("cancel keeps 10.5") << A{std::nullopt} << 10.5f << QStringList{"10.5"};
    QTest::newRow("12 then letters") << A{QStringLiteral("12"), QStringLiteral("abc")} << 12.0f
                                     << QStringList{"10.5", "12"};
    QTest::newRow("nan") << A{QStringLiteral("20"), QStringLiteral("nan")} << 20.0f << QStringList{"10.5", "20"};
    QTest::newRow("inf") << A{QStringLiteral("inf")} << 10.5f << QStringList{"10.5"};
    QTest::newRow("zero") << A{QStringLiteral("0")} << 10.5f << QStringList{"10.5"};
    QTest::newRow("negative") << A{QStringLiteral("-8")} << 10.5f << QStringList{"10.5"};
    QTest::newRow("padded") << A{QStringLiteral(" 9 ")} << 9.0f << QStringList{"10.5"};
    QTest::newRow("huge is capped") << A{QStringLiteral("100000")} << 400.0f << QStringList{"10.5"};
}

void TestLibraryPanel::fontSize()
{
    QFETCH(QList<std::optional<QString>>, answers);
    QFETCH(float, size);
    QFETCH(QStringList, defaults);
    build();
    for (const std::optional<QString> &answer : answers) {
        dialogs().inputs.enqueue(answer);
        m_panel->btnMJSetFont_Click();
    }
    QCOMPARE(m_panel->fontSize(), size);
    QCOMPARE(view()->fontPointSize(), double(size));
    QCOMPARE(m_recording->defaults, defaults);
    QCOMPARE(dialogs().shown.first().text, QStringLiteral("请输入字体大小(1～72)："));
    QCOMPARE(dialogs().shown.first().title, QStringLiteral("设置字体大小"));
    QCOMPARE(m_panel->frameColor(control<CoolButton>("btnMJSetFont")), m_ctx->colors.NormLineColor);
}

void TestLibraryPanel::favouritesCreatedAndShown()
{
    seed(P, "a", "a\r\n");
    build();
    const QString favourites = m_dir->path() + QStringLiteral("/data/MyFavor/我的最爱.txt");
    QVERIFY(!QFileInfo::exists(favourites));
    m_panel->btnMyFavor_Click();
    QVERIFY(QFileInfo(favourites).isFile());
    QCOMPARE(QFileInfo(favourites).size(), 0);
    QCOMPARE(caption(), QStringLiteral("『我的最爱』内容："));
    QCOMPARE(list()->currentRow(), -1);
    QCOMPARE(list()->count(), 1);
    QVERIFY(view()->isEmpty());
    QCOMPARE(m_panel->shows(), LibraryPanel::Shows::Favourites);
    QVERIFY(!control<CoolButton>("btnNewMJ")->isEnabled());
    QVERIFY(!control<CoolButton>("btnMJDel")->isEnabled());
    QVERIFY(!control<CoolButton>("btnMJReName")->isEnabled());
    QVERIFY(dialogs().shown.isEmpty());

    // Picking a tip leaves the favourites.
    list()->setCurrentRow(0);
    QCOMPARE(m_panel->shows(), LibraryPanel::Shows::Tip);
    QVERIFY(control<CoolButton>("btnMJDel")->isEnabled());
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));

    // An existing file is shown as it is, never emptied.
    QVERIFY(writeBytes(favourites, "\xC4\xE3\xBA\xC3\r\n"));
    m_panel->btnMyFavor_Click();
    QCOMPARE(view()->text(), QStringLiteral("你好\r\n"));
    QCOMPARE(readBytes(favourites), QByteArray("\xC4\xE3\xBA\xC3\r\n"));
}

void TestLibraryPanel::favouritesReloadOnAdd()
{
    build();
    m_panel->btnMyFavor_Click();
    const QString favourites = m_dir->path() + QStringLiteral("/data/MyFavor/我的最爱.txt");
    QVERIFY(TipStore::createIfMissing(favourites));
    QFile file(favourites);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\xD0\xC2\xB5\xC4\r\n"); // 新的
    file.close();
    m_ctx->context.notifyFavouritesChanged();
    QCOMPARE(view()->text(), QStringLiteral("新的\r\n"));
    QVERIFY(!m_panel->textModified());

    // A notice while a tip is shown leaves the view alone.
    seed(P, "a", "a\r\n");
    control<QRadioButton>("optMJStyle1")->setChecked(true);
    control<QRadioButton>("optMJStyle0")->setChecked(true);
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
    m_ctx->context.notifyFavouritesChanged();
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
    QVERIFY(dialogs().shown.isEmpty());
}

void TestLibraryPanel::favouritesEditsWrittenBackOnlyOverWhatWasShown_data()
{
    QTest::addColumn<bool>("addedMeanwhile");
    QTest::addColumn<bool>("yes");
    QTest::newRow("unchanged, yes") << false << true;
    QTest::newRow("unchanged, no") << false << false;
    QTest::newRow("added meanwhile, yes") << true << true;
}

void TestLibraryPanel::favouritesEditsWrittenBackOnlyOverWhatWasShown()
{
    QFETCH(bool, addedMeanwhile);
    QFETCH(bool, yes);
    seed(P, "a", "a\r\n");
    const QString favourites = m_dir->path() + QStringLiteral("/data/MyFavor/我的最爱.txt");
    QVERIFY(writeBytes(favourites, "one\r\n"));
    build();
    m_panel->btnMyFavor_Click();
    type("two");
    if (addedMeanwhile) {
        QFile file(favourites);
        QVERIFY(file.open(QIODevice::Append));
        file.write("added\r\n");
        file.close();
        m_ctx->context.notifyFavouritesChanged();
        QCOMPARE(view()->text(), QStringLiteral("one\r\ntwo")); // the edit stays
    }
    dialogs().answers.enqueue(yes);
    list()->setCurrentRow(0);
    QCOMPARE(dialogs().shown.first().text, kSaveQuestion);
    QByteArray expected = yes && !addedMeanwhile ? "one\r\ntwo\r\n" : "one\r\n";
    if (addedMeanwhile) {
        expected += "added\r\n";
        QCOMPARE(dialogs().shown.size(), 2);
        QCOMPARE(last().text,
                 QStringLiteral("『我的最爱』在显示以后又有了变化，为了不覆盖新的内容，这次的修改没有写回！"));
        QCOMPARE(last().title, QStringLiteral("『Zantoria』提醒您：）"));
        QCOMPARE(last().icon, Dialogs::Icon::Information);
    } else {
        QCOMPARE(dialogs().shown.size(), 1);
    }
    QCOMPARE(readBytes(favourites), expected);
    QCOMPARE(bytes(P, "a"), QByteArray("a\r\n"));
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
}

void TestLibraryPanel::accessibleNames()
{
    seed(P, "第一", "1\r\n");
    seed(P, "second", "2\r\n");
    build();
    QCOMPARE(accessibleName(list()), QStringLiteral("秘笈名称"));
    QCOMPARE(accessibleName(control<QGroupBox>("frameMJStyle")), QStringLiteral("秘笈类别"));
    QCOMPARE(accessibleName(control<QRadioButton>("optMJStyle0")), QStringLiteral("图片"));
    QCOMPARE(accessibleName(control<QRadioButton>("optMJStyle1")), QStringLiteral("文字"));
    QCOMPARE(accessibleName(control<QCheckBox>("chkMJReadOnly")), QStringLiteral("只读模式"));
    QCOMPARE(accessibleName(view()), QStringLiteral("秘笈『second』内容"));
    m_panel->btnMyFavor_Click();
    QCOMPARE(accessibleName(view()), QStringLiteral("『我的最爱』内容"));

    QAccessibleInterface *items = QAccessible::queryAccessibleInterface(list());
    QStringList itemNames;
    for (int i = 0; i < items->childCount(); ++i)
        itemNames << items->child(i)->text(QAccessible::Name);
    QCOMPARE(itemNames, (QStringList{"second", "第一"}));
}

void TestLibraryPanel::searchShowsHitsWithTheirKinds()
{
    seed(P, "生日", "cake\r\n");
    seed(P, "other", "x\r\n");
    seed(W, "祝福", TextCodec::encode(u"祝你生日快乐\r\n"));
    buildIndexed();
    QVERIFY(hitsList()->isHidden());
    searchBox()->setText(QStringLiteral("sr"));
    QVERIFY(m_panel->searching());
    QVERIFY(list()->isHidden());
    QVERIFY(!hitsList()->isHidden());
    QCOMPARE(texts(hitsList()), (QStringList{"〔图片〕生日", "〔文字〕祝福"}));
    QCOMPARE(control<QLabel>("lblMJName")->text(), QStringLiteral("搜索结果："));
    QVERIFY(!control<QGroupBox>("frameMJStyle")->isEnabled());
    QCOMPARE(accessibleName(searchBox()), QStringLiteral("搜索秘笈"));
    QCOMPARE(accessibleName(hitsList()), QStringLiteral("搜索结果"));
    QAccessibleInterface *items = QAccessible::queryAccessibleInterface(hitsList());
    QCOMPARE(items->childCount(), 2);
    QVERIFY(items->child(0)->text(QAccessible::Name).contains(QStringLiteral("生日")));
    QVERIFY(items->child(1)->text(QAccessible::Name).contains(QStringLiteral("祝福")));
    // Nothing found says so, and is no hit to pick.
    searchBox()->setText(QStringLiteral("zzz"));
    QCOMPARE(texts(hitsList()), QStringList{"没有找到相符的秘笈！"});
    QCOMPARE(hitsList()->item(0)->flags(), Qt::NoItemFlags);
    QVERIFY(dialogs().shown.isEmpty());
}

void TestLibraryPanel::searchTypedBeforeTheIndexIsReady()
{
    seed(W, "生日", "x\r\n");
    build();
    // The build's end is told through the event loop, which has not run.
    QVERIFY(!m_panel->search().isReady());
    searchBox()->setText(QStringLiteral("shengri"));
    QCOMPARE(texts(hitsList()), QStringList{"正在建立索引，请稍候……"});
    QTRY_COMPARE(texts(hitsList()), QStringList{"〔文字〕生日"});
}

void TestLibraryPanel::searchKeptCurrent()
{
    seed(P, "a", "a\r\n");
    buildIndexed();
    dialogs().inputs.enqueue(QStringLiteral("生日"));
    m_panel->btnNewMJ_Click();
    QCOMPARE(found("sr"), QStringList{"生日"});
    QVERIFY(found("cake").isEmpty());
    type("cake");
    dialogs().answers.enqueue(true);
    QVERIFY(m_panel->SaveModifiedText());
    QCOMPARE(found("cake"), QStringList{"生日"});
    dialogs().inputs.enqueue(QStringLiteral("蛋糕"));
    m_panel->btnMJReName_Click();
    QCOMPARE(found("cake"), QStringList{"蛋糕"});
    QVERIFY(found("sr").isEmpty());
    dialogs().answers.enqueue(true);
    m_panel->btnMJDel_Click();
    QVERIFY(found("cake").isEmpty());

    // An entry added to the favourites by the tool panel.
    const QString favourites = m_dir->path() + QStringLiteral("/data/MyFavor/我的最爱.txt");
    QVERIFY(writeBytes(favourites, TextCodec::encode(u"生日快乐\r\n")));
    m_ctx->context.notifyFavouritesChanged();
    QCOMPARE(found("srkl"), QStringList{"我的最爱"});
    // A hits list shown follows.
    searchBox()->setText(QStringLiteral("a"));
    QCOMPARE(texts(hitsList()), (QStringList{"〔图片〕a", "〔最爱〕我的最爱"})); // 爱 reads ai
    QVERIFY(writeTip(m_dir->path(), W, QStringLiteral("abc"), QString()));
    m_panel->search().refresh(W, QStringLiteral("abc.txt"));
    QTRY_COMPARE(texts(hitsList()), (QStringList{"〔图片〕a", "〔文字〕abc", "〔最爱〕我的最爱"}));
}

void TestLibraryPanel::hitPickedEditedAndSaved()
{
    seed(P, "a", "a\r\n");
    seed(W, "生日", "cake\r\n");
    seed(W, "x", "x\r\n");
    buildIndexed();
    searchBox()->setText(QStringLiteral("sr"));
    hitsList()->setCurrentRow(0);
    // Shown as its own kind's list shows it.
    QCOMPARE(m_panel->shows(), LibraryPanel::Shows::Tip);
    QCOMPARE(m_panel->shownKind(), W);
    QCOMPARE(m_panel->shownFile(), QStringLiteral("生日.txt"));
    QCOMPARE(view()->text(), QStringLiteral("cake\r\n"));
    QCOMPARE(caption(), QStringLiteral("秘笈『生日』内容："));
    QCOMPARE(m_panel->curMJName(), QStringLiteral("生日"));
    QVERIFY(view()->isLocked());
    QVERIFY(control<CoolButton>("btnMJDel")->isEnabled());
    QVERIFY(dialogs().shown.isEmpty());

    type("!");
    searchBox()->setText(QStringLiteral("a"));
    dialogs().answers.enqueue(true);
    hitsList()->setCurrentRow(0); // 〔图片〕a
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(last().text, kSaveQuestion);
    QCOMPARE(bytes(W, "生日"), QByteArray("cake\r\n!\r\n"));
    QCOMPARE(view()->text(), QStringLiteral("a\r\n"));
    QCOMPARE(m_panel->shownKind(), P);
    // The saved text is found, and the hits list shows it.
    QTRY_COMPARE(texts(hitsList()), (QStringList{"〔图片〕a", "〔文字〕生日"}));
    QCOMPARE(hitsList()->currentRow(), 0);
}

void TestLibraryPanel::emptyingTheSearchRestoresTheList_data()
{
    QTest::addColumn<bool>("deleteSelected");
    QTest::newRow("selection kept") << false;
    QTest::newRow("selected tip deleted meanwhile") << true;
}

void TestLibraryPanel::emptyingTheSearchRestoresTheList()
{
    QFETCH(bool, deleteSelected);
    seed(P, "a", "a\r\n");
    seed(P, "b", "b\r\n");
    seed(W, "w", "w\r\n");
    buildIndexed();
    list()->setCurrentRow(1);
    searchBox()->setText(QStringLiteral("w"));
    hitsList()->setCurrentRow(0);
    QCOMPARE(view()->text(), QStringLiteral("w\r\n"));
    QVERIFY(!m_panel->isPictureKind());
    if (deleteSelected)
        QVERIFY(QFile::remove(path(P, "b")));
    searchBox()->clear();
    QVERIFY(!m_panel->searching());
    QVERIFY(hitsList()->isHidden());
    QVERIFY(!list()->isHidden());
    QVERIFY(control<QGroupBox>("frameMJStyle")->isEnabled());
    QCOMPARE(control<QLabel>("lblMJName")->text(), QStringLiteral("秘笈名称："));
    QVERIFY(m_panel->isPictureKind());
    QVERIFY(control<QRadioButton>("optMJStyle0")->isChecked());
    QVERIFY(!control<QRadioButton>("optMJStyle1")->isChecked());
    QCOMPARE(names(), deleteSelected ? QStringList{"a"} : (QStringList{"a", "b"}));
    QCOMPARE(list()->currentRow(), deleteSelected ? -1 : 1);
    // Nothing is read: the picked tip stays shown.
    QCOMPARE(view()->text(), QStringLiteral("w\r\n"));
    QCOMPARE(m_panel->shownKind(), W);
    QVERIFY(dialogs().shown.isEmpty());
}

QTEST_MAIN(TestLibraryPanel)
#include "tst_librarypanel.moc"
