#include "arttextpanel.h"

#include "shell/core/colorscheme.h"
#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/launcher.h"
#include "shell/core/textcodec.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/labelname.h"
#include "shell/widgets/panelcontext.h"
#include "shell/widgets/savetextas.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

namespace {

using namespace ArtText;

const QString kTempFile = QStringLiteral("\\Data\\艺术文字\\Temp.txt");
const QString kConvertFailedTitle = QStringLiteral("文字转化出错了：（");
const QString kShowModeTitle = QStringLiteral("请务必注意啦：）");
const QString kInputTip =
    QStringLiteral("『Zantoria』提醒您：此处对字数没有做限制，但字数过多，或者字体过大将会影响转化的速度：O");
const QString kSizeTip = QStringLiteral("『Zantoria』提醒您：请适当设置字体大小，字体过大将会影响转化的速度：O");
const QString kSampleText = QStringLiteral("聊天");

// The display as QQ shows a message: 宋体 at 9 points, 12 pixels, so a
// half-width character takes 6 and the 409-pixel wrap holds 68 of them.
constexpr double kDisplayPoints = 9;
constexpr int kQqWrap = 409;
constexpr int kNoWrap = 500000;

struct ShowMode
{
    int limit;
    const char *message;
};
const std::array<ShowMode, 3> kShowModes = {{
    {0, "普通模式下对每行的字符数及总共能容纳的字节数均没有限制。：）"},
    {500, "QQ显示模式下，每行最多只能有68个半角字符，总共能容纳500字节的内容！：O"},
    {7000, "ICQ模式中最多显示7000个半角字符，而且最好不要使用全角字符，因为国外的很多操作系统都是英文版的，"
           "对中文的支持不好：O"},
}};
const std::array<const char *, 3> kShowModeTips = {"普通模式", "QQ模式", "ICQ模式"};
const std::array<const char *, 6> kEffects = {"普通", "醒目", "上下", "左右", "循环", "跟随"};
const std::array<const char *, 6> kFrames = {"文字", "文字属性", "显示区模式", "文字组态", "显示效果", "追加方式"};
const std::array<const char *, 9> kLabels = {"请输入文字：", "循环效果字符串：", "字体：", "字号：", "前景：",
                                             "背景：",       "前景：",           "背景：", "转化后结果的显示区："};
const std::array<const char *, 4> kButtons = {"转化", "保存到文件", "清空显示区", "空格压缩器"};

// Where everything sits on the 417 × 385 panel: the words and their font on
// top, the characters and the effect below them, then the append method,
// the display mode and the convert button, and the display filling the rest.
const std::array<QRect, 6> kFrameRects = {QRect(4, 0, 232, 128),  QRect(240, 0, 173, 76),
                                          QRect(240, 78, 173, 50), QRect(4, 130, 232, 72),
                                          QRect(240, 130, 173, 72), QRect(88, 204, 148, 42)};
const QRect kPicBRect(240, 208, 173, 38);
const QRect kDisplayRect(4, 274, 409, 108);

// A small picture for a picture button: a word drawn in the middle.
QPixmap picture(const QString &text, QSize size, bool bold, bool italic)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont font = Fonts::crispFont(Fonts::kSongTi, 9);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return pixmap;
}

// The one message for a result too large to show, a conversion's own or
// what it makes together with the text shown.
QString tooLargeMessage(const ArtSize &size)
{
    return QStringLiteral("转化结果太大了：%1列×%2行，共%3个字符，最多只能有%4个字符！请减少文字或减小字号。")
        .arg(size.columns)
        .arg(size.rows)
        .arg(size.characters)
        .arg(kMaxTextCells);
}

bool hasLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

QString fontSizeText(double points)
{
    return QString::number(points, 'g', 4);
}

// Code points of a text, and the position, in code points, of a position in
// UTF-16 units.
qsizetype codePointsBefore(QStringView text, qsizetype units)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < units && i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++n;
    }
    return n;
}

QString codePointAt(QStringView text, qsizetype index)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (n++ == index)
            return text.sliced(i, pair ? 2 : 1).toString();
        if (pair)
            ++i;
    }
    return QString();
}

// What a one-character box keeps of an edit: the character just typed (left
// of the cursor) when it holds more than one, else what it holds.
QString typedCharacter(const QString &text, int cursor)
{
    const qsizetype count = codePointsBefore(text, text.size());
    if (count <= 1)
        return text;
    const qsizetype at = std::max<qsizetype>(codePointsBefore(text, cursor) - 1, 0);
    return codePointAt(text, at);
}

} // namespace

