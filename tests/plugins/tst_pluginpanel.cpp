// The plug-in manager on its own, built as the main window builds it, on a
// throw-away program directory with description files written by each test.

#include "plugins/pluginfile.h"
#include "plugins/pluginpanel.h"

#include "findcontrol.h"
#include "fulldisk.h"
#include "processes.h"
#include "tempprogramdir.h"
#include "testcontext.h"

#include "shell/core/launcher.h"
#include "shell/core/texts.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/panelbox.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kHint = QStringLiteral("『Zantoria』提醒您：）");
const QString kInvalid = QStringLiteral("插件名称或路径无效！");
const QString kEmpty = QStringLiteral("插件名称与路径均不可为空！");

QString padded(const QString &caption, int times)
{
    QString c = caption;
    for (int i = 0; i < times; ++i)
        c = PadCaption(c);
    return c;
}

} // namespace

class TestPluginPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void emptyDirectory();
    void rejectedFileListedWithoutPath();
    void descriptionFilesInAnyCase();
    void run_data();
    void run();
    void runRelativePath();
    void doubleClickInEachMode();
    void realLauncherRunsExactlyThatScript();
    void saveInPlaceRenames();
    void saveInPlaceSameName_data();
    void saveInPlaceSameName();
    void saveInPlaceKeepsTheFilesEncoding_data();
    void saveInPlaceKeepsTheFilesEncoding();
    void saveInPlaceOntoAnotherPlugin_data();
    void saveInPlaceOntoAnotherPlugin();
    void saveInPlaceFailedWriteKeepsTheOldFile();
    void saveUnderNewNameOnADiskThatRefuses_data();
    void saveUnderNewNameOnADiskThatRefuses();
    void unexpectedFailureShowsTheActionsMessage_data();
    void unexpectedFailureShowsTheActionsMessage();
    void saveInPlaceChecks_data();
    void saveInPlaceChecks();
    void saveInPlaceWithoutSelection();
    void saveAs_data();
    void saveAs();
    void saveAsCancelledOrDeclined();
    void addNew();
    void addOverExistingAnsweredNo();
    void namesOutsideThePluginDirectory_data();
    void namesOutsideThePluginDirectory();
    void clearNewFields();
    void remove_data();
    void remove();
    void removeWithoutSelection();
    void browse();
    void accessibleNames();
    void hoverFrames();

private:
    template<typename T>
    T *control(const QString &name) const
    {
        return findControl<T>(m_panel.get(), name);
    }
    QLineEdit *field(const char *name) const { return control<QLineEdit>(QString::fromLatin1(name)); }
    QListWidget *list() const { return control<QListWidget>(QStringLiteral("lstCJ")); }
    QString pluginDir() const { return m_dir->file(QStringLiteral("Plugin")); }
    QString pluginFile(const QString &name) const { return pluginDir() + u'/' + name; }
    void describe(const QString &fileName, const CJInfo &info) const;
    CJInfo described(const QString &fileName) const;
    QStringList entries() const;
    void build();
    void editMode();
    ScriptedDialogs &dialogs() const { return m_ctx->dialogs; }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    std::unique_ptr<PluginPanel> m_panel;
};

void TestPluginPanel::init()
{
    m_dir = std::make_unique<TempProgramDir>();
    QVERIFY(QDir().mkpath(pluginDir()));
    m_ctx = std::make_unique<TestContext>(m_dir->path());
}

