// What assistive technology (a screen reader, GUI automation on the
// accessibility bus) sees of the program's controls: buttons as push buttons
// named by their caption that can be pressed, and every other control named
// by its caption or by the frame or label that names it.

#include "tempprogramdir.h"
#include "testcontext.h"

#include "art/pictotextpanel.h"
#include "paint/paintpanel.h"
#include "library/librarypanel.h"
#include "library/tipsearch.h"
#include "app/mainwindow.h"
#include "shell/core/fonts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/clicklabel.h"
#include "shell/widgets/contentpanel.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object)
{
    QAccessibleInterface *iface = accessible(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

void press(QObject *object)
{
    QAccessibleActionInterface *actions = accessible(object)->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::pressAction());
}

// The controls a person works with, leaving out the parts Qt builds inside
// them (a scroll area's bars, a combo box's list).
bool isControl(QWidget *w)
{
    if (qobject_cast<QAbstractSlider *>(w)) {
        for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
            if (qobject_cast<QAbstractScrollArea *>(p))
                return false;
        }
    }
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<QComboBox *>(p))
            return false;
    }
    return qobject_cast<CoolButton *>(w) || qobject_cast<ClickLabel *>(w) || qobject_cast<QAbstractButton *>(w)
        || qobject_cast<QAbstractItemView *>(w) || qobject_cast<QLineEdit *>(w)
        || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSlider *>(w);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void coolButtonIsAPushButtonNamedByItsCaption();
    void coolButtonPressActsLikeAClick();
    void clickablePictureIsAButtonToo();
    void picturePanelControlsCarryTheirCaptions();
    void paintToolsCarryTheirCaptions();
    void librarySearchCarriesItsNames();
    void everyControlOfTheMainWindowHasAName();
};

void TestAccessibility::initTestCase()
{
    // Interfaces are made only for an active accessibility client; a test
    // is one.
    QAccessible::setActive(true);
}

