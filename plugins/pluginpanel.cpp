#include "pluginpanel.h"

#include "pluginfile.h"

#include "shell/core/colorscheme.h"
#include "shell/core/dialogs.h"
#include "shell/core/launcher.h"
#include "shell/core/programpaths.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/labelname.h"
#include "shell/widgets/panelbox.h"
#include "shell/widgets/panelcontext.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace {

const QString kPluginDir = QStringLiteral("\\Plugin");
const QString kInvalidName = QStringLiteral("插件名称或路径无效！");
const QString kEmptyName = QStringLiteral("插件名称与路径均不可为空！");

// Linux programs carry no ".EXE", so the file dialog offers every file first.
#ifdef Q_OS_WIN
const QString kProgramFilter = QStringLiteral("*.EXE(可执行文件) (*.EXE);;所有文件 (*)");
#else
const QString kProgramFilter = QStringLiteral("所有文件 (*);;*.EXE(可执行文件) (*.EXE *.exe)");
#endif
const QString kDescriptionFilter = QStringLiteral("*.INI(『Zantoria』插件配置文件) (*.INI *.ini)");

const std::array<const char *, 6> kButtonCaptions = {"运行所选插件", "保存修改", "修改另存",
                                                     "添    加",     "清    空", "卸载所选插件"};
const std::array<const char *, 4> kFieldCaptions = {"名称：", "版本：", "路径：", "功能简介："};

// Where everything sits on the 417 × 385 panel: the count and the list on
// top, run and remove under it, then the two groups side by side, each with
// its option above it (an option inside its own group would be disabled with
// the group and could never switch back).
const QRect kCountRect(6, 3, 405, 18);
const QRect kListRect(4, 22, 409, 114);
const QRect kButtonRects[6] = {QRect(5, 144, 198, 24), QRect(5, 13, 86, 24),  QRect(100, 13, 86, 24),
                               QRect(5, 13, 86, 24),   QRect(100, 13, 86, 24), QRect(214, 144, 198, 24)};
const QRect kOptionRects[2] = {QRect(8, 176, 196, 20), QRect(215, 176, 196, 20)};
const QRect kFrameRects[2] = {QRect(4, 198, 202, 184), QRect(211, 198, 202, 184)};
const QRect kPicRect(6, 128, 190, 48);
constexpr int kFieldTop = 18;
constexpr int kFieldStep = 27;

// A description file's name without its last four characters.
QString baseName(const QString &fileName)
{
    return fileName.chopped(qMin<qsizetype>(4, fileName.size()));
}

// The entry a description file gets: its base name, a TAB, and where its
// program lies.
QString listEntry(const QString &fileName, const QString &path)
{
    return baseName(fileName) + u'\t' + QStringLiteral("[位置:") + path + u']';
}

} // namespace

PluginPanel::PluginPanel(PanelContext &context, QWidget *parent)
    : ContentPanel(context, parent)
{
    buildControls();
    connectControls();
}

QLineEdit *PluginPanel::addField(QGroupBox *frame, int row, const QString &objectName, QLabel *label)
{
    const int top = kFieldTop + row * kFieldStep;
    label->setParent(frame);
    label->setGeometry(8, top + 2, 62, 18);
    auto *field = new QLineEdit(frame);
    field->setObjectName(objectName);
    // The path leaves room for its "…" button.
    field->setGeometry(70, top, row == 2 ? 98 : 124, 22);
    label->setBuddy(field);
    field->setAccessibleName(LabelName(label->text()));
    return field;
}