void TestPluginPanel::cleanup()
{
    m_panel.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestPluginPanel::describe(const QString &fileName, const CJInfo &info) const
{
    QVERIFY(PluginFile::write(pluginFile(fileName), info));
}

CJInfo TestPluginPanel::described(const QString &fileName) const
{
    return PluginFile::read(pluginFile(fileName), m_dir->path()).info;
}

QStringList TestPluginPanel::entries() const
{
    QStringList texts;
    for (int i = 0; i < list()->count(); ++i)
        texts << list()->item(i)->text();
    return texts;
}

void TestPluginPanel::build()
{
    m_panel = std::make_unique<PluginPanel>(m_ctx->context);
    QCOMPARE(control<QLabel>(QStringLiteral("lblCJ0"))->text(), QStringLiteral("现在共有插件＊＊个"));
    m_panel->initCJ();
}

void TestPluginPanel::editMode()
{
    control<QRadioButton>(QStringLiteral("chkCJ0"))->setChecked(true);
}

void TestPluginPanel::startState()
{
    describe(QStringLiteral("Alpha.ini"), {"Alpha", "1.0", "/opt/alpha", "第一个"});
    describe(QStringLiteral("beta.ini"), {"beta", "2", "{app.path}/beta", ""});
    build();

    QCOMPARE(control<QLabel>(QStringLiteral("lblCJ0"))->text(), QStringLiteral("现在共有插件2个"));
    QCOMPARE(entries(), (QStringList{QStringLiteral("Alpha\t[位置:/opt/alpha]"),
                                     QStringLiteral("beta\t[位置:") + m_dir->path() + QStringLiteral("/beta]")}));
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(field("CJCName")->text(), QStringLiteral("Alpha"));
    QCOMPARE(field("CJCVer")->text(), QStringLiteral("1.0"));
    QCOMPARE(field("CJCPath")->text(), QStringLiteral("/opt/alpha"));
    QCOMPARE(field("CJCDes")->text(), QStringLiteral("第一个"));
    QVERIFY(m_panel->curCJ() == (CJInfo{"Alpha", "1.0", "/opt/alpha", "第一个"}));

    // The add-new mode: its group, the list and run enabled, the edit group not.
    QVERIFY(control<QRadioButton>(QStringLiteral("chkCJ1"))->isChecked());
    QVERIFY(control<QRadioButton>(QStringLiteral("chkCJ0"))->isEnabled());
    for (const char *name : {"CJNName", "CJNVer", "CJNPath", "CJNDes"})
        QVERIFY(field(name)->isEnabled());
    for (const char *name : {"CJCName", "CJCVer", "CJCPath", "CJCDes"})
        QVERIFY(!field(name)->isEnabled());
    QVERIFY(list()->isEnabled());
    QVERIFY(control<CoolButton>(QStringLiteral("btnCJ0"))->isEnabled());
    QVERIFY(control<CoolButton>(QStringLiteral("btnCJ5"))->isEnabled());
    QVERIFY(!control<CoolButton>(QStringLiteral("btnCJ1"))->isEnabled());
    QVERIFY(!control<QPushButton>(QStringLiteral("cmdCJ0"))->isEnabled());
    QVERIFY(control<QPushButton>(QStringLiteral("cmdCJ1"))->isEnabled());

    // The edit mode is the mirror image.
    editMode();
    QVERIFY(field("CJCName")->isEnabled());
    QVERIFY(!field("CJNName")->isEnabled());
    QVERIFY(!list()->isEnabled());
    QVERIFY(!control<CoolButton>(QStringLiteral("btnCJ0"))->isEnabled());
    QVERIFY(control<CoolButton>(QStringLiteral("btnCJ5"))->isEnabled());

    // Captions: run and remove padded twice, the others once.
    const char *captions[6] = {"运行所选插件", "保存修改", "修改另存", "添    加", "清    空", "卸载所选插件"};
    for (int i = 0; i < 6; ++i) {
        const int times = i == 0 || i == 5 ? 2 : 1;
        QCOMPARE(control<CoolButton>(QStringLiteral("btnCJ%1").arg(i))->caption(),
                 padded(QString::fromUtf8(captions[i]), times));
    }
    QCOMPARE(m_panel->geometry(), QRect(5, 5, 417, 385));
    QVERIFY(m_panel->isHidden());
    QVERIFY(dialogs().shown.isEmpty());
}

void TestPluginPanel::emptyDirectory()
{
    build();
    QCOMPARE(control<QLabel>(QStringLiteral("lblCJ0"))->text(), QStringLiteral("现在共有插件0个"));
    QCOMPARE(list()->count(), 0);
    QVERIFY(!control<CoolButton>(QStringLiteral("btnCJ5"))->isEnabled());
    QVERIFY(!control<QRadioButton>(QStringLiteral("chkCJ0"))->isEnabled());
    QVERIFY(control<QRadioButton>(QStringLiteral("chkCJ1"))->isChecked());
    for (const char *name : {"CJCName", "CJCVer", "CJCPath", "CJCDes"})
        QVERIFY(field(name)->text().isEmpty());
    QVERIFY(m_panel->curCJ() == CJInfo{});

    // Running with nothing selected: the run failure, nothing started.
    m_panel->btnCJ_Click(0);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].title, QStringLiteral("运行插件失败：（"));
    QVERIFY(m_ctx->launcher.started.isEmpty());

    // Removing the last description brings the same state back.
    describe(QStringLiteral("Only.ini"), {"Only", "", "/x", ""});
    m_panel->CJRefresh();
    editMode();
    QCOMPARE(field("CJCName")->text(), QStringLiteral("Only"));
    dialogs().answers.enqueue(true);
    m_panel->btnCJ_Click(5);
    QCOMPARE(control<QLabel>(QStringLiteral("lblCJ0"))->text(), QStringLiteral("现在共有插件0个"));
    QVERIFY(control<QRadioButton>(QStringLiteral("chkCJ1"))->isChecked());
    QVERIFY(!control<QRadioButton>(QStringLiteral("chkCJ0"))->isEnabled());
    QVERIFY(field("CJCName")->text().isEmpty());
    QVERIFY(list()->isEnabled());
}