ArtTextPanel::ArtTextPanel(PanelContext &context, QWidget *parent)
    : ContentPanel(context, parent)
{
    buildControls();
    connectControls();
}

ArtTextPanel::~ArtTextPanel()
{
    if (m_busy)
        QCoreApplication::instance()->removeEventFilter(this);
}

void ArtTextPanel::buildControls()
{
    for (std::size_t i = 0; i < frameWZ.size(); ++i) {
        frameWZ[i] = new QGroupBox(QString::fromUtf8(kFrames[i]), this);
        frameWZ[i]->setObjectName(QStringLiteral("frameWZ%1").arg(i));
        frameWZ[i]->setGeometry(kFrameRects[i]);
    }
    QWidget *labelParents[9] = {frameWZ[0], frameWZ[0], frameWZ[1], frameWZ[1], frameWZ[3],
                                frameWZ[3], frameWZ[3], frameWZ[3], this};
    const QRect labelRects[9] = {QRect(8, 16, 120, 16), QRect(8, 80, 120, 16), QRect(8, 20, 38, 18),
                                 QRect(8, 48, 38, 18),  QRect(64, 21, 36, 16), QRect(148, 21, 36, 16),
                                 QRect(64, 47, 36, 16), QRect(148, 47, 36, 16), QRect(8, 254, 130, 16)};
    for (std::size_t i = 0; i < lblWZ.size(); ++i) {
        lblWZ[i] = new QLabel(QString::fromUtf8(kLabels[i]), labelParents[i]);
        lblWZ[i]->setObjectName(QStringLiteral("lblWZ%1").arg(i));
        lblWZ[i]->setGeometry(labelRects[i]);
    }

    // The words: a few lines, each drawn below the one before.
    textWZInput = new QPlainTextEdit(kSampleText, frameWZ[0]);
    textWZInput->setObjectName(QStringLiteral("textWZInput"));
    textWZInput->setGeometry(8, 33, 216, 44);
    textWZInput->setTabChangesFocus(true);
    textWZInput->setToolTip(kInputTip);
    textWZInput->setAccessibleName(LabelName(lblWZ[0]->text()));
    lblWZ[0]->setBuddy(textWZInput);

    textWZLoop = new QLineEdit(frameWZ[0]);
    textWZLoop->setObjectName(QStringLiteral("textWZLoop"));
    textWZLoop->setGeometry(8, 98, 188, 22);
    textWZLoop->setAccessibleName(LabelName(lblWZ[1]->text()));
    lblWZ[1]->setBuddy(textWZLoop);
    chkWZLoopQJ = new QToolButton(frameWZ[0]);
    chkWZLoopQJ->setObjectName(QStringLiteral("chkWZLoopQJ"));
    chkWZLoopQJ->setGeometry(200, 97, 24, 24);
    chkWZLoopQJ->setCheckable(true);
    chkWZLoopQJ->setIcon(picture(QStringLiteral("全"), QSize(16, 16), true, false));
    chkWZLoopQJ->setAccessibleName(QStringLiteral("全角循环字符串"));

    comWZFontName = new QComboBox(frameWZ[1]);
    comWZFontName->setObjectName(QStringLiteral("comWZFontName"));
    comWZFontName->setGeometry(46, 17, 120, 22);
    comWZFontName->setAccessibleName(LabelName(lblWZ[2]->text()));
    lblWZ[2]->setBuddy(comWZFontName);
    textWZFontSize = new QLineEdit(frameWZ[1]);
    textWZFontSize->setObjectName(QStringLiteral("textWZFontSize"));
    textWZFontSize->setGeometry(46, 46, 40, 22);
    textWZFontSize->setReadOnly(true);
    textWZFontSize->setToolTip(kSizeTip);
    textWZFontSize->setAccessibleName(LabelName(lblWZ[3]->text()));
    lblWZ[3]->setBuddy(textWZFontSize);
    WZFontSizeScroll = new QScrollBar(Qt::Vertical, frameWZ[1]);
    WZFontSizeScroll->setObjectName(QStringLiteral("WZFontSizeScroll"));
    WZFontSizeScroll->setGeometry(86, 46, 14, 22);
    // Top is the smallest size, as the scroll bar always had it.
    WZFontSizeScroll->setRange(8, 144);
    WZFontSizeScroll->setSingleStep(1);
    WZFontSizeScroll->setPageStep(4);
    WZFontSizeScroll->setValue(21);
    WZFontSizeScroll->setToolTip(kSizeTip);
    WZFontSizeScroll->setAccessibleName(QStringLiteral("字号调节"));
    chkWZFontB = new QToolButton(frameWZ[1]);
    chkWZFontB->setObjectName(QStringLiteral("chkWZFontB"));
    chkWZFontB->setGeometry(110, 45, 24, 24);
    chkWZFontB->setIcon(picture(QStringLiteral("B"), QSize(16, 16), true, false));
    chkWZFontB->setAccessibleName(QStringLiteral("粗体"));
    chkWZFontB->setToolTip(QStringLiteral("粗体"));
    chkWZFontI = new QToolButton(frameWZ[1]);
    chkWZFontI->setObjectName(QStringLiteral("chkWZFontI"));
    chkWZFontI->setGeometry(138, 45, 24, 24);
    chkWZFontI->setIcon(picture(QStringLiteral("I"), QSize(16, 16), false, true));
    chkWZFontI->setAccessibleName(QStringLiteral("斜体"));
    chkWZFontI->setToolTip(QStringLiteral("斜体"));
    for (QToolButton *b : {chkWZFontB, chkWZFontI})
        b->setCheckable(true);

    auto *showModes = new QButtonGroup(this);
    showModes->setExclusive(true);
    const std::array<const char *, 3> showPictures = {"普通", "QQ", "ICQ"};
    for (std::size_t i = 0; i < optWZShowMode.size(); ++i) {
        QToolButton *b = new QToolButton(frameWZ[2]);
        b->setObjectName(QStringLiteral("optWZShowMode%1").arg(i));
        b->setGeometry(10 + int(i) * 54, 17, 46, 26);
        b->setCheckable(true);
        b->setIcon(picture(QString::fromUtf8(showPictures[i]), QSize(36, 18), true, false));
        b->setIconSize(QSize(36, 18));
        b->setToolTip(QString::fromUtf8(kShowModeTips[i]));
        b->setAccessibleName(QString::fromUtf8(kShowModeTips[i]));
        showModes->addButton(b, int(i));
        optWZShowMode[i] = b;
    }
    optWZShowMode[0]->setChecked(true);

    chkWZConQJ = new QCheckBox(QStringLiteral("全角"), frameWZ[3]);
    chkWZConQJ->setObjectName(QStringLiteral("chkWZConQJ"));
    chkWZConQJ->setGeometry(8, 19, 54, 20);
    chkWZConBJ = new QCheckBox(QStringLiteral("半角"), frameWZ[3]);
    chkWZConBJ->setObjectName(QStringLiteral("chkWZConBJ"));
    chkWZConBJ->setGeometry(8, 45, 54, 20);
    chkWZConBJ->setChecked(true);
    const auto characterCombo = [this](const char *name, int x, QLabel *label) {
        auto *box = new QComboBox(frameWZ[3]);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(x, 18, 44, 22);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMaxVisibleItems(15);
        box->setAccessibleName(QStringLiteral("全角") + LabelName(label->text()));
        label->setBuddy(box);
        return box;
    };
    comWZqjFront = characterCombo("comWZqjFront", 98, lblWZ[4]);
    comWZqjBack = characterCombo("comWZqjBack", 182, lblWZ[5]);
    const auto characterBox = [this](const char *name, int x, const QString &text, QLabel *label) {
        auto *box = new QLineEdit(text, frameWZ[3]);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(x, 44, 44, 22);
        box->setAlignment(Qt::AlignCenter);
        box->setAccessibleName(QStringLiteral("半角") + LabelName(label->text()));
        label->setBuddy(box);
        return box;
    };
    textWZbjFront = characterBox("textWZbjFront", 98, QStringLiteral("*"), lblWZ[6]);
    textWZbjBack = characterBox("textWZbjBack", 182, QStringLiteral("#"), lblWZ[7]);

    for (std::size_t i = 0; i < optWZEffect.size(); ++i) {
        optWZEffect[i] = new QRadioButton(QString::fromUtf8(kEffects[i]), frameWZ[4]);
        optWZEffect[i]->setObjectName(QStringLiteral("optWZEffect%1").arg(i));
        optWZEffect[i]->setGeometry(10 + int(i % 3) * 54, 20 + int(i / 3) * 24, 54, 20);
    }

    chkWZBeginAddMode = new QCheckBox(QStringLiteral("采用追加"), this);
    chkWZBeginAddMode->setObjectName(QStringLiteral("chkWZBeginAddMode"));
    chkWZBeginAddMode->setGeometry(10, 220, 80, 20);
    const std::array<const char *, 2> addModes = {"水平追加", "竖直追加"};
    for (std::size_t i = 0; i < optWZAddMode.size(); ++i) {
        optWZAddMode[i] = new QRadioButton(QString::fromUtf8(addModes[i]), frameWZ[5]);
        optWZAddMode[i]->setObjectName(QStringLiteral("optWZAddMode%1").arg(i));
        optWZAddMode[i]->setGeometry(6 + int(i) * 70, 18, 70, 20);
    }

    WZPicB = new PanelBox(this);
    WZPicB->setObjectName(QStringLiteral("WZPicB"));
    WZPicB->setGeometry(kPicBRect);
    btnWZ[0] = new CoolButton(QString::fromUtf8(kButtons[0]), WZPicB);
    btnWZ[0]->setGeometry(8, 7, 157, 26);
    for (std::size_t i = 1; i < btnWZ.size(); ++i) {
        btnWZ[i] = new CoolButton(PadCaption(QString::fromUtf8(kButtons[i])), this);
        btnWZ[i]->setGeometry(142 + int(i - 1) * 91, 251, 87, 20);
    }
    for (std::size_t i = 0; i < btnWZ.size(); ++i)
        btnWZ[i]->setObjectName(QStringLiteral("btnWZ%1").arg(i));

    textWZShowBox = new DisplayArea(this);
    textWZShowBox->setObjectName(QStringLiteral("textWZShowBox"));
    textWZShowBox->setGeometry(kDisplayRect);
    QFont shown = textWZShowBox->font();
    shown.setFamily(Fonts::kSongTi);
    shown.setStyleStrategy(QFont::PreferMatch);
    textWZShowBox->setFont(shown);
    textWZShowBox->setFontPointSize(kDisplayPoints);
    textWZShowBox->setAccessibleName(LabelName(lblWZ[8]->text()));
    lblWZ[8]->setBuddy(textWZShowBox);
}