void TestAccessibility::coolButtonIsAPushButtonNamedByItsCaption()
{
    QWidget window;
    auto *button = new CoolButton(&window);
    button->setCaption(PadCaption(QStringLiteral("保存")));
    QAccessibleInterface *iface = accessible(button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("保存"));
    QVERIFY(!iface->state().disabled);
    // A caption changed at run time renames the button; inner blanks stay.
    button->setCaption(QStringLiteral("  关    于　　"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("关    于"));
    button->setEnabled(false);
    QVERIFY(iface->state().disabled);
    QVERIFY(iface->actionInterface());
    QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

void TestAccessibility::coolButtonPressActsLikeAClick()
{
    QWidget window;
    auto *button = new CoolButton(QStringLiteral("转化"), &window);
    QSignalSpy clicks(button, &CoolButton::Click);
    press(button);
    QCOMPARE(clicks.size(), 1);
    button->setEnabled(false);
    press(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
}

void TestAccessibility::clickablePictureIsAButtonToo()
{
    QWidget window;
    auto *picture = new ClickLabel(&window);
    picture->setToolTip(QStringLiteral("关于空格压缩器"));
    QSignalSpy clicks(picture, &ClickLabel::Click);
    QCOMPARE(accessible(picture)->role(), QAccessible::Button);
    QCOMPARE(nameOf(picture), QStringLiteral("关于空格压缩器"));
    press(picture);
    QCOMPARE(clicks.size(), 1);

    auto *link = new ClickLabel(QStringLiteral("<u>软件反馈</u>"), &window);
    link->setTextFormat(Qt::RichText);
    QCOMPARE(nameOf(link), QStringLiteral("软件反馈"));
}

void TestAccessibility::picturePanelControlsCarryTheirCaptions()
{
    TempProgramDir dir(true);
    TestContext ctx(dir.path());
    PicToTextPanel panel(ctx.context);
    panel.InitCCMY();
    const auto named = [&](const char *objectName) {
        QWidget *w = panel.findChild<QWidget *>(QLatin1String(objectName));
        return w ? nameOf(w) : QStringLiteral("(missing)");
    };
    QCOMPARE(named("lstMYSource"), QStringLiteral("常用磨牙资源"));
    QCOMPARE(named("textMYGraySet"), QStringLiteral("灰度设置(可以通过设置重复的灰度字符来增强明暗对比)"));
    QCOMPARE(named("imgMYPre"), QStringLiteral("图片预览"));
    QCOMPARE(named("textMYPicView"), QStringLiteral("磨牙结果"));
    QCOMPARE(named("optMYSource0"), QStringLiteral("表情图片"));
    QCOMPARE(named("chkMYSetGray2"), QStringLiteral("自定义灰度"));
    QCOMPARE(named("chkMYAddMode"), QStringLiteral("追加模式"));
    QCOMPARE(named("spinMYWidth"), QStringLiteral("宽度"));
    QCOMPARE(named("spinMYHeight"), QStringLiteral("高度"));
    QCOMPARE(named("chkMYKeepAspect"), QStringLiteral("保持比例"));
    QCOMPARE(named("chkMYBraille"), QStringLiteral("盲文"));
    auto *start = panel.findChild<CoolButton *>(QStringLiteral("btnMY0"));
    QVERIFY(start);
    QCOMPARE(named("btnMY0"), start->caption().trimmed());
    QVERIFY(!named("btnMY0").isEmpty());
}

void TestAccessibility::paintToolsCarryTheirCaptions()
{
    TempProgramDir dir(true);
    TestContext ctx(dir.path());
    PaintPanel panel(ctx.context);
    panel.InitTH();
    const QStringList names{"画笔", "橡皮", "直线", "矩形", "填充", "选取"};
    for (int i = 0; i < names.size(); ++i) {
        QAccessibleInterface *tool = accessible(panel.findChild<QRadioButton *>(QStringLiteral("thOptTool%1").arg(i)));
        QCOMPARE(tool->text(QAccessible::Name), names[i]);
        tool->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(int(panel.tool()), i);
    }
    QCOMPARE(nameOf(panel.findChild<QCheckBox *>(QStringLiteral("chkTHFilled"))), QStringLiteral("实心"));
}

void TestAccessibility::librarySearchCarriesItsNames()
{
    TempProgramDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/data/Zantoria秘笈/Words"));
    QFile tip(dir.path() + QStringLiteral("/data/Zantoria秘笈/Words/hello.txt"));
    QVERIFY(tip.open(QIODevice::WriteOnly));
    tip.close();
    TestContext ctx(dir.path());
    LibraryPanel panel(ctx.context);
    panel.InitCCMJ();
    QTRY_VERIFY(panel.search().isReady());
    auto *box = panel.findChild<QLineEdit *>(QStringLiteral("txtMJSearch"));
    auto *hits = panel.findChild<QListWidget *>(QStringLiteral("lstMJHits"));
    QVERIFY(box && hits);
    QVERIFY(nameOf(box).contains(QStringLiteral("搜索")));
    QCOMPARE(accessible(box)->role(), QAccessible::EditableText);
    // Typed through the interface, as a screen reader's user types.
    accessible(box)->editableTextInterface()->insertText(0, QStringLiteral("he"));
    QCOMPARE(nameOf(hits), QStringLiteral("搜索结果"));
    QCOMPARE(accessible(hits)->childCount(), 1);
    QVERIFY(accessible(hits)->child(0)->text(QAccessible::Name).contains(QStringLiteral("hello")));
}

void TestAccessibility::everyControlOfTheMainWindowHasAName()
{
    TempProgramDir dir(true);
    MainWindow window(Places::portable(dir.path()));
    window.Form_Load({});
    QStringList unnamed;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!isControl(w))
            continue;
        if (nameOf(w).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2) in %3")
                           .arg(w->objectName(), QLatin1String(w->metaObject()->className()),
                                w->parentWidget() ? w->parentWidget()->objectName() : QString());
        if (qobject_cast<CoolButton *>(w) || qobject_cast<ClickLabel *>(w))
            QCOMPARE(accessible(w)->role(), QAccessible::Button);
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u'\n')));
    QCOMPARE(nameOf(window.btnSysMenu(4)), QStringLiteral("图片磨牙"));
    // The tool panel's chosen window, as a screen reader finds its buttons.
    for (const QString part : {QStringLiteral("选择窗口"), QStringLiteral("清除")}) {
        const QList<CoolButton *> buttons = window.findChildren<CoolButton *>();
        QVERIFY2(std::any_of(buttons.begin(), buttons.end(),
                             [&](CoolButton *b) { return nameOf(b).contains(part) && accessible(b)->actionInterface(); }),
                 qPrintable(part));
    }
}

int main(int argc, char **argv)
{
    Fonts::installSubstitutions();
    QApplication app(argc, argv);
    TestAccessibility test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibility.moc"