void PluginPanel::buildControls()
{
    lblCJ[0] = new QLabel(QStringLiteral("现在共有插件＊＊个"), this);
    lblCJ[0]->setObjectName(QStringLiteral("lblCJ0"));
    lblCJ[0]->setGeometry(kCountRect);

    lstCJ = new QListWidget(this);
    lstCJ->setObjectName(QStringLiteral("lstCJ"));
    lstCJ->setGeometry(kListRect);
    lstCJ->setMouseTracking(true);
    lstCJ->viewport()->installEventFilter(this);
    lstCJ->setAccessibleName(QStringLiteral("插件列表"));

    const char *optionCaptions[2] = {"编辑当前插件信息", "添加新插件"};
    for (int i = 0; i < 2; ++i) {
        chkCJ[i] = new QRadioButton(QString::fromUtf8(optionCaptions[i]), this);
        chkCJ[i]->setObjectName(QStringLiteral("chkCJ%1").arg(i));
        chkCJ[i]->setGeometry(kOptionRects[i]);
        frameCJ[i] = new QGroupBox(this);
        frameCJ[i]->setObjectName(QStringLiteral("frameCJ%1").arg(i));
        frameCJ[i]->setGeometry(kFrameRects[i]);
        frameCJ[i]->setAccessibleName(chkCJ[i]->text());
    }
    chkCJ[1]->setChecked(true);

    QLineEdit **fields[2][4] = {{&CJCName, &CJCVer, &CJCPath, &CJCDes}, {&CJNName, &CJNVer, &CJNPath, &CJNDes}};
    const char *fieldNames[2][4] = {{"CJCName", "CJCVer", "CJCPath", "CJCDes"},
                                    {"CJNName", "CJNVer", "CJNPath", "CJNDes"}};
    for (int group = 0; group < 2; ++group) {
        for (int row = 0; row < 4; ++row) {
            const int element = 1 + group * 4 + row;
            lblCJ[element] = new QLabel(QString::fromUtf8(kFieldCaptions[std::size_t(row)]));
            lblCJ[element]->setObjectName(QStringLiteral("lblCJ%1").arg(element));
            *fields[group][row] = addField(frameCJ[group], row, QString::fromLatin1(fieldNames[group][row]),
                                           lblCJ[element]);
        }
        cmdCJ[group] = new QPushButton(QStringLiteral("…"), frameCJ[group]);
        cmdCJ[group]->setObjectName(QStringLiteral("cmdCJ%1").arg(group));
        cmdCJ[group]->setGeometry(170, kFieldTop + 2 * kFieldStep, 24, 22);
        cmdCJ[group]->setAccessibleName(QStringLiteral("选择路径"));
        cmdCJ[group]->setToolTip(QStringLiteral("选择插件的可执行文件"));
        CJPic[group] = new PanelBox(frameCJ[group]);
        CJPic[group]->setObjectName(QStringLiteral("CJPic%1").arg(group));
        CJPic[group]->setGeometry(kPicRect);
    }

    for (int i = 0; i < 6; ++i) {
        QWidget *holder = i == 1 || i == 2 ? CJPic[0] : i == 3 || i == 4 ? CJPic[1] : static_cast<QWidget *>(this);
        btnCJ[i] = new CoolButton(QString::fromUtf8(kButtonCaptions[std::size_t(i)]), holder);
        btnCJ[i]->setObjectName(QStringLiteral("btnCJ%1").arg(i));
        btnCJ[i]->setGeometry(kButtonRects[i]);
    }
}

void PluginPanel::connectControls()
{
    // The selection, not the current row: a click makes an entry current
    // before it selects it.
    connect(lstCJ, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedPosition() >= 0)
            lstCJ_Click();
    });
    // A double click, or Enter for those who use the keyboard.
    connect(lstCJ, &QListWidget::itemActivated, this, [this] { lstCJ_DblClick(); });
    for (int i = 0; i < 2; ++i) {
        connect(chkCJ[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                chkCJ_Click(i);
        });
        connect(cmdCJ[i], &QPushButton::clicked, this, [this, i] { cmdCJ_Click(i); });
    }
    // NewCJ always holds the add-new fields, trimmed.
    const std::pair<QLineEdit *, QString CJInfo::*> newFields[] = {
        {CJNName, &CJInfo::Name}, {CJNVer, &CJInfo::Version}, {CJNPath, &CJInfo::Path}, {CJNDes, &CJInfo::Description}};
    for (const auto &[field, member] : newFields) {
        connect(field, &QLineEdit::textChanged, this,
                [this, member](const QString &text) { NewCJ.*member = TrimBlanks(text); });
    }
    for (int i = 0; i < 6; ++i)
        connect(btnCJ[i], &CoolButton::Click, this, [this, i] { btnCJ_Click(i); });
}

bool PluginPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && watched == lstCJ->viewport())
        lstCJ_MouseMove();
    return ContentPanel::eventFilter(watched, event);
}