void ArtTextPanel::connectControls()
{
    connect(textWZInput, &QPlainTextEdit::textChanged, this, [this] { textWZInput_Change(); });
    connect(comWZFontName, &QComboBox::activated, this, [this] { comWZFontName_Click(); });
    connect(WZFontSizeScroll, &QScrollBar::valueChanged, this, [this] { WZFontSizeScroll_Change(); });
    connect(chkWZFontB, &QToolButton::toggled, this, [this] { chkWZFontB_Click(); });
    connect(chkWZFontI, &QToolButton::toggled, this, [this] { chkWZFontI_Click(); });
    connect(chkWZConQJ, &QCheckBox::clicked, this, [this] { chkWZConQJ_Click(); });
    connect(chkWZConBJ, &QCheckBox::clicked, this, [this] { chkWZConBJ_Click(); });
    connect(comWZqjFront, &QComboBox::editTextChanged, this, [this] { comWZqjFront_Change(); });
    connect(comWZqjBack, &QComboBox::editTextChanged, this, [this] { comWZqjBack_Change(); });
    connect(textWZbjFront, &QLineEdit::textChanged, this, [this] { textWZbjFront_Change(); });
    connect(textWZbjBack, &QLineEdit::textChanged, this, [this] { textWZbjBack_Change(); });
    for (std::size_t i = 0; i < optWZEffect.size(); ++i) {
        connect(optWZEffect[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optWZEffect_Click(int(i));
        });
    }
    connect(textWZLoop, &QLineEdit::textChanged, this, [this] { textWZLoop_Change(); });
    connect(chkWZLoopQJ, &QToolButton::toggled, this, [this] { chkWZLoopQJ_Click(); });
    connect(chkWZBeginAddMode, &QCheckBox::toggled, this, [this] { chkWZBeginAddMode_Click(); });
    for (std::size_t i = 0; i < optWZAddMode.size(); ++i) {
        connect(optWZAddMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optWZAddMode_Click(int(i));
        });
    }
    for (std::size_t i = 0; i < optWZShowMode.size(); ++i) {
        connect(optWZShowMode[i], &QToolButton::toggled, this, [this, i](bool on) {
            if (on)
                optWZShowMode_Click(int(i));
        });
    }
    for (std::size_t i = 0; i < btnWZ.size(); ++i)
        connect(btnWZ[i], &CoolButton::Click, this, [this, i] { btnWZ_Click(int(i)); });
}

