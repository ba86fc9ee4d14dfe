// The library in the whole program: entry 1, built while loading, shown at
// start with the sample tips, and the display area the tool panel acts on.

#include "scripteddialogs.h"
#include "tempprogramdir.h"

#include "library/librarypanel.h"
#include "app/mainwindow.h"
#include "shell/core/fonts.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"

#include <QListWidget>
#include <QRadioButton>
#include <QTest>

class TestLibraryStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shownAtStartWithTheSampleTips();
};

void TestLibraryStart::shownAtStartWithTheSampleTips()
{
    Fonts::installSubstitutions();
    ScriptedDialogs *dialogs = ScriptedDialogs::install();
    TempProgramDir dir(true);
    QStringList splash;
    MainWindow window(dir.path());
    window.Form_Load([&](const QString &text) { splash << text; });

    auto *panel = qobject_cast<LibraryPanel *>(window.panBox(1));
    QVERIFY(panel);
    QCOMPARE(window.menuCaption(1), QStringLiteral("Zantoria秘笈"));
    QVERIFY(splash.contains(QStringLiteral("正在初始化[Zantoria秘笈]...")));
    QCOMPARE(window.CurMenu(), 1);
    QCOMPARE(window.CurPanel(), 1);
    QVERIFY(!panel->isHidden());
    QCOMPARE(window.context().currentDisplayArea(), panel->displayArea());
    QCOMPARE(panel->displayArea()->objectName(), QStringLiteral("textPicView"));

    // A new user finds a text picture shown and more in both kinds.
    auto *list = panel->findChild<QListWidget *>(QStringLiteral("lstPicType"));
    QVERIFY(list->count() >= 3);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(panel->shows(), LibraryPanel::Shows::Tip);
    QVERIFY(panel->displayArea()->text().contains(QStringLiteral("■")));
    panel->findChild<QRadioButton *>(QStringLiteral("optMJStyle1"))->setChecked(true);
    QVERIFY(list->count() >= 3);
    QVERIFY(!panel->displayArea()->isEmpty());
    QVERIFY(dialogs->shown.isEmpty());
}

QTEST_MAIN(TestLibraryStart)
#include "tst_librarystart.moc"
