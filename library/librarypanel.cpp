#include "librarypanel.h"

#include "tipsearch.h"

#include "shell/core/colorscheme.h"
#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/labelname.h"
#include "shell/widgets/panelcontext.h"

#include <QDir>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include <cmath>

namespace {

const QString kNewTitle = QStringLiteral("新建秘笈");
const QString kNewFailedTitle = QStringLiteral("新建秘笈失败：（");
const QString kRenameTitle = QStringLiteral("秘笈更名");
const QString kRenameFailedTitle = QStringLiteral("秘笈更名失败：（");
const QString kDeleteFailedTitle = QStringLiteral("秘笈删除失败：（");
const QString kReadFailedTitle = QStringLiteral("读取秘笈文件失败：（");
const QString kSaveFailedTitle = QStringLiteral("保存秘笈失败：（");
const QString kBlankName = QStringLiteral("秘笈名称不可全为空格或是为空！");
const QString kBadCharacter = QStringLiteral("文件名中不可以出现如下的字符：");
const QString kNamePrompt = QStringLiteral("请输入秘笈名称，如『Morvenna的秘笈』：");
const QString kNewNamePrompt = QStringLiteral("请输入更改后的秘笈名称，如『Morvenna的秘笈』：");
const QString kContentCaption = QStringLiteral("秘笈内容：");
const QString kFavouritesCaption = QStringLiteral("『我的最爱』内容：");
const QString kCrLf = QStringLiteral("\r\n");
const QString kNameCaption = QStringLiteral("秘笈名称：");
const QString kHitsCaption = QStringLiteral("搜索结果：");

constexpr float kDefaultFontSize = 10.5f;
// A size beyond any screen; the box's "1～72" is advice only.
constexpr double kMaxFontSize = 400;

// Where everything sits on the 417 × 385 panel: kind, names and the buttons
// that act on tips down the left, the view with its caption, lock and font
// size filling the right.
const QRect kTypeLabelRect(6, 5, 124, 16);
const QRect kStyleFrameRect(4, 21, 126, 32);
const QRect kStyleOptionRects[2] = {QRect(10, 7, 52, 18), QRect(68, 7, 52, 18)};
const QRect kNameLabelRect(6, 58, 124, 16);
const QRect kSearchRect(4, 75, 126, 21);
const QRect kListRect(4, 99, 126, 175);
const QRect kTextLabelRect(138, 5, 275, 16);
const QRect kViewRect(136, 23, 277, 332);
const QRect kReadOnlyRect(138, 363, 110, 18);
const QRect kNewRect(5, 280, 124, 22);
const QRect kRenameRect(5, 307, 124, 22);
const QRect kDeleteRect(5, 334, 124, 22);
const QRect kFavourRect(5, 361, 124, 22);
const QRect kFontRect(313, 361, 99, 22);

QString contentCaption(const QString &name)
{
    return QStringLiteral("秘笈『") + name + QStringLiteral("』内容：");
}

// A hit as the hits list shows it: its kind, then its name.
QString hitText(const TipHit &hit)
{
    switch (hit.source) {
    case TipSource::Pictures:
        return QStringLiteral("〔图片〕") + hit.name;
    case TipSource::Words:
        return QStringLiteral("〔文字〕") + hit.name;
    case TipSource::Favourites:
        break;
    }
    return QStringLiteral("〔最爱〕") + hit.name;
}

constexpr int kSourceRole = Qt::UserRole + 1;

QString fontSizeText(float size)
{
    return QString::number(double(size), 'g', 7);
}

} // namespace

LibraryPanel::LibraryPanel(PanelContext &context, QWidget *parent)
    : ContentPanel(context, parent)
    , m_store(context.places.dataDir())
{
    buildControls();
    connectControls();
}