void TestPluginPanel::rejectedFileListedWithoutPath()
{
    QFile bad(pluginFile(QStringLiteral("Bad.ini")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("[Name]=Bad\r\n[Path]=/x\r\n");
    bad.close();
    describe(QStringLiteral("Good.ini"), {"Good", "", "/g", ""});
    build();
    QCOMPARE(entries(), (QStringList{QStringLiteral("Bad\t[位置:]"), QStringLiteral("Good\t[位置:/g]")}));
    // Its message while the list is built, and again when it is selected.
    QCOMPARE(dialogs().shown.size(), 2);
    for (const auto &shown : dialogs().shown) {
        QCOMPARE(shown.text, QStringLiteral("所读取的文件不是『Zantoria』的标准插件配置文件！"));
        QCOMPARE(shown.title, QStringLiteral("读取错误：O"));
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
    }
    QVERIFY(m_panel->curCJ() == CJInfo{});
}

void TestPluginPanel::descriptionFilesInAnyCase()
{
    describe(QStringLiteral("upper.INI"), {"upper", "", "/u", ""});
    describe(QStringLiteral("mixed.Ini"), {"mixed", "", "/m", ""});
    describe(QStringLiteral("lower.ini"), {"lower", "", "/l", ""});
    describe(QStringLiteral("notes.txt"), {"notes", "", "/n", ""});
    QVERIFY(QDir().mkpath(pluginFile(QStringLiteral("folder.ini"))));
    build();
    QCOMPARE(m_panel->listedFiles(),
             (QStringList{QStringLiteral("lower.ini"), QStringLiteral("mixed.Ini"), QStringLiteral("upper.INI")}));
    QCOMPARE(control<QLabel>(QStringLiteral("lblCJ0"))->text(), QStringLiteral("现在共有插件3个"));
}

void TestPluginPanel::run_data()
{
    QTest::addColumn<QString>("path"); // "%dir%" stands for a temporary directory
    QTest::addColumn<bool>("launcherSucceeds");
    QTest::addColumn<QString>("text"); // empty: the program was started
    QTest::addColumn<QString>("title");

    const QString failed = QStringLiteral("运行插件时出现错误，可能是插件文件找不到或是已经损坏！");
    QTest::newRow("missing file") << "/no/such/program" << true
                                  << "找不到插件文件[P]所对应的可执行文件\r\n/no/such/program" << "插件运行失败：O";
    QTest::newRow("a directory") << "%dir%" << true << "找不到插件文件[P]所对应的可执行文件\r\n%dir%"
                                 << "插件运行失败：O";
    QTest::newRow("not a regular file") << "/dev/null" << true
                                        << "找不到插件文件[P]所对应的可执行文件\r\n/dev/null" << "插件运行失败：O";
    QTest::newRow("empty path") << "" << true << failed << "运行插件失败：（";
    QTest::newRow("start refused") << "%dir%/program" << false << failed << "运行插件失败：（";
    QTest::newRow("started") << "%dir%/program" << true << "" << "";
}

void TestPluginPanel::run()
{
    QFETCH(QString, path);
    QFETCH(bool, launcherSucceeds);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QTemporaryDir tmp;
    path.replace(QStringLiteral("%dir%"), tmp.path());
    text.replace(QStringLiteral("%dir%"), tmp.path());
    QFile program(tmp.filePath(QStringLiteral("program")));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();
    describe(QStringLiteral("P.ini"), {"P", "", path, ""});
    build();
    m_ctx->launcher.result = [&](const QString &) { return launcherSucceeds; };
    m_panel->btnCJ_Click(0);
    if (text.isEmpty()) {
        QVERIFY(dialogs().shown.isEmpty());
        QCOMPARE(m_ctx->launcher.started, QStringList{path});
        return;
    }
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, text);
    QCOMPARE(dialogs().shown[0].title, title);
    QCOMPARE(dialogs().shown[0].icon, Dialogs::Icon::Information);
    if (launcherSucceeds)
        QVERIFY(m_ctx->launcher.started.isEmpty());
}

void TestPluginPanel::runRelativePath()
{
    QFile program(m_dir->file(QStringLiteral("Tools/plug")));
    QVERIFY(QDir().mkpath(m_dir->file(QStringLiteral("Tools"))));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();
    describe(QStringLiteral("Rel.ini"), {"Rel", "", "Tools/plug", ""});
    build();
    m_panel->btnCJ_Click(0);
    QCOMPARE(m_ctx->launcher.started, QStringList{m_dir->file(QStringLiteral("Tools/plug"))});
}

void TestPluginPanel::doubleClickInEachMode()
{
    QFile program(m_dir->file(QStringLiteral("plug")));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();
    describe(QStringLiteral("A.ini"), {"A", "", "/no/such/program", ""});
    describe(QStringLiteral("P.ini"), {"P", "", "{app.path}/plug", ""});
    build();
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    const QPoint onEntry = list()->visualItemRect(list()->item(1)).center();

    // A click on the second entry selects it and reads it, as a user does it.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, onEntry);
    QCOMPARE(m_panel->curCJ().Name, QStringLiteral("P"));
    QCOMPARE(field("CJCName")->text(), QStringLiteral("P"));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, onEntry);
    QCOMPARE(m_ctx->launcher.started, QStringList{m_dir->file(QStringLiteral("plug"))});

    // In the edit mode the list is disabled: a double click does nothing.
    editMode();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, onEntry);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, onEntry);
    QCOMPARE(m_ctx->launcher.started.size(), 1);
    QVERIFY(dialogs().shown.isEmpty());
}