void ArtTextPanel::InitWZ()
{
    WZSymbolChars = ArtText::symbolChars();

    chkWZBeginAddMode->setChecked(false);
    InitChkWZBeginAddMode();

    WZTempFile = context().places.data(kTempFile);

    InitComWZqj();
    InitComWZFontName();
    InitconWZEnabled();

    WZInitializing = true;
    WZSetShowMode(0);
    WZInitializing = false;

    chkWZFontI->setChecked(false);
    chkWZFontB->setChecked(false);
    chkWZFontI_Click();
    chkWZFontB_Click();
    WZFontSizeScroll_Change();

    optWZEffect[1]->setChecked(true);
    optWZEffect_Click(1);

    WZLoopDefaultQJ = kLoopDefaultQJ;
    WZLoopDefaultBJ = kLoopDefaultBJ;
    if (chkWZLoopQJ->isChecked())
        chkWZLoopQJ_Click();
    else
        chkWZLoopQJ->setChecked(true);

    optWZAddMode[0]->setChecked(true);
    optWZAddMode_Click(0);
    chkWZConQJ_Click();

    comWZqjFront->setEditText(kDefaultFrontQJ);
    comWZqjBack->setEditText(kDefaultBackQJ);

    setGeometry(5, 5, 417, 385);
    const ColorScheme &colors = *context().colors;
    setBackColor(colors.BackColor);
    letBackColor(WZPicB, colors);
    for (QWidget *w : frameWZ)
        letBackColor(w, colors);
    for (QWidget *w : std::initializer_list<QWidget *>{chkWZConQJ, chkWZConBJ, chkWZBeginAddMode})
        letBackColor(w, colors);
    for (QWidget *w : optWZEffect)
        letBackColor(w, colors);
    for (QWidget *w : optWZAddMode)
        letBackColor(w, colors);
    FixCaption(*btnWZ[0]);
    wireHoverFrame(WZPicB, btnWZ[0], colors);
    for (std::size_t i = 1; i < btnWZ.size(); ++i) {
        FixCaption(*btnWZ[i]);
        wireHoverFrame(this, btnWZ[i], colors);
    }
    textWZInput_Change();
    hide();
}