void LibraryPanel::buildControls()
{
    lblMJType = new QLabel(QStringLiteral("秘笈类别："), this);
    lblMJType->setObjectName(QStringLiteral("lblMJType"));
    lblMJType->setGeometry(kTypeLabelRect);

    frameMJStyle = new QGroupBox(this);
    frameMJStyle->setObjectName(QStringLiteral("frameMJStyle"));
    frameMJStyle->setGeometry(kStyleFrameRect);
    frameMJStyle->setAccessibleName(LabelName(lblMJType->text()));
    const char *kindCaptions[2] = {"图片", "文字"};
    for (int i = 0; i < 2; ++i) {
        optMJStyle[i] = new QRadioButton(QString::fromUtf8(kindCaptions[i]), frameMJStyle);
        optMJStyle[i]->setObjectName(QStringLiteral("optMJStyle%1").arg(i));
        optMJStyle[i]->setGeometry(kStyleOptionRects[i]);
    }

    lblMJName = new QLabel(kNameCaption, this);
    lblMJName->setObjectName(QStringLiteral("lblMJName"));
    lblMJName->setGeometry(kNameLabelRect);
    lstPicType = new QListWidget(this);
    lstPicType->setObjectName(QStringLiteral("lstPicType"));
    lstPicType->setGeometry(kListRect);
    lstPicType->setAccessibleName(LabelName(lblMJName->text()));
    lblMJName->setBuddy(lstPicType);

    txtMJSearch = new QLineEdit(this);
    txtMJSearch->setObjectName(QStringLiteral("txtMJSearch"));
    txtMJSearch->setGeometry(kSearchRect);
    txtMJSearch->setPlaceholderText(QStringLiteral("搜索：文字或拼音"));
    txtMJSearch->setAccessibleName(QStringLiteral("搜索秘笈"));
    txtMJSearch->setToolTip(QStringLiteral("在图片、文字和『我的最爱』的名称与内容中搜索，汉字、全拼、首字母都可以，如“sr”找到“生日”：）"));
    txtMJSearch->setClearButtonEnabled(true);
    for (QToolButton *clear : txtMJSearch->findChildren<QToolButton *>())
        clear->setAccessibleName(QStringLiteral("清空搜索"));
    lstMJHits = new QListWidget(this);
    lstMJHits->setObjectName(QStringLiteral("lstMJHits"));
    lstMJHits->setGeometry(kListRect);
    lstMJHits->setAccessibleName(LabelName(kHitsCaption));
    lstMJHits->hide();

    lblMJText = new QLabel(kContentCaption, this);
    lblMJText->setObjectName(QStringLiteral("lblMJText"));
    lblMJText->setGeometry(kTextLabelRect);
    textPicView = new DisplayArea(this);
    textPicView->setObjectName(QStringLiteral("textPicView"));
    textPicView->setGeometry(kViewRect);
    textPicView->setToolTip(QStringLiteral("选中文本后，可以用Zantoria Tool Panel中的快捷按钮进行相关操作：)"));
    lblMJText->setBuddy(textPicView);
    setContentCaption(kContentCaption);

    chkMJReadOnly = new QCheckBox(QStringLiteral("只读模式"), this);
    chkMJReadOnly->setObjectName(QStringLiteral("chkMJReadOnly"));
    chkMJReadOnly->setGeometry(kReadOnlyRect);
    chkMJReadOnly->setChecked(true);

    const auto button = [this](const char *caption, const char *name, const QRect &rect) {
        auto *b = new CoolButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(rect);
        return b;
    };
    btnNewMJ = button("新建秘笈", "btnNewMJ", kNewRect);
    btnMJReName = button("秘笈更名", "btnMJReName", kRenameRect);
    btnMJDel = button("删除秘笈", "btnMJDel", kDeleteRect);
    btnMyFavor = button("我的最爱", "btnMyFavor", kFavourRect);
    btnMJSetFont = button("字体大小", "btnMJSetFont", kFontRect);
}