void PluginPanel::initCJ()
{
    CJDir = context().places.data(kPluginDir);
    CJRefresh();
    chooseAddNew();

    setGeometry(5, 5, 417, 385);
    const ColorScheme &colors = *context().colors;
    for (QWidget *w : std::initializer_list<QWidget *>{this, chkCJ[0], chkCJ[1], frameCJ[0], frameCJ[1], cmdCJ[0],
                                                      cmdCJ[1], CJPic[0], CJPic[1]})
        letBackColor(w, colors);

    FixCaption(*btnCJ[1]);
    FixCaption(*btnCJ[2]);
    wireHoverFrame(CJPic[0], btnCJ[1], colors);
    wireHoverFrame(CJPic[0], btnCJ[2], colors);
    for (int i : {0, 5}) {
        btnCJ[i]->setCaption(PadCaption(btnCJ[i]->caption()));
        FixCaption(*btnCJ[i]);
        wireHoverFrame(this, btnCJ[i], colors);
    }
    FixCaption(*btnCJ[3]);
    FixCaption(*btnCJ[4]);
    wireHoverFrame(CJPic[1], btnCJ[3], colors);
    wireHoverFrame(CJPic[1], btnCJ[4], colors);
    hide();
}

void PluginPanel::CJRefresh()
{
    InitCJList(0);
}

QStringList PluginPanel::listFiles() const
{
    // "*.ini" in any letter case, as the file system of the original matched
    // it, so "x.INI" written by save-as is listed too.
    QDir dir(CJDir);
    dir.setNameFilters({QStringLiteral("*.ini")});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

void PluginPanel::InitCJList(int position)
{
    m_files = listFiles();
    const int n = int(m_files.size());
    if (n > 0) {
        btnCJ[5]->setEnabled(true);
        chkCJ[0]->setEnabled(true);
    } else {
        btnCJ[5]->setEnabled(false);
        chooseAddNew();
        chkCJ[0]->setEnabled(false);
        for (QLineEdit *field : {CJCName, CJCVer, CJCPath, CJCDes})
            field->clear();
        CurCJ = currentFields();
    }

    {
        const QSignalBlocker quiet(lstCJ); // emptying the list is no selection
        lstCJ->clear();
    }
    for (const QString &file : m_files) {
        ReadCJFile(CJDir + u'/' + file);
        lstCJ->addItem(listEntry(file, ReadCJ.Path));
    }
    if (position >= 0 && position < n)
        lstCJ->setCurrentRow(position);

    lblCJ[0]->setText(QStringLiteral("现在共有插件*个").replace(u'*', QString::number(n)));
}

int PluginPanel::selectedPosition() const
{
    const QList<QListWidgetItem *> selected = lstCJ->selectedItems();
    const int row = selected.isEmpty() ? -1 : lstCJ->row(selected.first());
    return row < m_files.size() ? row : -1;
}

int PluginPanel::filePosition(const QString &fileName) const
{
    return int(m_files.indexOf(fileName));
}

void PluginPanel::lstCJ_Click()
{
    const int row = selectedPosition();
    if (row < 0)
        return;
    ReadCJFile(CJDir + u'/' + m_files[row]);
    CurCJ = ReadCJ;
    m_curFormat = m_readFormat;
    CJCName->setText(CurCJ.Name);
    CJCVer->setText(CurCJ.Version);
    CJCPath->setText(CurCJ.Path);
    CJCDes->setText(CurCJ.Description);
    // A long path or description shows its beginning, not its end.
    for (QLineEdit *field : {CJCName, CJCVer, CJCPath, CJCDes})
        field->setCursorPosition(0);
}

void PluginPanel::lstCJ_DblClick()
{
    btnCJ_Click(0);
}

void PluginPanel::lstCJ_MouseMove()
{
    const QListWidgetItem *item = lstCJ->currentItem();
    lstCJ->setToolTip(item ? item->text() : QString());
}

void PluginPanel::chooseAddNew()
{
    // Ticking the option runs its handler (through toggled); one that is
    // ticked already (as it is when the panel is built) runs it directly.
    if (chkCJ[1]->isChecked())
        chkCJ_Click(1);
    else
        chkCJ[1]->setChecked(true);
}

void PluginPanel::chkCJ_Click(int index)
{
    if (index == 0 && chkCJ[0]->isChecked()) {
        CJActCur(true);
        CJActNew(false);
    } else if (index == 1 && chkCJ[1]->isChecked()) {
        CJActNew(true);
        CJActCur(false);
    }
}

void PluginPanel::CJActCur(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{lblCJ[1], lblCJ[2], lblCJ[3], lblCJ[4], btnCJ[1], btnCJ[2],
                                                      CJCName, CJCVer, CJCPath, CJCDes, cmdCJ[0], frameCJ[0]})
        w->setEnabled(enabled);
    lstCJ->setEnabled(!enabled);
    btnCJ[0]->setEnabled(!enabled);
}