void TestPluginPanel::realLauncherRunsExactlyThatScript()
{
#ifndef Q_OS_UNIX
    QSKIP("a shell script is the plug-in here");
#endif
    // A path a shell would split in two: a blank, and ";" followed by a
    // command that would leave a file behind.
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("my plugins; touch injected"));
    QVERIFY(QDir().mkpath(folder));
    const QString script = folder + QStringLiteral("/run me;touch injected.sh");
    QFile f(script);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho ran > \"$(dirname \"$0\")/ran.txt\"\n");
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    describe(QStringLiteral("Script.ini"), {"Script", "", script, ""});
    const std::unique_ptr<Launcher> real = createSystemLauncher();
    m_ctx->context.launcher = real.get();
    build();
    const QString workDir = QDir::currentPath();
    const QStringList before = QDir(workDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    m_panel->btnCJ_Click(0);
    QVERIFY(dialogs().shown.isEmpty());
    QVERIFY(waitUntil([&] { return QFileInfo::exists(folder + QStringLiteral("/ran.txt")); }, 10000));
    QTest::qWait(200);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("ran.txt"), QStringLiteral("run me;touch injected.sh")}));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("my plugins; touch injected")});
    QCOMPARE(QDir(workDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TestPluginPanel::saveInPlaceRenames()
{
    describe(QStringLiteral("A.ini"), {"A", "1", "/a", "old"});
    describe(QStringLiteral("M.ini"), {"M", "", "/m", ""});
    build();
    editMode();
    field("CJCName")->setText(QStringLiteral(" B "));
    field("CJCDes")->setText(QStringLiteral("new "));
    m_panel->btnCJ_Click(1);
    QVERIFY(dialogs().shown.isEmpty());
    QVERIFY(!QFileInfo::exists(pluginFile(QStringLiteral("A.ini"))));
    QVERIFY(described(QStringLiteral("B.ini")) == (CJInfo{"B", "1", "/a", "new"}));
    QCOMPARE(m_panel->listedFiles(), (QStringList{QStringLiteral("B.ini"), QStringLiteral("M.ini")}));
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(field("CJCName")->text(), QStringLiteral("B"));
    // Still editing.
    QVERIFY(control<QRadioButton>(QStringLiteral("chkCJ0"))->isChecked());
    QVERIFY(field("CJCName")->isEnabled());
}

void TestPluginPanel::saveInPlaceSameName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("unchanged") << "A";
    QTest::newRow("other letter case") << "a";
}

void TestPluginPanel::saveInPlaceSameName()
{
    QFETCH(QString, name);
    describe(QStringLiteral("A.ini"), {"A", "1", "/a", ""});
    build();
    editMode();
    field("CJCName")->setText(name);
    field("CJCVer")->setText(QStringLiteral("2"));
    m_panel->btnCJ_Click(1);
    QVERIFY(dialogs().shown.isEmpty());
    QCOMPARE(m_panel->listedFiles(), QStringList{QStringLiteral("A.ini")});
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{name, "2", "/a", ""}));
    QCOMPARE(list()->currentRow(), 0);
}

void TestPluginPanel::saveInPlaceKeepsTheFilesEncoding_data()
{
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<QByteArray>("bad"); // bytes no character of UTF-8, read as "�"
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("written");
    QTest::newRow("UTF-8") << QByteArray() << QByteArray() << QList<bool>{} << true;
    QTest::newRow("bad bytes, replaced") << QByteArray("\xEF\xBB\xBF") << QByteArray("\xFF") << QList<bool>{true}
                                         << true;
    QTest::newRow("bad bytes, kept") << QByteArray("\xEF\xBB\xBF") << QByteArray("\xFF") << QList<bool>{false}
                                     << false;
}

void TestPluginPanel::saveInPlaceKeepsTheFilesEncoding()
{
    QFETCH(QByteArray, mark);
    QFETCH(QByteArray, bad);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, written);
    const auto file = [&](const QString &version, const QByteArray &description) -> QByteArray {
        return mark + (u"%Zantoria Plugin File\n[Name]=甲\n[Version]="_qs + version + u"\n[Path]=/a\n[Description]=说明"_qs)
                          .toUtf8()
               + description + "\n";
    };
    const QByteArray before = file(u"1"_qs, bad);
    {
        QFile f(pluginFile(u"甲.ini"_qs));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    build();
    QCOMPARE(field("CJCDes")->text(), u"说明"_qs + (bad.isEmpty() ? QString() : u"\uFFFD"_qs));
    editMode();
    field("CJCVer")->setText(u"2"_qs);
    for (bool answer : answers)
        dialogs().answers.enqueue(answer);
    m_panel->btnCJ_Click(1);
    QCOMPARE(dialogs().shown.size(), answers.size());
    if (!answers.isEmpty())
        QCOMPARE(dialogs().shown[0].text, Strings::replacedBytesQuestion(pluginFile(u"甲.ini"_qs)));
    QFile f(pluginFile(u"甲.ini"_qs));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), written ? file(u"2"_qs, bad.isEmpty() ? QByteArray() : "\xEF\xBF\xBD") : before);
}