void LibraryPanel::connectControls()
{
    for (int i = 0; i < 2; ++i) {
        connect(optMJStyle[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optMJStyle_Click(i);
        });
    }
    // The current row, not a click: a refill selects by program and must
    // read the tip it selects just as a click does.
    connect(lstPicType, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstPicType_Click();
    });
    connect(textPicView, &DisplayArea::Change, this, &LibraryPanel::textPicView_Change);
    connect(chkMJReadOnly, &QCheckBox::toggled, this, &LibraryPanel::chkMJReadOnly_Click);
    connect(btnNewMJ, &CoolButton::Click, this, &LibraryPanel::btnNewMJ_Click);
    connect(btnMJReName, &CoolButton::Click, this, &LibraryPanel::btnMJReName_Click);
    connect(btnMJDel, &CoolButton::Click, this, &LibraryPanel::btnMJDel_Click);
    connect(btnMJSetFont, &CoolButton::Click, this, &LibraryPanel::btnMJSetFont_Click);
    connect(btnMyFavor, &CoolButton::Click, this, &LibraryPanel::btnMyFavor_Click);
    connect(&context(), &PanelContext::favouritesChanged, this, &LibraryPanel::favourites_Changed);

    connect(txtMJSearch, &QLineEdit::textChanged, this, &LibraryPanel::txtMJSearch_Change);
    connect(lstMJHits, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstMJHits_Click();
    });
    m_search = new TipSearch(m_store, this);
    // A search typed while the index was built is answered once it is, and
    // hits shown follow every change to the library.
    connect(m_search, &TipSearch::ready, this, [this] {
        if (m_searching)
            showHits();
    });
    // Later, not in the middle of the pick or save that changed the tip:
    // the hits list may be the one whose signal is running.
    connect(m_search, &TipSearch::changed, this, [this] {
        if (m_searching)
            showHits();
    }, Qt::QueuedConnection);
}

void LibraryPanel::InitCCMJ()
{
    MJTextModified = false;
    textPicView->setFont(Fonts::crispFont(Fonts::kSongTi, kDefaultFontSize));
    textPicView->setFontPointSize(kDefaultFontSize);
    CurMJName.clear();
    // The box starts checked, so the view starts locked as the box says.
    SetTextPicViewLocked();

    const ColorScheme &colors = *context().colors;
    for (QRadioButton *option : optMJStyle)
        letBackColor(option, colors);
    {
        const QSignalBlocker quiet(optMJStyle[0]);
        optMJStyle[0]->setChecked(true);
    }
    optMJStyle_Click(0);

    MJNameBadChars = QStringLiteral("\\/:*?") + u'"' + QStringLiteral("<>|");

    setGeometry(5, 5, 417, 385);
    hide();
    letBackColor(this, colors);
    letBackColor(chkMJReadOnly, colors);
    letBackColor(frameMJStyle, colors);
    for (CoolButton *b : {btnNewMJ, btnMJDel, btnMJReName, btnMJSetFont, btnMyFavor}) {
        FixCaption(*b);
        wireHoverFrame(this, b, colors);
    }
    m_search->start();
}

void LibraryPanel::InitLstPicType(int position)
{
    const QList<TipEntry> tips = m_store.list(selectedKind());
    {
        const QSignalBlocker quiet(lstPicType);
        lstPicType->clear();
        for (const TipEntry &tip : tips) {
            auto *item = new QListWidgetItem(tip.name, lstPicType);
            item->setData(Qt::UserRole, tip.fileName);
        }
    }
    // The list is without a current row now, so any position selected here
    // is a change and reads its tip.
    if (position >= 0 && position < lstPicType->count())
        lstPicType->setCurrentRow(position);
}

void LibraryPanel::lstPicType_Click()
{
    const QListWidgetItem *item = lstPicType->currentItem();
    if (!item)
        return;
    ReadPicData(m_store.path(selectedKind(), item->data(Qt::UserRole).toString()));
    lstPicType->setToolTip(item->text());
}

bool LibraryPanel::ReadPicData(const QString &path)
{
    return showFile(path, Shows::Tip);
}