void PluginPanel::CJActNew(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{lblCJ[5], lblCJ[6], lblCJ[7], lblCJ[8], btnCJ[3], btnCJ[4],
                                                      CJNName, CJNVer, CJNPath, CJNDes, cmdCJ[1], frameCJ[1]})
        w->setEnabled(enabled);
    lstCJ->setEnabled(enabled);
    btnCJ[0]->setEnabled(enabled);
}

void PluginPanel::cmdCJ_Click(int index)
{
    if (m_busy || index < 0 || index > 1)
        return;
    const std::optional<QString> chosen = context().dialogs->openFile(kProgramFilter, QString());
    if (!chosen || TrimBlanks(*chosen).isEmpty())
        return;
    (index == 0 ? CJCPath : CJNPath)->setText(*chosen);
}

int PluginPanel::FindCJNameInd(const QString &name) const
{
    const QString wanted = TrimBlanks(name);
    for (int i = 0; i < m_files.size(); ++i) {
        if (TrimBlanks(baseName(m_files[i])) == wanted)
            return i;
    }
    return 0;
}

void PluginPanel::ReadCJFile(const QString &path)
{
    ReadCJ = PluginFile::ReadCJFile(path, context().places.programDir(), *context().dialogs, &m_readFormat);
}

bool PluginPanel::WriteCJCurFile(const QString &path)
{
    return PluginFile::WriteCJFile(path, CurCJ, *context().dialogs);
}

bool PluginPanel::WriteCJNewFile(const QString &path)
{
    return PluginFile::WriteCJFile(path, NewCJ, *context().dialogs);
}

QString PluginPanel::descriptionPath(const QString &name) const
{
    return ProgramPaths::resolve(CJDir, name + QStringLiteral(".ini"));
}

QString PluginPanel::absolutePluginPath(const QString &path) const
{
    if (QFileInfo(path).isAbsolute())
        return path;
    return ProgramPaths::resolve(context().places.programDir(), path);
}

CJInfo PluginPanel::currentFields() const
{
    return {TrimBlanks(CJCName->text()), TrimBlanks(CJCVer->text()), TrimBlanks(CJCPath->text()),
            TrimBlanks(CJCDes->text())};
}

bool PluginPanel::namesAreValid(const QString &name, const QString &path, const CJInfo &values) const
{
    // A name is a file name in the plug-in directory, never a way out of it
    // ("../Skin/Default/Skin" would overwrite the skin), and no value may
    // break the five lines of the file.
    if (name.contains(u'/') || name.contains(u'\\') || PluginFile::holdsLineBreak(values)
        || PluginFile::holdsLineBreak(name) || PluginFile::holdsLineBreak(path))
        return false;
    // A plug-in directory nobody may write is no fault of the name: the
    // write then fails and says why.
    const bool nameFits = CanWritePath(descriptionPath(name)) || !QFileInfo(CJDir).isWritable();
    return nameFits && !path.isEmpty() && CanWritePath(absolutePluginPath(path));
}

void PluginPanel::showInvalidName()
{
    context().dialogs->message(kInvalidName, Strings::kHintTitle, Dialogs::Icon::Information);
}

void PluginPanel::showEmptyName()
{
    context().dialogs->message(kEmptyName, Strings::kHintTitle, Dialogs::Icon::Information);
}