void TestPluginPanel::saveInPlaceOntoAnotherPlugin_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("No") << false;
    QTest::newRow("Yes") << true;
}

void TestPluginPanel::saveInPlaceOntoAnotherPlugin()
{
    QFETCH(bool, answer);
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    describe(QStringLiteral("B.ini"), {"B", "", "/b", ""});
    build();
    editMode();
    field("CJCName")->setText(QStringLiteral("B"));
    dialogs().answers.enqueue(answer);
    m_panel->btnCJ_Click(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].kind, QStringLiteral("question"));
    QCOMPARE(dialogs().shown[0].text, QStringLiteral("插件配置文件[B]已经存在，是否覆盖？"));
    QCOMPARE(dialogs().shown[0].title, kHint);
    QCOMPARE(dialogs().shown[0].icon, Dialogs::Icon::Question);
    if (!answer) {
        QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/a", ""}));
        QVERIFY(described(QStringLiteral("B.ini")) == (CJInfo{"B", "", "/b", ""}));
    } else {
        QCOMPARE(m_panel->listedFiles(), QStringList{QStringLiteral("B.ini")});
        QVERIFY(described(QStringLiteral("B.ini")) == (CJInfo{"B", "", "/a", ""}));
    }
}

void TestPluginPanel::saveInPlaceFailedWriteKeepsTheOldFile()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    // Something that is no file stands where the new description would go.
    QVERIFY(QDir().mkpath(pluginFile(QStringLiteral("C.ini"))));
    build();
    editMode();
    field("CJCName")->setText(QStringLiteral("C"));
    dialogs().answers.enqueue(true); // replace it
    m_panel->btnCJ_Click(1);
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(dialogs().shown[1].kind, QStringLiteral("okcancel"));
    QVERIFY(dialogs().shown[1].text.startsWith(QStringLiteral("写入插件配置文件时出现错误！")));
    QCOMPARE(dialogs().shown[1].title, QStringLiteral("写入失败：（"));
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/a", ""}));
    // The list is built again and keeps the old file selected.
    QCOMPARE(m_panel->listedFiles(), QStringList{QStringLiteral("A.ini")});
    QCOMPARE(list()->currentRow(), 0);
}

void TestPluginPanel::saveUnderNewNameOnADiskThatRefuses_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("full disk") << false;
    QTest::newRow("read-only disk") << true;
}

void TestPluginPanel::saveUnderNewNameOnADiskThatRefuses()
{
    // The write fails and says so; the name is not blamed, and the old
    // description stays.
    QFETCH(bool, readOnly);
    const FullDisk disk;
    if (!disk.available())
        QSKIP("a file system of the test's own cannot be mounted here (needs root)");
    const QString dir = disk.file(QStringLiteral("Plugin"));
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(PluginFile::write(dir + QStringLiteral("/A.ini"), {"A", "", "/a", ""}));
    QVERIFY(readOnly ? disk.makeReadOnly() : disk.fill());
    m_ctx = std::make_unique<TestContext>(disk.path());
    build();
    editMode();
    field("CJCName")->setText(QStringLiteral("B"));
    m_panel->btnCJ_Click(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].kind, QStringLiteral("okcancel"));
    QVERIFY2(dialogs().shown[0].text.startsWith(QStringLiteral("写入插件配置文件时出现错误！\r\n")),
             qPrintable(dialogs().shown[0].text));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("A.ini")});
    QVERIFY(PluginFile::read(dir + QStringLiteral("/A.ini"), disk.path()).info == (CJInfo{"A", "", "/a", ""}));
}

void TestPluginPanel::unexpectedFailureShowsTheActionsMessage_data()
{
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("save under a chosen name") << 2 << "保存时出现错误！" << "保存文件出错了：（";
    QTest::newRow("add") << 3 << "添加配置文件时出现错误！" << "添加文件出错了：（";
    QTest::newRow("remove") << 5 << "卸载配置文件时出现错误！" << "卸载失败：（";
}

void TestPluginPanel::unexpectedFailureShowsTheActionsMessage()
{
    // The save asks for a name, the add whether to replace A, the remove
    // whether to go on: each box fails.
    QFETCH(int, element);
    QFETCH(QString, text);
    QFETCH(QString, title);
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    field("CJNName")->setText(QStringLiteral("A"));
    field("CJNPath")->setText(QStringLiteral("/a"));
    dialogs().failWhenAsked = true;
    m_panel->btnCJ_Click(element);
    QCOMPARE(dialogs().shown.size(), 2); // what was asked, then the action's message
    QCOMPARE(dialogs().shown[1].text, text);
    QCOMPARE(dialogs().shown[1].title, title);
    QCOMPARE(dialogs().shown[1].icon, Dialogs::Icon::Critical);
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/a", ""}));
}