bool LibraryPanel::showFile(const QString &path, Shows what)
{
    // A failed save has said so; the edited text stays shown.
    if (!SaveModifiedText())
        return false;
    QString text;
    TextCodec::Format format;
    if (const TipOutcome read = TipStore::read(path, &text, &format); read != TipOutcome::Done)
        return readFailed(read);
    m_shownFormat = format;
    const QListWidgetItem *selected = lstPicType->currentItem();
    const QString name = selected ? selected->text() : QString();
    textPicView->setText(text);
    setContentCaption(contentCaption(name));
    MJTextModified = false;
    CurMJName = name;
    m_shows = what;
    if (what == Shows::Tip) {
        m_shownKind = selectedKind();
        m_shownFile = QFileInfo(path).fileName();
    } else {
        m_shownFile.clear();
        m_favouritesShown = text;
    }
    AbledMJBtn(true);
    return true;
}

bool LibraryPanel::readFailed(TipOutcome outcome)
{
    if (outcome == TipOutcome::TooLarge) {
        context().dialogs->message(QStringLiteral("秘笈文件太大了，最多只能显示%1MB的文件！")
                                       .arg(TipStore::kMaxFileBytes / (1024 * 1024)),
                                   kReadFailedTitle, Dialogs::Icon::Exclamation);
    } else {
        context().dialogs->message(QStringLiteral("在读取秘笈文件时出现错误！"), kReadFailedTitle,
                                   Dialogs::Icon::Exclamation);
    }
    return false;
}

bool LibraryPanel::SaveModifiedText()
{
    if (!MJTextModified || m_shows == Shows::Nothing)
        return true; // with nothing shown there is no file the text belongs to
    if (!context().dialogs->question(QStringLiteral("秘笈内容已经被修改！") + kCrLf + QStringLiteral("是否保存修改？"),
                                     QStringLiteral("系统提示"), Dialogs::Icon::Question))
        return true;
    if (m_shows == Shows::Tip)
        return saveShownText(m_store.path(m_shownKind, m_shownFile));
    // The favourites grow by appends from the tool panel; writing the view
    // back over an entry added since it was shown would lose that entry.
    const QString path = m_store.favouritesPath();
    QString now;
    if (TipStore::read(path, &now) != TipOutcome::Done || now != m_favouritesShown) {
        context().dialogs->message(
            QStringLiteral("『我的最爱』在显示以后又有了变化，为了不覆盖新的内容，这次的修改没有写回！"),
            Strings::kHintTitle, Dialogs::Icon::Information);
        return true;
    }
    return saveShownText(path);
}

bool LibraryPanel::saveShownText(const QString &path)
{
    if (m_shownFormat.replacedBytes
        && !context().dialogs->question(Strings::replacedBytesQuestion(path), Strings::kHintTitle,
                                        Dialogs::Icon::Question))
        return false; // nothing written, and the edit stays shown
    QString why;
    const bool saved = TipStore::save(path, textPicView->text(), m_shownFormat, &why);
    if (m_shows == Shows::Favourites)
        m_search->refreshFavourites();
    else if (m_shows == Shows::Tip)
        m_search->refresh(m_shownKind, m_shownFile);
    if (!saved) {
        context().dialogs->message(QStringLiteral("保存秘笈的修改时出现错误，修改没有保存！") + kCrLf
                                       + QDir::toNativeSeparators(path) + (why.isEmpty() ? QString() : QStringLiteral("：") + why),
                                   kSaveFailedTitle, Dialogs::Icon::Exclamation);
        return false;
    }
    MJTextModified = false;
    m_shownFormat.replacedBytes = false;
    return true;
}

int LibraryPanel::FindMJNameInd(const QString &name) const
{
    const QString wanted = TrimBlanks(name);
    for (int i = 0; i < lstPicType->count(); ++i) {
        if (TrimBlanks(lstPicType->item(i)->text()) == wanted)
            return i;
    }
    return 0;
}

int LibraryPanel::rowOfFile(const QString &file) const
{
    for (int row = 0; row < lstPicType->count(); ++row) {
        if (lstPicType->item(row)->data(Qt::UserRole).toString() == file)
            return row;
    }
    return -1;
}

void LibraryPanel::AbledMJBtn(bool enabled)
{
    btnNewMJ->setEnabled(enabled);
    btnMJDel->setEnabled(enabled);
    btnMJReName->setEnabled(enabled);
}