void PluginPanel::btnCJ_Click(int index)
{
    if (m_busy || index < 0 || index > 5)
        return;
    m_busy = true;
    bool rebuilt = false;
    // Each action runs under its own trap: an unexpected failure shows the
    // action's own message and ends the action.
    try {
        switch (index) {
        case 0:
            runSelected();
            break;
        case 1:
            rebuilt = saveInPlace();
            break;
        case 2:
            saveAs();
            break;
        case 3:
            rebuilt = addNew();
            break;
        case 4:
            clearNewFields();
            break;
        case 5:
            removeSelected();
            break;
        }
    } catch (...) {
        rebuilt = false;
        reportFailure(index);
    }
    m_busy = false;
    // A dialog took the pointer away without the button seeing it leave.
    if (!rebuilt) {
        PanelBox *holder = index == 1 || index == 2 ? CJPic[0] : index == 3 || index == 4 ? CJPic[1] : this;
        restHoverFrame(holder, btnCJ[std::size_t(index)], *context().colors);
    }
}

void PluginPanel::reportFailure(int index)
{
    struct Failure
    {
        const char *text;
        const char *title;
        Dialogs::Icon icon;
    };
    static constexpr Failure kFailures[] = {
        {"运行插件时出现错误，可能是插件文件找不到或是已经损坏！", "运行插件失败：（", Dialogs::Icon::Information},
        {"保存修改时出现错误！", "保存修改失败：（", Dialogs::Icon::Information},
        {"保存时出现错误！", "保存文件出错了：（", Dialogs::Icon::Critical},
        {"添加配置文件时出现错误！", "添加文件出错了：（", Dialogs::Icon::Critical},
        {nullptr, nullptr, Dialogs::Icon::None}, // emptying the fields has none
        {"卸载配置文件时出现错误！", "卸载失败：（", Dialogs::Icon::Critical},
    };
    const Failure &failure = kFailures[std::size_t(index)];
    if (failure.text)
        context().dialogs->message(QString::fromUtf8(failure.text), QString::fromUtf8(failure.title), failure.icon);
}

void PluginPanel::runSelected()
{
    if (CurCJ.Path.isEmpty()) {
        reportFailure(0);
        return;
    }
    // Only a regular file is a program; a directory or a device is as good
    // as missing.
    const QString program = absolutePluginPath(CurCJ.Path);
    if (!QFileInfo(program).isFile()) {
        context().dialogs->message(QStringLiteral("找不到插件文件[") + CurCJ.Name + QStringLiteral("]所对应的可执行文件")
                                       + QStringLiteral("\r\n") + CurCJ.Path,
                                   QStringLiteral("插件运行失败：O"), Dialogs::Icon::Information);
        return;
    }
    if (!context().launcher->startProgram(QFileInfo(program).absoluteFilePath()))
        reportFailure(0);
}

bool PluginPanel::saveInPlace()
{
    const int selected = selectedPosition();
    if (selected < 0)
        return false;
    // The untrimmed texts are checked first, so an empty Path is invalid
    // before it is empty.
    const CJInfo raw {CJCName->text(), CJCVer->text(), CJCPath->text(), CJCDes->text()};
    if (!namesAreValid(raw.Name, raw.Path, raw)) {
        showInvalidName();
        return false;
    }
    const CJInfo edited = currentFields();
    if (edited.Name.isEmpty() || edited.Path.isEmpty()) {
        showEmptyName();
        return false;
    }
    const QString oldFile = m_files[selected];
    const QString oldPath = CJDir + u'/' + oldFile;
    const QString newPath = descriptionPath(edited.Name);
    // One file in any letter case, as on the system the files come from.
    const bool sameFile = QFileInfo(newPath).fileName().compare(oldFile, Qt::CaseInsensitive) == 0;
    if (!sameFile && QFileInfo::exists(newPath)
        && !context().dialogs->question(QStringLiteral("插件配置文件[") + edited.Name
                                            + QStringLiteral("]已经存在，是否覆盖？"),
                                        Strings::kHintTitle, Dialogs::Icon::Question))
        return false;

    if (sameFile && m_curFormat.replacedBytes
        && !context().dialogs->question(Strings::replacedBytesQuestion(QDir::toNativeSeparators(oldPath)),
                                        Strings::kHintTitle, Dialogs::Icon::Question))
        return false;
    CurCJ = edited;
    // The new description is written before the old one goes, so a failed
    // write loses nothing. In place it keeps the format it was read in; under
    // a new name it is a new file.
    const bool written = sameFile ? PluginFile::WriteCJFile(oldPath, CurCJ, *context().dialogs, m_curFormat)
                                  : WriteCJCurFile(newPath);
    if (written && sameFile)
        m_curFormat.replacedBytes = false;
    if (written && !sameFile && !QFile::remove(oldPath))
        context().dialogs->message(QStringLiteral("保存修改时出现错误！"), QStringLiteral("保存修改失败：（"),
                                   Dialogs::Icon::Information);

    m_files = listFiles();
    const int position = written ? filePosition(QFileInfo(sameFile ? oldPath : newPath).fileName())
                                 : filePosition(oldFile);
    InitCJList(position >= 0 ? position : FindCJNameInd(CurCJ.Name));
    return written;
}