void ArtTextPanel::InitChkWZBeginAddMode()
{
    WZAddMode = 0;
    const bool on = chkWZBeginAddMode->isChecked();
    optWZAddMode[0]->setEnabled(on);
    optWZAddMode[1]->setEnabled(on);
    frameWZ[5]->setEnabled(on);
    if (on)
        WZAddMode = optWZAddMode[0]->isChecked() ? 2 : optWZAddMode[1]->isChecked() ? 1 : 0;
}

void ArtTextPanel::InitComWZqj()
{
    for (QComboBox *box : {comWZqjFront, comWZqjBack}) {
        box->clear();
        box->addItems(WZSymbolChars);
    }
}

void ArtTextPanel::InitComWZFontName()
{
    QStringList families = QFontDatabase::families();
    families.removeAll(Fonts::kSongTi);
    families.prepend(Fonts::kSongTi);
    comWZFontName->clear();
    comWZFontName->addItems(families);
    comWZFontName->setCurrentIndex(0);
    comWZFontName_Click();
}

void ArtTextPanel::InitconWZEnabled()
{
    comWZqjFront->setEnabled(chkWZConQJ->isChecked());
    comWZqjBack->setEnabled(chkWZConQJ->isChecked());
    textWZbjFront->setEnabled(chkWZConBJ->isChecked());
    textWZbjBack->setEnabled(chkWZConBJ->isChecked());
}

void ArtTextPanel::WZSetShowMode(int index)
{
    if (index < 0 || index >= int(kShowModes.size()))
        return;
    if (WZInitializing) {
        textWZShowBox->setMaxLength(0);
        textWZShowBox->setRightMargin(kNoWrap);
        return;
    }
    textWZShowBox->setMaxLength(kShowModes[std::size_t(index)].limit);
    textWZShowBox->setRightMargin(kNoWrap);
    textWZShowBox->setText(QString());
    context().dialogs->message(QString::fromUtf8(kShowModes[std::size_t(index)].message), kShowModeTitle,
                               Dialogs::Icon::Information);
}

void ArtTextPanel::WZEnabledCon(bool on)
{
    frameWZ[3]->setEnabled(on);
    for (QWidget *w : std::initializer_list<QWidget *>{chkWZConQJ, chkWZConBJ, lblWZ[4], lblWZ[5], lblWZ[6],
                                                      lblWZ[7], comWZqjFront, comWZqjBack, textWZbjFront,
                                                      textWZbjBack})
        w->setEnabled(on);
}