void LibraryPanel::SetTextPicViewLocked()
{
    textPicView->setLocked(chkMJReadOnly->isChecked());
}

void LibraryPanel::chkMJReadOnly_Click()
{
    SetTextPicViewLocked();
}

void LibraryPanel::optMJStyle_Click(int index)
{
    MJIsPicture = index == 0;
    InitLstPicType(0);
}

void LibraryPanel::textPicView_Change()
{
    MJTextModified = true;
}

void LibraryPanel::setContentCaption(const QString &caption)
{
    lblMJText->setText(caption);
    textPicView->setAccessibleName(LabelName(caption));
}

void LibraryPanel::refillSelecting(const QString &name)
{
    InitLstPicType(-1);
    InitLstPicType(FindMJNameInd(name));
}

void LibraryPanel::clearView()
{
    textPicView->setText(QString());
    MJTextModified = false;
}

void LibraryPanel::btnNewMJ_Click()
{
    const QString name = context().dialogs->input(kNamePrompt, kNewTitle, QString()).value_or(QString());
    const auto done = [this] { restHoverFrame(this, btnNewMJ, *context().colors); };
    switch (TipStore::checkName(name)) {
    case TipOutcome::BlankName:
        context().dialogs->message(kBlankName, kNewFailedTitle, Dialogs::Icon::Information);
        return done();
    case TipOutcome::ForbiddenCharacter:
        context().dialogs->message(kBadCharacter + kCrLf + MJNameBadChars, kNewFailedTitle, Dialogs::Icon::Critical);
        return done();
    default:
        break;
    }
    const auto duplicate = [&] {
        context().dialogs->message(QStringLiteral("不能有同名的秘笈！"), kNewFailedTitle, Dialogs::Icon::Information);
        refillSelecting(name);
        done();
    };
    const TipKind kind = selectedKind();
    if (!m_store.existingEntry(kind, TipStore::fileNameFor(name)).isEmpty())
        return duplicate();

    // Nothing is touched before the file exists: the shown tip's changes
    // are dealt with first, and a create that fails leaves all as it was.
    if (!SaveModifiedText()) {
        context().dialogs->message(QStringLiteral("保存原秘笈的修改时出现错误，新秘笈没有建立！"), kNewFailedTitle,
                                   Dialogs::Icon::Exclamation);
        return done();
    }
    switch (m_store.create(kind, name)) {
    case TipOutcome::Done:
        m_search->refresh(kind, TipStore::fileNameFor(name));
        break;
    case TipOutcome::Duplicate:
        return duplicate();
    default:
        context().dialogs->message(QStringLiteral("创建秘笈文件时出现错误！"), kNewFailedTitle,
                                   Dialogs::Icon::Exclamation);
        return done();
    }

    chkMJReadOnly->setChecked(false);
    SetTextPicViewLocked();
    clearView();
    m_shows = Shows::Nothing; // the edit just dropped belongs to nobody
    textPicView->setFocus();
    setContentCaption(contentCaption(name));
    refillSelecting(name);
    CurMJName = name;
    AbledMJBtn(false);
    done();
}

void LibraryPanel::btnMJReName_Click()
{
    const auto done = [this] { restHoverFrame(this, btnMJReName, *context().colors); };
    if (m_shows != Shows::Tip)
        return done();
    const QString name =
        context()
            .dialogs->input(QStringLiteral("现在的秘笈名称为：『") + CurMJName + QStringLiteral("』") + kCrLf + kNewNamePrompt,
                            kRenameTitle, QString())
            .value_or(QString());
    QString renamed;
    switch (m_store.rename(m_shownKind, m_shownFile, name, &renamed)) {
    case TipOutcome::Done:
        break;
    case TipOutcome::BlankName:
        context().dialogs->message(kBlankName, kRenameFailedTitle, Dialogs::Icon::Information);
        return done();
    case TipOutcome::ForbiddenCharacter:
        context().dialogs->message(kBadCharacter + kCrLf + MJNameBadChars, kRenameFailedTitle,
                                   Dialogs::Icon::Critical);
        return done();
    default:
        context().dialogs->message(QStringLiteral("秘笈更名时出现错误！"), kRenameFailedTitle,
                                   Dialogs::Icon::Exclamation);
        return done();
    }
    m_search->refresh(m_shownKind, m_shownFile);
    m_search->refresh(m_shownKind, renamed);
    // The shown tip is the renamed file from now on, so a save asked for
    // while the list refills goes under the new name.
    m_shownFile = renamed;
    CurMJName = name;
    setContentCaption(contentCaption(TrimBlanks(name)));
    if (m_shownKind == selectedKind())
        refillSelecting(name);
    else
        InitLstPicType(-1); // the list shows the other kind; nothing there to select
    CurMJName = name;
    done();
}

