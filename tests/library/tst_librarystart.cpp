// The library in the whole program: entry 1, built while loading, shown at
// start with the sample tips, and the display area the tool panel acts on.

#include "scripteddialogs.h"
#include "tempprogramdir.h"

#include "library/librarypanel.h"
#include "app/mainwindow.h"
#include "shell/core/fonts.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"

#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

class TestLibraryStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shownAtStartWithTheSampleTips_data();
    void shownAtStartWithTheSampleTips();
};

void TestLibraryStart::shownAtStartWithTheSampleTips_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("portable") << false;
    QTest::newRow("installed, first start") << true;
}

void TestLibraryStart::shownAtStartWithTheSampleTips()
{
    QFETCH(bool, installed);
    Fonts::installSubstitutions();
    ScriptedDialogs *dialogs = ScriptedDialogs::install();
    TempProgramDir dir(!installed);
    Places places = Places::portable(dir.path());
    if (installed) {
        // The programs in prefix/lib/zantoria, what ships (as the build
        // installs it) in prefix/share/zantoria, and a home of its own.
        QVERIFY(QDir().mkpath(dir.file(QStringLiteral("usr/lib/zantoria"))));
        QVERIFY(QDir().mkpath(dir.file(QStringLiteral("usr/share"))));
        QVERIFY(QFile::link(QStringLiteral(ZANTORIA_PROGRAM_DIR "/../share/zantoria"),
                            dir.file(QStringLiteral("usr/share/zantoria"))));
        places = Places::decide(dir.file(QStringLiteral("usr/lib/zantoria")), QString(), dir.file(QStringLiteral("home")));
        QCOMPARE(places.mode(), Places::Mode::Installed);
        QVERIFY(places.prepare(nullptr));
    }
    QStringList splash;
    MainWindow window(places);
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
    if (installed)
        QCOMPARE(panel->findChild<QListWidget *>(QStringLiteral("lstPicType"))->count(),
                 QDir(dir.file(QStringLiteral("home/.local/share/zantoria/data/Zantoria秘笈/Words")))
                     .entryList(QDir::Files)
                     .size());
}

QTEST_MAIN(TestLibraryStart)
#include "tst_librarystart.moc"