int ArtTextPanel::WZFindActEffect() const
{
    for (std::size_t i = 0; i < optWZEffect.size(); ++i) {
        if (optWZEffect[i]->isChecked())
            return int(i);
    }
    return 0;
}

int ArtTextPanel::conModeState() const
{
    const bool full = chkWZConQJ->isChecked();
    const bool half = chkWZConBJ->isChecked();
    if (half && !full)
        return HalfWidthOnly;
    if (full && !half)
        return FullWidthOnly;
    return BothWidths;
}

QFont ArtTextPanel::artFont() const
{
    return ArtTextFont(WZFontName, WZFontSizePoints, WZFontBold, WZFontItalic);
}

QString ArtTextPanel::spacefoldPath() const
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(context().places.programDir()) + QStringLiteral("\\Spacefold.exe");
#else
    return context().places.programDir() + QStringLiteral("/Spacefold");
#endif
}

ArtText::Style ArtTextPanel::currentStyle() const
{
    Style style;
    style.group = conModeState();
    style.effect = WZFindActEffect();
    style.frontBJ = textWZbjFront->text();
    style.backBJ = textWZbjBack->text();
    style.frontQJ = comWZqjFront->currentText();
    style.backQJ = comWZqjBack->currentText();
    style.loop = WZLoopString;
    style.loopFullWidth = chkWZLoopQJ->isChecked();
    return style;
}

bool ArtTextPanel::eventFilter(QObject *watched, QEvent *event)
{
    // While a conversion runs, the pauses it makes for the window to repaint
    // must not let the user change a setting or start another action here.
    if (m_busy && watched->isWidgetType() && (watched == this || isAncestorOf(static_cast<QWidget *>(watched)))) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::Drop:
            return true;
        default:
            break;
        }
    }
    return ContentPanel::eventFilter(watched, event);
}

void ArtTextPanel::btnWZ_Click(int index)
{
    if (m_busy)
        return;
    switch (index) {
    case 0:
        convert();
        break;
    case 1:
        saveToFile();
        restHoverFrame(this, btnWZ[1], *context().colors);
        break;
    case 2:
        clearDisplay();
        restHoverFrame(this, btnWZ[2], *context().colors);
        break;
    case 3:
        startSpacefold();
        restHoverFrame(this, btnWZ[3], *context().colors);
        break;
    default:
        break;
    }
}