void TestPluginPanel::saveInPlaceChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty path is invalid first") << "A" << "" << kInvalid;
    QTest::newRow("path in a missing folder") << "A" << "/no/such/folder/x" << kInvalid;
    QTest::newRow("empty name") << "" << "/a" << kEmpty;
    QTest::newRow("blank name") << "   " << "/a" << kEmpty;
    QTest::newRow("blank path") << "A" << "   " << kEmpty;
    QTest::newRow("line break in the path") << "A" << "/a\nb" << kInvalid;
}

void TestPluginPanel::saveInPlaceChecks()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    QFETCH(QString, message);
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    editMode();
    field("CJCName")->setText(name);
    field("CJCPath")->setText(path);
    m_panel->btnCJ_Click(1);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, message);
    QCOMPARE(dialogs().shown[0].title, kHint);
    QCOMPARE(dialogs().shown[0].icon, Dialogs::Icon::Information);
    QCOMPARE(QDir(pluginDir()).entryList(QDir::Files), QStringList{QStringLiteral("A.ini")});
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/a", ""}));
}

void TestPluginPanel::saveInPlaceWithoutSelection()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    editMode();
    list()->setCurrentRow(-1);
    field("CJCName")->setText(QStringLiteral("B"));
    m_panel->btnCJ_Click(1);
    QVERIFY(dialogs().shown.isEmpty());
    QCOMPARE(QDir(pluginDir()).entryList(QDir::Files), QStringList{QStringLiteral("A.ini")});
}

void TestPluginPanel::saveAs_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    QTest::newRow("abc") << "abc" << "abc.INI";
    QTest::newRow("x.ini") << "x.ini" << "x.ini";
    QTest::newRow("x.Ini") << "x.Ini" << "x.Ini";
    QTest::newRow("four characters") << "abcd" << "abcd.INI";
    QTest::newRow("four characters that look like the extension") << ".ini" << ".ini.INI";
}

void TestPluginPanel::saveAs()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    describe(QStringLiteral("A.ini"), {"A", "1", "/a", "d"});
    build();
    editMode();
    field("CJCName")->setText(QStringLiteral(" Copy "));
    field("CJCDes")->setText(QStringLiteral("edited"));
    QTemporaryDir elsewhere;
    dialogs().files.enqueue(elsewhere.filePath(chosen));
    m_panel->btnCJ_Click(2);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].kind, QStringLiteral("save"));
    QCOMPARE(dialogs().shown[0].text, QStringLiteral("*.INI(『Zantoria』插件配置文件) (*.INI *.ini)"));
    QCOMPARE(dialogs().shown[0].title, QString());
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden), QStringList{written});
    QVERIFY(PluginFile::read(elsewhere.filePath(written), m_dir->path()).info == (CJInfo{"Copy", "1", "/a", "edited"}));
    // The selected plug-in and its file are as they were.
    QVERIFY(m_panel->curCJ() == (CJInfo{"A", "1", "/a", "d"}));
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "1", "/a", "d"}));
}

void TestPluginPanel::saveAsCancelledOrDeclined()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    editMode();
    field("CJCName")->setText(QStringLiteral("B"));
    m_panel->btnCJ_Click(2); // cancelled
    QCOMPARE(dialogs().shown.size(), 1);

    // An existing file, and the answer No.
    dialogs().shown.clear();
    dialogs().files.enqueue(pluginFile(QStringLiteral("A.ini")));
    m_panel->btnCJ_Click(2);
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(dialogs().shown[1].text, QStringLiteral("文件") + QDir::toNativeSeparators(pluginFile(QStringLiteral("A.ini")))
                                          + QStringLiteral("已经存在，是否覆盖？"));
    QCOMPARE(dialogs().shown[1].title, kHint);
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/a", ""}));
    // The list is not built again.
    QCOMPARE(list()->count(), 1);
}

void TestPluginPanel::addNew()
{
    describe(QStringLiteral("M.ini"), {"M", "", "/m", ""});
    describe(QStringLiteral("Z.ini"), {"Z", "", "/z", ""});
    build();
    list()->setCurrentRow(1);
    field("CJNName")->setText(QStringLiteral(" A "));
    field("CJNVer")->setText(QStringLiteral("3"));
    field("CJNPath")->setText(QStringLiteral("/a "));
    QVERIFY(m_panel->newCJ() == (CJInfo{"A", "3", "/a", ""}));
    m_panel->btnCJ_Click(3);
    QVERIFY(dialogs().shown.isEmpty());
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "3", "/a", ""}));
    QCOMPARE(m_panel->listedFiles(),
             (QStringList{QStringLiteral("A.ini"), QStringLiteral("M.ini"), QStringLiteral("Z.ini")}));
    // Z stays selected; the add-new fields keep their texts.
    QCOMPARE(list()->currentRow(), 2);
    QCOMPARE(m_panel->curCJ().Name, QStringLiteral("Z"));
    QCOMPARE(field("CJNName")->text(), QStringLiteral(" A "));

    // Empty name or path.
    field("CJNPath")->clear();
    m_panel->btnCJ_Click(3);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, kInvalid);
    field("CJNPath")->setText(QStringLiteral("/a"));
    field("CJNName")->setText(QStringLiteral("  "));
    m_panel->btnCJ_Click(3);
    QCOMPARE(dialogs().shown.size(), 2);
    QCOMPARE(dialogs().shown[1].text, kEmpty);
}