void LibraryPanel::btnMJDel_Click()
{
    const auto done = [this] { restHoverFrame(this, btnMJDel, *context().colors); };
    const QString name = TrimBlanks(CurMJName);
    if (m_shows != Shows::Tip || name.isEmpty())
        return done();
    if (!context().dialogs->question(QStringLiteral("删除后将无法恢复，真的要删除秘笈『") + name
                                         + QStringLiteral("』吗？"),
                                     QStringLiteral("删除秘笈"), Dialogs::Icon::Question))
        return done();
    const int position = lstPicType->currentRow();
    const TipOutcome removed = m_store.remove(m_shownKind, m_shownFile);
    m_search->refresh(m_shownKind, m_shownFile);
    if (removed != TipOutcome::Done) {
        context().dialogs->message(QStringLiteral("删除秘笈时出现错误！"), kDeleteFailedTitle,
                                   Dialogs::Icon::Exclamation);
        return done();
    }
    // The removed text is never offered for saving, and should the next
    // tip fail to read, the view is empty rather than showing what is gone.
    clearView();
    m_shows = Shows::Nothing;
    m_shownFile.clear();
    CurMJName.clear();
    setContentCaption(kContentCaption);
    InitLstPicType(position > 0 ? position - 1 : 0);
    done();
}

void LibraryPanel::btnMJSetFont_Click()
{
    if (MJFontSize == 0)
        MJFontSize = kDefaultFontSize;
    if (const auto answer = context().dialogs->input(QStringLiteral("请输入字体大小(1～72)："),
                                                     QStringLiteral("设置字体大小"), fontSizeText(MJFontSize))) {
        bool isNumber = false;
        const double size = TrimBlanks(*answer).toDouble(&isNumber);
        if (isNumber && std::isfinite(size) && size > 0)
            MJFontSize = float(std::min(size, kMaxFontSize));
    }
    textPicView->setFontPointSize(MJFontSize);
    restHoverFrame(this, btnMJSetFont, *context().colors);
}

void LibraryPanel::btnMyFavor_Click()
{
    const QString path = m_store.favouritesPath();
    if (!TipStore::createIfMissing(path)) {
        readFailed(TipOutcome::Failed);
        return;
    }
    m_search->refreshFavourites();
    if (!showFile(path, Shows::Favourites))
        return;
    setContentCaption(kFavouritesCaption);
    InitLstPicType(-1);
    AbledMJBtn(false);
}

void LibraryPanel::favourites_Changed()
{
    m_search->refreshFavourites();
    // An edit in the view is the user's, and stays until it is saved or dropped.
    if (m_shows != Shows::Favourites || MJTextModified)
        return;
    QString text;
    if (TipStore::read(m_store.favouritesPath(), &text, &m_shownFormat) != TipOutcome::Done)
        return;
    textPicView->setText(text);
    MJTextModified = false;
    m_favouritesShown = text;
    // What was added is at the end.
    textPicView->verticalScrollBar()->setValue(textPicView->verticalScrollBar()->maximum());
    textPicView->update();
}

void LibraryPanel::txtMJSearch_Change()
{
    if (txtMJSearch->text().trimmed().isEmpty()) {
        if (m_searching)
            endSearch();
        return;
    }
    if (!m_searching)
        beginSearch();
    showHits();
}

