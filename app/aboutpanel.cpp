#include "app/aboutpanel.h"

#include "shell/widgets/clicklabel.h"
#include "shell/core/dialogs.h"
#include "shell/core/colorscheme.h"
#include "shell/core/launcher.h"
#include "shell/widgets/panelcontext.h"
#include "shell/core/logo.h"
#include "app/shellpictures.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QUrl>

namespace {

const QColor kHeadingInk(33, 64, 120);
const QColor kTextInk(62, 72, 90);
const QColor kLinkInk(49, 106, 197);

QLabel *textLabel(QWidget *parent, const QString &text, int x, int y, int pixelSize, const QColor &ink,
                  bool bold = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblAbout"));
    QFont f = label->font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    label->setFont(f);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ink);
    label->setPalette(palette);
    label->adjustSize();
    label->move(x, y);
    return label;
}

ClickLabel *linkLabel(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *link = new ClickLabel(parent);
    link->setObjectName(QLatin1String(name));
    link->setTextFormat(Qt::PlainText);
    link->setText(text);
    QFont f = link->font();
    f.setPixelSize(12);
    f.setUnderline(true);
    link->setFont(f);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, kLinkInk);
    link->setPalette(palette);
    link->adjustSize();
    link->move(x, y);
    return link;
}

QPlainTextEdit *readOnlyBox(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                            int pixelSize)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setPlainText(text);
    QFont f = box->font();
    f.setPixelSize(pixelSize);
    box->setFont(f);
    box->setGeometry(geometry);
    box->setFrameShape(QFrame::NoFrame);
    box->document()->setDocumentMargin(3);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: #3e485a;"
                                      " border: 1px solid #c9d6e8; border-radius: 4px; padding: 2px; }"));
    return box;
}

const QString kTerms = QStringLiteral(
    "1. Zantoria 是免费软件，欢迎自由使用和传播，但请保持软件包完整，不要修改或删除其中的文件。\n"
    "2. 请不要用它制作或发送骚扰他人的信息；使用本软件的后果由使用者自行承担。\n"
    "3. 发送功能会把文字写进打开的聊天窗口，发送前请确认目标窗口。\n"
    "4. 发现了问题或有好的想法？欢迎点击上方的“软件反馈”告诉我们，您的每一条意见都会让 Zantoria 变得更好！");

const QString kThanks = QStringLiteral("感谢每一位参与测试的朋友\n"
                                       "感谢为表情图库出力的网友\n"
                                       "感谢提出建议和报告问题的人\n"
                                       "也谢谢读到这里的你 ^_^");

} // namespace

AboutPanel::AboutPanel(PanelContext &context, QWidget *parent)
    : ContentPanel(context, parent)
{
}

QString AboutPanel::homePage()
{
    return QStringLiteral("https://zantoria.org");
}

QString AboutPanel::mailAddress()
{
    return QStringLiteral("feedback@zantoria.org");
}

QString AboutPanel::downloadPage(int product)
{
    return product == 0 ? QStringLiteral("https://zantoria.org/download/spacefold")
                        : QStringLiteral("https://zantoria.org/download/skinsmith");
}

void AboutPanel::initAbout()
{
    m_homePage = homePage();
    m_feedback = mailAddress() + QStringLiteral("?subject=用户反馈");
    m_cooperate = mailAddress() + QStringLiteral("?subject=寻求合作");
    buildControls();
    picAbout->setPixmap(QPixmap::fromImage(Logo::image(64)));
    setGeometry(5, 5, 417, 385);
    hide();
    setBackColor(context().colors->BackColor);
}