void TestPluginPanel::addOverExistingAnsweredNo()
{
    describe(QStringLiteral("A.ini"), {"A", "1", "/a", ""});
    build();
    field("CJNName")->setText(QStringLiteral("A"));
    field("CJNPath")->setText(QStringLiteral("/other"));
    dialogs().answers.enqueue(false);
    m_panel->btnCJ_Click(3);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, QStringLiteral("插件配置文件[A]已经存在，是否覆盖？"));
    QCOMPARE(dialogs().shown[0].title, kHint);
    QCOMPARE(dialogs().shown[0].icon, Dialogs::Icon::Question);
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "1", "/a", ""}));

    // Yes replaces it.
    dialogs().answers.enqueue(true);
    m_panel->btnCJ_Click(3);
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/other", ""}));
}

void TestPluginPanel::namesOutsideThePluginDirectory_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("button");
    QTest::newRow("../x, add") << "../x" << 3;
    QTest::newRow("a/b, add") << "a/b" << 3;
    QTest::newRow("a\\b, add") << "a\\b" << 3;
    QTest::newRow("../x, save in place") << "../x" << 1;
    QTest::newRow("a/b, save in place") << "a/b" << 1;
    QTest::newRow("skin, save in place") << "../Skin/Default/Skin" << 1;
    QTest::newRow("line break, add") << "a\nb" << 3;
}

void TestPluginPanel::namesOutsideThePluginDirectory()
{
    QFETCH(QString, name);
    QFETCH(int, button);
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    QVERIFY(QDir().mkpath(pluginFile(QStringLiteral("a"))));
    QVERIFY(QDir().mkpath(m_dir->file(QStringLiteral("Skin/Default"))));
    build();
    if (button == 1) {
        editMode();
        field("CJCName")->setText(name);
    } else {
        field("CJNName")->setText(name);
        field("CJNPath")->setText(QStringLiteral("/a"));
    }
    m_panel->btnCJ_Click(button);
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, kInvalid);
    QVERIFY(!QFileInfo::exists(m_dir->file(QStringLiteral("x.ini"))));
    QVERIFY(!QFileInfo::exists(m_dir->file(QStringLiteral("Skin/Default/Skin.ini"))));
    QVERIFY(QDir(pluginFile(QStringLiteral("a"))).isEmpty());
    QVERIFY(described(QStringLiteral("A.ini")) == (CJInfo{"A", "", "/a", ""}));
}

void TestPluginPanel::clearNewFields()
{
    build();
    field("CJNName")->setText(QStringLiteral("A"));
    field("CJNDes")->setText(QStringLiteral("d"));
    m_panel->btnCJ_Click(4); // answered No
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, QStringLiteral("真的要清空吗？"));
    QCOMPARE(dialogs().shown[0].title, kHint);
    QCOMPARE(field("CJNName")->text(), QStringLiteral("A"));
    dialogs().answers.enqueue(true);
    m_panel->btnCJ_Click(4);
    for (const char *name : {"CJNName", "CJNVer", "CJNPath", "CJNDes"})
        QVERIFY(field(name)->text().isEmpty());
    QVERIFY(m_panel->newCJ() == CJInfo{});
}

void TestPluginPanel::remove_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("first") << 0 << QStringList{"B.ini", "C.ini"} << 0;
    QTest::newRow("middle") << 1 << QStringList{"A.ini", "C.ini"} << 0;
    QTest::newRow("last") << 2 << QStringList{"A.ini", "B.ini"} << 1;
}

void TestPluginPanel::remove()
{
    QFETCH(int, selected);
    QFETCH(QStringList, left);
    QFETCH(int, selectedAfter);
    QFile program(m_dir->file(QStringLiteral("prog")));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.close();
    for (const char *n : {"A", "B", "C"})
        describe(QString::fromLatin1(n) + QStringLiteral(".ini"),
                 {QString::fromLatin1(n), "", m_dir->file(QStringLiteral("prog")), ""});
    build();
    list()->setCurrentRow(selected);
    m_panel->btnCJ_Click(5); // answered No
    QCOMPARE(dialogs().shown.size(), 1);
    QCOMPARE(dialogs().shown[0].text, QStringLiteral("真的要卸载所选的插件吗？"));
    QCOMPARE(dialogs().shown[0].title, kHint);
    QCOMPARE(dialogs().shown[0].icon, Dialogs::Icon::Question);
    QCOMPARE(m_panel->listedFiles().size(), 3);

    dialogs().answers.enqueue(true);
    m_panel->btnCJ_Click(5);
    QCOMPARE(m_panel->listedFiles(), left);
    QCOMPARE(QDir(pluginDir()).entryList(QDir::Files), left);
    QCOMPARE(list()->currentRow(), selectedAfter);
    QCOMPARE(m_panel->curCJ().Name, left[selectedAfter].chopped(4));
    QCOMPARE(field("CJCName")->text(), left[selectedAfter].chopped(4));
    QCOMPARE(control<QLabel>(QStringLiteral("lblCJ0"))->text(), QStringLiteral("现在共有插件2个"));
    // The plug-in's own program stays.
    QVERIFY(QFileInfo::exists(m_dir->file(QStringLiteral("prog"))));
}