void LibraryPanel::beginSearch()
{
    m_searching = true;
    m_kindBefore = selectedKind();
    const QListWidgetItem *selected = lstPicType->currentItem();
    m_fileBefore = selected ? selected->data(Qt::UserRole).toString() : QString();
    // The kind is the hits' own now; the options come back with the list.
    frameMJStyle->setEnabled(false);
    lstPicType->hide();
    lstMJHits->show();
    lblMJName->setText(kHitsCaption);
    lblMJName->setBuddy(lstMJHits);
}

void LibraryPanel::showHits()
{
    const std::optional<QList<TipHit>> hits = m_search->search(txtMJSearch->text());
    const QListWidgetItem *current = lstMJHits->currentItem();
    const QString currentFile = current ? current->data(Qt::UserRole).toString() : QString();
    const QVariant currentSource = current ? current->data(kSourceRole) : QVariant();

    const QSignalBlocker quiet(lstMJHits);
    lstMJHits->clear();
    const auto note = [this](const QString &text) {
        auto *item = new QListWidgetItem(text, lstMJHits);
        item->setFlags(Qt::NoItemFlags);
    };
    if (!hits)
        return note(QStringLiteral("正在建立索引，请稍候……"));
    if (hits->isEmpty())
        return note(QStringLiteral("没有找到相符的秘笈！"));
    for (const TipHit &hit : *hits) {
        auto *item = new QListWidgetItem(hitText(hit), lstMJHits);
        item->setData(Qt::UserRole, hit.fileName);
        item->setData(kSourceRole, int(hit.source));
        item->setToolTip(hit.name);
        if (currentSource.isValid() && currentSource.toInt() == int(hit.source) && currentFile == hit.fileName)
            lstMJHits->setCurrentItem(item);
    }
}

void LibraryPanel::selectKindQuietly(TipKind kind)
{
    MJIsPicture = kind == TipKind::Pictures;
    const QSignalBlocker quiet0(optMJStyle[0]);
    const QSignalBlocker quiet1(optMJStyle[1]);
    optMJStyle[MJIsPicture ? 0 : 1]->setChecked(true);
}

void LibraryPanel::lstMJHits_Click()
{
    const QListWidgetItem *item = lstMJHits->currentItem();
    if (!item || !item->data(kSourceRole).isValid())
        return;
    const auto source = TipSource(item->data(kSourceRole).toInt());
    const QString file = item->data(Qt::UserRole).toString();
    if (source == TipSource::Favourites)
        return btnMyFavor_Click();
    const TipKind kind = source == TipSource::Pictures ? TipKind::Pictures : TipKind::Words;
    if (m_shows == Shows::Tip && m_shownKind == kind && m_shownFile == file)
        return; // shown already
    // As the kind's own list picks it: that kind selected, its list filled,
    // the tip selected there, which asks about the shown tip's changes.
    if (kind != selectedKind())
        selectKindQuietly(kind);
    InitLstPicType(-1);
    if (const int row = rowOfFile(file); row >= 0)
        return lstPicType->setCurrentRow(row);
    // Gone since it was found: the index forgets it, and the hits follow.
    readFailed(TipOutcome::Failed);
    m_search->refresh(kind, file);
}

void LibraryPanel::endSearch()
{
    m_searching = false;
    {
        const QSignalBlocker quiet(lstMJHits);
        lstMJHits->clear();
    }
    lstMJHits->hide();
    lstPicType->show();
    frameMJStyle->setEnabled(true);
    lblMJName->setText(kNameCaption);
    lblMJName->setBuddy(lstPicType);
    // The list as it was: its kind, and its selection where that tip still
    // is. Nothing is read: the view keeps what the user picked last.
    if (selectedKind() != m_kindBefore)
        selectKindQuietly(m_kindBefore);
    InitLstPicType(-1);
    if (const int row = rowOfFile(m_fileBefore); row >= 0) {
        const QSignalBlocker quiet(lstPicType);
        lstPicType->setCurrentRow(row);
    }
}