void AboutPanel::buildControls()
{
    if (picAbout)
        return;
    // Header card: logo, name, version; the maker and the links on the right.
    picAbout = new QLabel(this);
    picAbout->setObjectName(QStringLiteral("picAbout"));
    picAbout->setGeometry(20, 19, 64, 64);
    textLabel(this, QStringLiteral("Zantoria"), 98, 16, 22, kHeadingInk, true);
    textLabel(this, QStringLiteral("聊天字符画工具箱"), 99, 46, 12, kTextInk);
    textLabel(this, QStringLiteral("版本:1.2 Build 1103 "), 99, 66, 12, kTextInk);

    textLabel(this, QStringLiteral("作者: Morvenna"), 262, 20, 12, kTextInk);
    textLabel(this, QStringLiteral("主页:"), 262, 42, 12, kTextInk);
    lblHomePage = linkLabel(this, "lblHomePage", QUrl(m_homePage).host(), 294, 42);
    lblHomePage->setToolTip(m_homePage);
    lblBug = linkLabel(this, "lblBug", QStringLiteral("软件反馈"), 262, 64);
    lblCooperate = linkLabel(this, "lblCooperate", QStringLiteral("寻求合作"), 322, 64);
    connect(lblHomePage, &ClickLabel::Click, this, &AboutPanel::lblHomePage_Click);
    connect(lblBug, &ClickLabel::Click, this, &AboutPanel::lblBug_Click);
    connect(lblCooperate, &ClickLabel::Click, this, &AboutPanel::lblCooperate_Click);

    const QPoint iconAt[4] = {QPoint(12, 105), QPoint(218, 105), QPoint(12, 207), QPoint(384, 64)};
    for (int i = 0; i < 4; ++i) {
        auto *icon = new ClickLabel(this);
        imgAbout[i] = icon;
        icon->setObjectName(QStringLiteral("imgAbout_%1").arg(i));
        icon->setPixmap(QPixmap::fromImage(ShellPictures::aboutIcon(i)));
        icon->setGeometry(QRect(iconAt[i], QSize(16, 16)));
        if (i != 3)
            icon->setCursor(Qt::ArrowCursor);
        connect(icon, &ClickLabel::Click, this, [this, i] { imgAbout_Click(i); });
    }
    imgAbout[3]->setToolTip(QStringLiteral("帮助"));
    // The other three mark their sections; they are named after them.
    imgAbout[0]->setAccessibleName(QStringLiteral("Morvenna近期发表的软件"));
    imgAbout[1]->setAccessibleName(QStringLiteral("特别感谢"));
    imgAbout[2]->setAccessibleName(QStringLiteral("提请注意"));

    // The maker's other products.
    textLabel(this, QStringLiteral("Morvenna近期发表的软件:"), 32, 105, 12, kHeadingInk, true);
    const char *const names[2] = {"Spacefold", "Skinsmith"};
    const char *const notes[2] = {"空格压缩器", "皮肤工坊"};
    for (int i = 0; i < 2; ++i) {
        const int x = 22 + i * 96;
        auto *logo = new ClickLabel(this);
        picProduct[i] = logo;
        logo->setObjectName(QStringLiteral("picProduct_%1").arg(i));
        logo->setPixmap(QPixmap::fromImage(ShellPictures::productLogo(i, 38)));
        logo->setGeometry(x + 21, 128, 38, 38);
        logo->setToolTip(downloadPage(i));
        connect(logo, &ClickLabel::Click, this, [this, i] { picProduct_Click(i); });
        QLabel *name = textLabel(this, QString::fromLatin1(names[i]), x, 168, 12, kHeadingInk, true);
        name->setGeometry(x, 168, 80, 15);
        name->setAlignment(Qt::AlignHCenter);
        QLabel *note = textLabel(this, QString::fromUtf8(notes[i]), x, 183, 11, kTextInk);
        note->setGeometry(x, 183, 80, 14);
        note->setAlignment(Qt::AlignHCenter);
    }

    textLabel(this, QStringLiteral("特别感谢:)"), 238, 105, 12, kHeadingInk, true);
    txtAbout[1] = readOnlyBox(this, "txtAbout_1", kThanks, QRect(218, 123, 187, 80), 11);
    txtAbout[1]->setAccessibleName(QStringLiteral("特别感谢"));

    textLabel(this, QStringLiteral("提请注意:"), 32, 207, 12, kHeadingInk, true);
    QLabel *please = textLabel(this, QStringLiteral("(还请务必要看一下：O)"), 96, 207, 12, QColor(200, 60, 50));
    please->move(32 + please->fontMetrics().horizontalAdvance(QStringLiteral("提请注意: ")) + 8, 207);
    txtAbout[0] = readOnlyBox(this, "txtAbout_0", kTerms, QRect(12, 227, 393, 130), 12);
    txtAbout[0]->setAccessibleName(QStringLiteral("提请注意"));

    QLabel *rights = textLabel(this, QStringLiteral("版权所有 © Zantoria 项目，保留所有权利。"), 0, 362, 11,
                               QColor(120, 130, 146));
    rights->setGeometry(0, 362, 417, 16);
    rights->setAlignment(Qt::AlignHCenter);
}

void AboutPanel::paintEvent(QPaintEvent *event)
{
    PanelBox::paintEvent(event);
    // A light card behind the header and thin rules between the sections.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient card(0, 8, 0, 94);
    card.setColorAt(0, QColor(255, 255, 255));
    card.setColorAt(1, QColor(244, 248, 254));
    p.setPen(QColor(201, 214, 232));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(8.5, 8.5, 400, 86), 6, 6);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(214, 224, 238));
    p.drawLine(12, 101, 404, 101);
    p.drawLine(208, 108, 208, 200);
}

void AboutPanel::lblHomePage_Click()
{
    context().launcher->openUrl(QUrl(m_homePage));
}

void AboutPanel::lblBug_Click()
{
    context().launcher->openUrl(QUrl(QStringLiteral("mailto:") + m_feedback));
}

void AboutPanel::lblCooperate_Click()
{
    context().launcher->openUrl(QUrl(QStringLiteral("mailto:") + m_cooperate));
}

void AboutPanel::imgAbout_Click(int index)
{
    if (index == 3)
        context().dialogs->message(QStringLiteral("帮助文档正在制作当中...：）"), QStringLiteral("真的很抱歉^_^"),
                          Dialogs::Icon::Information);
}

void AboutPanel::picProduct_Click(int index)
{
    context().launcher->openUrl(QUrl(downloadPage(index)));
}