void TestPluginPanel::removeWithoutSelection()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    list()->setCurrentRow(-1);
    dialogs().answers.enqueue(true);
    m_panel->btnCJ_Click(5);
    QVERIFY(dialogs().shown.isEmpty());
    QCOMPARE(QDir(pluginDir()).entryList(QDir::Files), QStringList{QStringLiteral("A.ini")});
}

void TestPluginPanel::browse()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    dialogs().files.enqueue(QStringLiteral("/opt/new plug"));
    m_panel->cmdCJ_Click(1);
    QCOMPARE(field("CJNPath")->text(), QStringLiteral("/opt/new plug"));
    QCOMPARE(m_panel->newCJ().Path, QStringLiteral("/opt/new plug"));
    QCOMPARE(dialogs().shown[0].kind, QStringLiteral("open"));
    QVERIFY(dialogs().shown[0].text.contains(QStringLiteral("所有文件 (*)")));
    QVERIFY(dialogs().shown[0].text.contains(QStringLiteral("*.EXE(可执行文件)")));
    QCOMPARE(dialogs().shown[0].title, QString());

    editMode();
    dialogs().files.enqueue(QStringLiteral("   "));
    m_panel->cmdCJ_Click(0);
    QCOMPARE(field("CJCPath")->text(), QStringLiteral("/a"));
    dialogs().files.enqueue(QStringLiteral("/opt/x"));
    m_panel->cmdCJ_Click(0);
    QCOMPARE(field("CJCPath")->text(), QStringLiteral("/opt/x"));
}

void TestPluginPanel::accessibleNames()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    const auto name = [](QWidget *w) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
        return face ? face->text(QAccessible::Name) : QString();
    };
    QCOMPARE(name(list()), QStringLiteral("插件列表"));
    QCOMPARE(name(field("CJCName")), QStringLiteral("名称"));
    QCOMPARE(name(field("CJCVer")), QStringLiteral("版本"));
    QCOMPARE(name(field("CJCPath")), QStringLiteral("路径"));
    QCOMPARE(name(field("CJCDes")), QStringLiteral("功能简介"));
    QCOMPARE(name(field("CJNName")), QStringLiteral("名称"));
    QCOMPARE(name(field("CJNDes")), QStringLiteral("功能简介"));
    QCOMPARE(name(control<QRadioButton>(QStringLiteral("chkCJ0"))), QStringLiteral("编辑当前插件信息"));
    QCOMPARE(name(control<QRadioButton>(QStringLiteral("chkCJ1"))), QStringLiteral("添加新插件"));
    QCOMPARE(name(control<QGroupBox>(QStringLiteral("frameCJ0"))), QStringLiteral("编辑当前插件信息"));
    QCOMPARE(name(control<QGroupBox>(QStringLiteral("frameCJ1"))), QStringLiteral("添加新插件"));
    QCOMPARE(name(control<QPushButton>(QStringLiteral("cmdCJ0"))), QStringLiteral("选择路径"));
    QCOMPARE(name(control<QLabel>(QStringLiteral("lblCJ0"))), QStringLiteral("现在共有插件1个"));
}

void TestPluginPanel::hoverFrames()
{
    describe(QStringLiteral("A.ini"), {"A", "", "/a", ""});
    build();
    const ColorScheme &c = m_ctx->colors;
    auto *run = control<CoolButton>(QStringLiteral("btnCJ0"));
    auto *add = control<CoolButton>(QStringLiteral("btnCJ3"));
    auto *pic = control<PanelBox>(QStringLiteral("CJPic1"));
    QCOMPARE(m_panel->frameColor(run), c.NormLineColor);
    QCOMPARE(pic->frameColor(add), c.NormLineColor);
    Q_EMIT add->MouseMove(Qt::NoButton, Qt::NoModifier, 1, 1);
    QCOMPARE(pic->frameColor(add), c.HotLineColor);
    QCOMPARE(add->buttonBackColor(), c.HotBackColor);
    // A click that ends in a message leaves the frame at rest.
    m_panel->btnCJ_Click(3);
    QCOMPARE(pic->frameColor(add), c.NormLineColor);
    QCOMPARE(add->buttonBackColor(), pic->backColor());
    Q_EMIT run->MouseMove(Qt::NoButton, Qt::NoModifier, 1, 1);
    QCOMPARE(m_panel->frameColor(run), c.HotLineColor);
    Q_EMIT run->MouseOut();
    QCOMPARE(m_panel->frameColor(run), c.NormLineColor);
}

QTEST_MAIN(TestPluginPanel)
#include "tst_pluginpanel.moc"