void ArtTextPanel::convert()
{
    const QString input = textWZInput->toPlainText();
    if (input.isEmpty())
        return;
    const QFont font = artFont();

    // Measured before anything changes: a result that would not fit in memory
    // (or in any chat) is refused with the display as it was.
    const CellsSize size = TextCellsSize(input, font);
    if (size.count() > kMaxTextCells) {
        context().dialogs->message(tooLargeMessage({size.columns, size.rows, size.count()}), kConvertFailedTitle,
                                   Dialogs::Icon::Exclamation);
        return;
    }

    m_busy = true;
    QCoreApplication::instance()->installEventFilter(this);
    QPointer<ArtTextPanel> alive(this);
    const auto finish = [&] {
        if (!alive)
            return;
        QCoreApplication::instance()->removeEventFilter(this);
        m_busy = false;
    };
    const auto fail = [&] {
        finish();
        if (alive)
            context().dialogs->message(QStringLiteral("文字转化时出现错误！"), kConvertFailedTitle,
                                       Dialogs::Icon::Exclamation);
    };

    const int shownLimit = textWZShowBox->maxLength();
    const int shownMargin = textWZShowBox->rightMargin();
    const bool shownLocked = textWZShowBox->isLocked();
    textWZShowBox->setMaxLength(0);
    textWZShowBox->setRightMargin(kNoWrap);
    textWZShowBox->setLocked(false);

    const int addMode = WZAddMode;
    const QString shown = textWZShowBox->text();
    const Style style = currentStyle();
    const bool qq = WZShowModeNow == 1;

    if (style.effect == Loop && WZLoopString.isEmpty()) {
        finish();
        context().dialogs->message(QStringLiteral("循环字符串不可为空！"), Strings::kHintTitle, Dialogs::Icon::Critical);
        textWZLoop->setFocus();
        return;
    }

    QCoreApplication::processEvents();
    if (!alive)
        return;
    const auto pause = [] { QCoreApplication::processEvents(); };
    TextCellsRendering rendering;
    rendering.pause = pause;
    const bool drawn = RenderTextCells(input, font, WZCells, rendering);
    if (!alive)
        return;
    if (!drawn)
        return fail();
    QString result = Build(WZCells, input, style, pause);
    if (!alive)
        return;
    if (result.isEmpty())
        return fail();

    const bool beside = addMode == 2 && !shown.isEmpty();
    if (beside || addMode == 1) {
        // Measured before it is made: joined to what is shown, a result
        // that fits on its own can ask for billions of characters.
        const ArtSize joined = beside ? JoinedBesideSize(shown, result) : AppendedBelowSize(shown, result);
        if (joined.characters > kMaxTextCells) {
            finish();
            textWZShowBox->setMaxLength(shownLimit);
            textWZShowBox->setRightMargin(shownMargin);
            textWZShowBox->setLocked(shownLocked);
            context().dialogs->message(tooLargeMessage(joined), kConvertFailedTitle, Dialogs::Icon::Exclamation);
            return;
        }
    }
    QString art = beside ? JoinBeside(shown, result) : addMode == 1 ? AppendBelow(shown, result) : std::move(result);
    result = QString();

    if (qq) {
        // The text goes through the temporary file, as every result of this
        // panel does, and is shown cut to one QQ message as it reads back:
        // the code page gives every character back as it was, all but a
        // lone surrogate, so only a text with one is read back whole.
        if (!TextCodec::writeFile(WZTempFile, art))
            return fail();
        if (hasLoneSurrogate(art) && !TextCodec::readFile(WZTempFile, &art))
            return fail();
        const QqCut cut = QqCap(art);
        art = QString();
        textWZShowBox->setMaxLength(cut.limit);
        textWZShowBox->setRightMargin(kQqWrap);
        textWZShowBox->setText(cut.text);
    } else {
        textWZShowBox->setText(std::move(art));
    }
    textWZShowBox->setLocked(true);
    finish();
}

void ArtTextPanel::saveToFile()
{
    SaveTextAs save;
    save.addTxtEnding = true;
    save.run(*context().dialogs, [this] { return textWZShowBox->text(); });
}

void ArtTextPanel::clearDisplay()
{
    if (!context().dialogs->question(QStringLiteral("真的要清空显示区吗？"), Strings::kHintTitle,
                                     Dialogs::Icon::Question))
        return;
    textWZShowBox->setText(QString());
    if (!TextCodec::writeFile(WZTempFile, QString()))
        context().dialogs->message(QStringLiteral("清空显示区时出现错误！"), QStringLiteral("清空时出错了：（"),
                                   Dialogs::Icon::Exclamation);
}

void ArtTextPanel::startSpacefold()
{
    const QString path = spacefoldPath();
    if (context().launcher && context().launcher->startProgram(path))
        return;
    context().dialogs->message(QStringLiteral("找不到[空格压缩器]！请检查插件的路径：\n") + path
                                   + QStringLiteral("是否正确。"),
                               QStringLiteral("插件[空格压缩器]启动失败：（"), Dialogs::Icon::Information);
}

void ArtTextPanel::textWZInput_Change()
{
    if (m_busy)
        return;
    btnWZ[0]->setEnabled(!textWZInput->document()->isEmpty());
}

void ArtTextPanel::comWZFontName_Click()
{
    if (m_busy)
        return;
    WZFontName = TrimBlanks(comWZFontName->currentText());
    comWZFontName->setToolTip(WZFontName);
}

void ArtTextPanel::WZFontSizeScroll_Change()
{
    if (m_busy)
        return;
    WZFontSizePoints = WZFontSizeScroll->value() / 2.0;
    textWZFontSize->setText(fontSizeText(WZFontSizePoints));
}

void ArtTextPanel::chkWZFontB_Click()
{
    if (!m_busy)
        WZFontBold = chkWZFontB->isChecked();
}

void ArtTextPanel::chkWZFontI_Click()
{
    if (!m_busy)
        WZFontItalic = chkWZFontI->isChecked();
}

void ArtTextPanel::groupClicked(QCheckBox *clicked)
{
    if (m_busy)
        return;
    if (!chkWZConQJ->isChecked() && !chkWZConBJ->isChecked()) {
        context().dialogs->message(QStringLiteral("文字组态至少要选择一种！"), Strings::kHintTitle,
                                   Dialogs::Icon::Information);
        clicked->setChecked(true);
    }
    const bool on = clicked->isChecked();
    if (clicked == chkWZConQJ) {
        comWZqjFront->setEnabled(on);
        comWZqjBack->setEnabled(on);
    } else {
        textWZbjFront->setEnabled(on);
        textWZbjBack->setEnabled(on);
    }
}