void PluginPanel::saveAs()
{
    const CJInfo record = currentFields();
    if (!namesAreValid(record.Name, record.Path, record)) {
        showInvalidName();
        return;
    }
    if (record.Name.isEmpty() || record.Path.isEmpty()) {
        showEmptyName();
        return;
    }
    const std::optional<QString> chosen = context().dialogs->saveFile(kDescriptionFilter, QString());
    QString name = chosen ? TrimBlanks(*chosen) : QString();
    if (name.isEmpty())
        return;
    // The extension rule looks at the file's own name: "x.ini" and "x.Ini"
    // stay, anything else (a bare ".ini" too) gets ".INI".
    const QString fileName = QFileInfo(name).fileName();
    if (!(fileName.size() > 4 && fileName.right(4).toLower() == QLatin1String(".ini")))
        name += QStringLiteral(".INI");
    if (QFileInfo(name).isRelative())
        name = CJDir + u'/' + name;
    if (QFileInfo::exists(name)
        && !context().dialogs->question(QStringLiteral("文件") + QDir::toNativeSeparators(name)
                                            + QStringLiteral("已经存在，是否覆盖？"),
                                        Strings::kHintTitle, Dialogs::Icon::Question))
        return;
    PluginFile::WriteCJFile(name, record, *context().dialogs);
}

bool PluginPanel::addNew()
{
    if (!namesAreValid(NewCJ.Name, NewCJ.Path, NewCJ)) {
        showInvalidName();
        return false;
    }
    if (NewCJ.Name.isEmpty() || NewCJ.Path.isEmpty()) {
        showEmptyName();
        return false;
    }
    const QString path = descriptionPath(NewCJ.Name);
    const bool existed = QFileInfo::exists(path);
    if (existed
        && !context().dialogs->question(QStringLiteral("插件配置文件[") + NewCJ.Name
                                            + QStringLiteral("]已经存在，是否覆盖？"),
                                        Strings::kHintTitle, Dialogs::Icon::Question))
        return false;
    const bool written = WriteCJNewFile(path);

    // The plug-in selected before stays selected, found by its file.
    const int selected = selectedPosition();
    const QString selectedFile = selected >= 0 ? m_files[selected] : QString();
    m_files = listFiles();
    const int position = filePosition(selectedFile);
    InitCJList(position >= 0 ? position : FindCJNameInd(CurCJ.Name));
    return written && !existed;
}

void PluginPanel::clearNewFields()
{
    if (!context().dialogs->question(QStringLiteral("真的要清空吗？"), Strings::kHintTitle, Dialogs::Icon::Question))
        return;
    for (QLineEdit *field : {CJNName, CJNVer, CJNPath, CJNDes})
        field->clear();
}

void PluginPanel::removeSelected()
{
    const int selected = selectedPosition();
    if (m_files.isEmpty() || selected < 0)
        return;
    if (!context().dialogs->question(QStringLiteral("真的要卸载所选的插件吗？"), Strings::kHintTitle,
                                     Dialogs::Icon::Question))
        return;
    // Only the description goes; the plug-in's own program stays on disk.
    if (!QFile::remove(CJDir + u'/' + m_files[selected])) {
        context().dialogs->message(QStringLiteral("卸载配置文件时出现错误！"), QStringLiteral("卸载失败：（"),
                                   Dialogs::Icon::Critical);
        return;
    }
    InitCJList(selected > 0 ? selected - 1 : 0);
}