void ArtTextPanel::chkWZConQJ_Click()
{
    groupClicked(chkWZConQJ);
}

void ArtTextPanel::chkWZConBJ_Click()
{
    groupClicked(chkWZConBJ);
}

void ArtTextPanel::keepOneCharacter(QComboBox *box)
{
    if (m_busy || m_fixing)
        return;
    QLineEdit *edit = box->lineEdit();
    const QString kept = FullWidthBoxChar(typedCharacter(box->currentText(), edit ? edit->cursorPosition() : 0));
    if (kept == box->currentText())
        return;
    m_fixing = true;
    box->setEditText(kept);
    m_fixing = false;
}

void ArtTextPanel::keepOneCharacter(QLineEdit *box)
{
    if (m_busy || m_fixing)
        return;
    const QString kept = HalfWidthBoxChar(typedCharacter(box->text(), box->cursorPosition()));
    if (kept == box->text())
        return;
    m_fixing = true;
    box->setText(kept);
    m_fixing = false;
}

void ArtTextPanel::comWZqjFront_Change()
{
    keepOneCharacter(comWZqjFront);
}

void ArtTextPanel::comWZqjBack_Change()
{
    keepOneCharacter(comWZqjBack);
}

void ArtTextPanel::textWZbjFront_Change()
{
    keepOneCharacter(textWZbjFront);
}

void ArtTextPanel::textWZbjBack_Change()
{
    keepOneCharacter(textWZbjBack);
}

void ArtTextPanel::optWZEffect_Click(int index)
{
    if (m_busy)
        return;
    textWZLoop->setEnabled(false);
    lblWZ[1]->setEnabled(false);
    chkWZLoopQJ->setEnabled(false);
    WZLoopString.clear();
    WZEnabledCon(false);
    switch (index) {
    case Plain:
    case Vivid:
    case UpDown:
    case LeftRight:
        WZEnabledCon(true);
        break;
    case Loop:
        textWZLoop->setEnabled(true);
        lblWZ[1]->setEnabled(true);
        chkWZLoopQJ->setEnabled(true);
        WZLoopString = textWZLoop->text();
        break;
    default:
        break; // "跟随" draws with the input's own characters
    }
}

void ArtTextPanel::textWZLoop_Change()
{
    if (m_busy)
        return;
    const bool full = chkWZLoopQJ->isChecked();
    textWZLoop->setToolTip(full ? QStringLiteral("此时的循环字符串只可为『全角』")
                                : QStringLiteral("此时的循环字符串只可为『半角』"));
    const QString kept = LoopString(textWZLoop->text(), full);
    if (kept != textWZLoop->text())
        textWZLoop->setText(kept);
    WZLoopString = textWZLoop->text();
}

void ArtTextPanel::chkWZLoopQJ_Click()
{
    if (m_busy)
        return;
    if (chkWZLoopQJ->isChecked()) {
        textWZLoop->setText(WZLoopDefaultQJ);
        chkWZLoopQJ->setToolTip(QStringLiteral("『全角』已开启"));
    } else {
        textWZLoop->setText(WZLoopDefaultBJ);
        chkWZLoopQJ->setToolTip(QStringLiteral("『全角』已关闭"));
    }
}

void ArtTextPanel::chkWZBeginAddMode_Click()
{
    if (m_busy)
        return;
    InitChkWZBeginAddMode();
}

void ArtTextPanel::optWZAddMode_Click(int)
{
    if (m_busy)
        return;
    InitChkWZBeginAddMode();
}

void ArtTextPanel::optWZShowMode_Click(int index)
{
    if (m_busy)
        return;
    if (WZInitializing) {
        WZShowModeNow = index;
        return;
    }
    if (index == WZShowModeNow)
        return;
    if (context().dialogs->question(QStringLiteral("切换显示区模式会自动将显示区清空，真的要切换吗？"),
                                    Strings::kHintTitle, Dialogs::Icon::Question)) {
        WZSetShowMode(index);
        WZShowModeNow = index;
        return;
    }
    WZInitializing = true;
    optWZShowMode[std::size_t(WZShowModeNow)]->setChecked(true);
    WZInitializing = false;
}
