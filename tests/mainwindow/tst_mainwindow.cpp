#include "scripteddialogs.h"
#include "tempprogramdir.h"

#include "app/aboutpanel.h"
#include "shell/widgets/coolbutton.h"
#include "shell/core/fonts.h"
#include "app/mainwindow.h"
#include "shell/widgets/panelbox.h"
#include "app/skinframe.h"
#include "shell/core/utilities.h"
#include "shell/widgets/contentpanel.h"
#include "shell/widgets/displayarea.h"

#include "send/sendtoolpanel.h"

#include <QDesktopServices>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

// Records what the program asks the desktop to open instead of opening it.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

// A panel that exists only here: what any new panel gets by one table row.
class TrialPanel : public ContentPanel
{
    Q_OBJECT

public:
    using ContentPanel::ContentPanel;
    void build() override
    {
        built = true;
        setGeometry(5, 5, 417, 385);
        m_view = new DisplayArea(this);
        hide();
    }
    DisplayArea *displayArea() const override { return m_view; }
    bool built = false;

private:
    DisplayArea *m_view = nullptr;
};

namespace {

const QColor kMenuLine(160, 150, 131);
const QColor kMenuHotLine(255, 255, 255);
const QColor kMenuBack(142, 219, 255);
const QColor kMenuHotBack(252, 205, 135);
const QColor kMenuSelBack(221, 221, 221);

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void areasFollowTheFrame();
    void menuEntriesFitTheColumn();
    void copyTargetStaysOnTheLastTextPanel();
    void currentDisplayAreaStaysWhilePanelsWithoutTextShow();
    void panelAddedByOneTableRow();
    void clickingTheSelectedEntryAgainRepaintsAll();
    void hoverFramesReadBackFromTheColumn();
    void beginBarHoverIsFramedOnTheStateBar();
    void beginBarFoldsTheColumnAndSwapsItsIcon();
    void runningTimeCountsFromTheEndOfLoading();
    void firstTickAfterLoadingShowsOneSecond();
    void controlButtonShowsAboutInPlace();
    void windowIsSkinnedWithoutMaximise();
    void lastEntryAndCloseButtonEndTheWindow_data();
    void lastEntryAndCloseButtonEndTheWindow();
    void keepOnTopFollowsTheSwitch();
    void aboutLinksOpenThroughTheDesktop();
    void helpIconApologises();

private:
    CoolButton *entry(int i) const { return m_window->btnSysMenu(i); }
    AboutPanel *about() const { return qobject_cast<AboutPanel *>(m_window->panBox(6)); }
    QColor columnPixel(int x, int y) const { return m_window->sysMenuBox()->grab().toImage().pixelColor(x, y); }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
    ScriptedDialogs *m_dialogs = nullptr;
    UrlRecorder m_urls;
    qint64 m_now = 5'000'000;
};

void TestMainWindow::initTestCase()
{
    Fonts::installSubstitutions();
    m_dir = std::make_unique<TempProgramDir>(true);
    for (const char *scheme : {"mailto", "https", "http"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_urls, "open");
}

void TestMainWindow::cleanupTestCase()
{
    for (const char *scheme : {"mailto", "https", "http"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void TestMainWindow::init()
{
    m_dialogs = ScriptedDialogs::install();
    m_urls.opened.clear();
    m_window = std::make_unique<MainWindow>(Places::portable(m_dir->path()));
    m_window->setClock([this] { return m_now; });
    m_window->Form_Load({});
}

void TestMainWindow::cleanup()
{
    m_window.reset();
}

void TestMainWindow::areasFollowTheFrame()
{
    MainWindow &w = *m_window;
    const SkinFrame &skin = w.skin();
    const int Lw = skin.pieceSize(SkinFrame::Left).width();
    const int Rw = skin.pieceSize(SkinFrame::Right).width();
    const int Th = skin.pieceSize(SkinFrame::Top).height();
    const int LBh = skin.pieceSize(SkinFrame::LeftBottom).height();
    QCOMPARE(w.size(), QSize(670, 450));

    const QRect bar = w.stateBar()->geometry();
    QCOMPARE(bar.left(), Lw);
    QCOMPARE(bar.width(), 670 - Lw - Rw);
    QCOMPARE(bar.bottom() + 1, 450 - LBh);
    QCOMPARE(bar.height(), w.sysMenuBeginBar()->height() + 1);

    const QRect menu = w.sysMenuBox()->geometry();
    QCOMPARE(menu.topLeft(), QPoint(Lw, Th));
    QCOMPARE(menu.width(), 110);

    const QRect tool = w.sendToolPanel()->geometry();
    QCOMPARE(tool.top(), Th);
    QCOMPARE(tool.right() + 1, 670 - Rw);

    // The content area fills the space between menu and tool panel, down to
    // the state bar, and every panel of 417 × 385 at (5, 5) fits inside it.
    const QRect content = w.panelMainBox()->geometry();
    QCOMPARE(content.left(), menu.right() + 1);
    QCOMPARE(content.right() + 1, tool.left());
    QCOMPARE(content.top(), Th);
    QCOMPARE(content.bottom() + 1, bar.top());
    QVERIFY(content.width() >= 5 + 417 + 5);
    QVERIFY(content.height() >= 5 + 385 + 5);

    // The state bar's running time ends 15 pixels from its right end; its
    // caption ends 5 pixels before it.
    const QLabel *time = w.lblStateTime();
    const QLabel *cap = w.lblStateTimeCap();
    const int timeWidth = QFontMetrics(time->font()).horizontalAdvance(time->text());
    QCOMPARE(time->x() + timeWidth, bar.width() - 15);
    QCOMPARE(cap->x() + QFontMetrics(cap->font()).horizontalAdvance(cap->text()), time->x() - 5);
    QCOMPARE(cap->text(), QStringLiteral("『Zantoria』已经运行了"));
}

void TestMainWindow::menuEntriesFitTheColumn()
{
    const QRect column = m_window->sysMenuBox()->rect();
    int lastBottom = -1;
    for (int i = 1; i <= MainWindow::MenuCount; ++i) {
        const QRect g = entry(i)->geometry();
        QVERIFY2(column.contains(g), qPrintable(QStringLiteral("entry %1").arg(i)));
        QVERIFY(g.top() > lastBottom);
        lastBottom = g.bottom();
        QCOMPARE(g.width(), 110);
    }
    QCOMPARE(entry(6)->caption().left(6), QStringLiteral("关    于"));
    QVERIFY(entry(0)->isHidden());
}

void TestMainWindow::copyTargetStaysOnTheLastTextPanel()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.CurPanel(), 1);
    QTest::mouseClick(entry(2), Qt::LeftButton);
    QCOMPARE(w.CurMenu(), 2);
    QCOMPARE(w.CurPanel(), 2);
    QTest::mouseClick(entry(5), Qt::LeftButton);
    QCOMPARE(w.CurMenu(), 5);
    QCOMPARE(w.CurPanel(), 2);
    QVERIFY(!w.panBox(5)->isHidden());
    QVERIFY(w.panBox(2)->isHidden());
    QTest::mouseClick(entry(6), Qt::LeftButton);
    QCOMPARE(w.CurPanel(), 2);
    QTest::mouseClick(entry(4), Qt::LeftButton);
    QCOMPARE(w.CurPanel(), 4);
}

void TestMainWindow::currentDisplayAreaStaysWhilePanelsWithoutTextShow()
{
    MainWindow &w = *m_window;
    PanelContext &context = w.context();
    QCOMPARE(context.currentDisplayArea(), w.panBox(1)->displayArea());
    QTest::mouseClick(entry(4), Qt::LeftButton);
    DisplayArea *picture = w.panBox(4)->displayArea();
    QVERIFY(picture);
    QCOMPARE(context.currentDisplayArea(), picture);
    for (int other : {5, 6, 5}) {
        QTest::mouseClick(entry(other), Qt::LeftButton);
        QVERIFY(!w.panBox(other)->displayArea());
        QCOMPARE(context.currentDisplayArea(), picture);
    }
    QTest::mouseClick(entry(2), Qt::LeftButton);
    QCOMPARE(context.currentDisplayArea(), w.panBox(2)->displayArea());
}

void TestMainWindow::panelAddedByOneTableRow()
{
    std::vector<PanelRow> rows = panelTable();
    for (PanelRow &row : rows) {
        if (row.entry == 3)
            row = {3, QStringLiteral("试验面板"), QStringLiteral("正在初始化[试验面板]..."),
                   [](PanelContext &context, QWidget *parent) { return new TrialPanel(context, parent); }};
    }
    MainWindow w(Places::portable(m_dir->path()), rows);
    QStringList said;
    w.Form_Load([&](const QString &text) { said << text; });
    QVERIFY(said.contains(QStringLiteral("正在初始化[试验面板]...")));

    auto *trial = qobject_cast<TrialPanel *>(w.panBox(3));
    QVERIFY(trial);
    QVERIFY(trial->built);
    QCOMPARE(trial->objectName(), QStringLiteral("panBox3"));
    QCOMPARE(trial->parentWidget(), w.panelMainBox());
    QCOMPARE(w.btnSysMenu(3)->caption(), PadCaption(QStringLiteral("试验面板")));
    QVERIFY(trial->isHidden());

    QTest::mouseClick(w.btnSysMenu(3), Qt::LeftButton);
    QVERIFY(!trial->isHidden());
    QVERIFY(w.panBox(1)->isHidden());
    QCOMPARE(w.CurPanel(), 3);
    QCOMPARE(w.context().currentDisplayArea(), trial->displayArea());
    QTest::mouseClick(w.btnSysMenu(6), Qt::LeftButton);
    QVERIFY(trial->isHidden());
    QCOMPARE(w.context().currentDisplayArea(), trial->displayArea());
}

void TestMainWindow::clickingTheSelectedEntryAgainRepaintsAll()
{
    MainWindow &w = *m_window;
    w.btnSysMenu_Click(3);
    // A hover left behind on another entry is taken back by the next click.
    w.btnSysMenu_MouseMove(5);
    QCOMPARE(entry(5)->buttonBackColor(), kMenuHotBack);
    w.btnSysMenu_Click(3);
    QCOMPARE(w.CurMenu(), 3);
    QVERIFY(!w.panBox(3)->isHidden());
    for (int i = 1; i <= MainWindow::MenuCount; ++i) {
        QCOMPARE(entry(i)->buttonBackColor(), i == 3 ? kMenuSelBack : kMenuBack);
        QCOMPARE(w.sysMenuBox()->frameColor(entry(i)), kMenuLine);
    }
}

void TestMainWindow::hoverFramesReadBackFromTheColumn()
{
    MainWindow &w = *m_window;
    const QRect second = entry(2)->geometry();
    const QRect first = entry(1)->geometry();
    const int x = second.center().x();
    QCOMPARE(columnPixel(x, second.top() - 1), kMenuLine);

    Q_EMIT entry(2)->MouseMove(Qt::NoButton, Qt::NoModifier, 5, 5);
    QCOMPARE(columnPixel(x, second.top() - 1), kMenuHotLine);
    QCOMPARE(columnPixel(x, second.bottom() + 1), kMenuHotLine);
    QCOMPARE(entry(2)->buttonBackColor(), kMenuHotBack);

    // The selected entry keeps its look under the pointer.
    Q_EMIT entry(1)->MouseMove(Qt::NoButton, Qt::NoModifier, 5, 5);
    QCOMPARE(columnPixel(x, first.top() - 1), kMenuLine);
    QCOMPARE(entry(1)->buttonBackColor(), kMenuSelBack);

    Q_EMIT entry(2)->MouseOut();
    QCOMPARE(columnPixel(x, second.top() - 1), kMenuLine);
    QCOMPARE(entry(2)->buttonBackColor(), kMenuBack);
    QCOMPARE(entry(1)->buttonBackColor(), kMenuSelBack);
    QCOMPARE(w.CurMenu(), 1);
}

void TestMainWindow::beginBarHoverIsFramedOnTheStateBar()
{
    PanelBox *bar = m_window->stateBar();
    CoolButton *button = m_window->sysMenuBeginBar();
    const QPoint rightEdge(button->geometry().right() + 1, button->height() / 2);
    QCOMPARE(bar->grab().toImage().pixelColor(rightEdge), QColor(177, 177, 177));
    Q_EMIT button->MouseMove(Qt::NoButton, Qt::NoModifier, 1, 1);
    QCOMPARE(bar->grab().toImage().pixelColor(rightEdge), QColor(49, 106, 197));
    QCOMPARE(button->buttonBackColor(), QColor(192, 210, 238));
    Q_EMIT button->MouseOut();
    QCOMPARE(bar->grab().toImage().pixelColor(rightEdge), QColor(177, 177, 177));
    QCOMPARE(button->buttonBackColor(), bar->backColor());
}

void TestMainWindow::beginBarFoldsTheColumnAndSwapsItsIcon()
{
    MainWindow &w = *m_window;
    const QRect content = w.panelMainBox()->geometry();
    QCOMPARE(w.sysMenuBeginBar()->buttonIcon().toImage(), w.sysMenuBeginBarImgDown().toImage());
    QVERIFY(w.sysMenuBeginBarImgDown().toImage() != w.sysMenuBeginBarImgUp().toImage());
    QTest::mouseClick(w.sysMenuBeginBar(), Qt::LeftButton);
    QVERIFY(w.sysMenuBox()->isHidden());
    QCOMPARE(w.sysMenuBeginBar()->buttonIcon().toImage(), w.sysMenuBeginBarImgUp().toImage());
    QCOMPARE(w.panelMainBox()->geometry(), content);
    QTest::mouseClick(w.sysMenuBeginBar(), Qt::LeftButton);
    QVERIFY(!w.sysMenuBox()->isHidden());
    QCOMPARE(w.sysMenuBeginBar()->buttonIcon().toImage(), w.sysMenuBeginBarImgDown().toImage());
}

void TestMainWindow::runningTimeCountsFromTheEndOfLoading()
{
    MainWindow &w = *m_window;
    const auto *timer = w.findChild<QTimer *>(QStringLiteral("timeState"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(w.lblStateTime()->text(), QStringLiteral("00:00:00"));
    m_now += 1000;
    w.timeState_Timer();
    QCOMPARE(w.lblStateTime()->text(), QStringLiteral("00:00:01"));
    // Past midnight and past a whole day the hours go on counting.
    m_now += (25 * 3600 + 3 * 60 + 6) * 1000LL;
    w.timeState_Timer();
    QCOMPARE(w.lblStateTime()->text(), QStringLiteral("25:03:07"));
}

void TestMainWindow::firstTickAfterLoadingShowsOneSecond()
{
    // On the real clock, with loading taking a while after the clock was built.
    MainWindow w(Places::portable(m_dir->path()));
    w.Form_Load([](const QString &text) {
        if (text == QStringLiteral("初始化完毕"))
            QThread::msleep(300);
    });
    auto *timer = w.findChild<QTimer *>(QStringLiteral("timeState"));
    QVERIFY(timer);
    QSignalSpy ticks(timer, &QTimer::timeout);
    QVERIFY(ticks.wait(3000));
    QCOMPARE(w.lblStateTime()->text(), QStringLiteral("00:00:01"));
}

void TestMainWindow::controlButtonShowsAboutInPlace()
{
    MainWindow &w = *m_window;
    QTest::mouseClick(entry(2), Qt::LeftButton);
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(w.skin().btnControl(), Qt::LeftButton);
        QCOMPARE(w.CurMenu(), 6);
        QCOMPARE(w.CurPanel(), 2);
        QVERIFY(!about()->isHidden());
        QCOMPARE(about()->geometry(), QRect(5, 5, 417, 385));
        QCOMPARE(about()->parentWidget(), w.panelMainBox());
    }
}

void TestMainWindow::windowIsSkinnedWithoutMaximise()
{
    MainWindow &w = *m_window;
    SkinFrame &skin = w.skin();
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(skin.btnMax()->isHidden());
    QCOMPARE(skin.btnMin()->x(), skin.btnClose()->x() - 2 - skin.btnMax()->width());
    QCOMPARE(skin.WinCaption()->text(), QStringLiteral("Zantoria"));
    QCOMPARE(skin.backColor(), w.colors().BackColor);
    QVERIFY(!skin.picturesLoaded()); // released once loading ended
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    skin.SkinCaptionDblClick(10);
    w.btnMax_Click();
    QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    // The window draws its frame from the kept image.
    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.pixelColor(300, 1), skin.frame().pixelColor(300, 1));
    QCOMPARE(shot.pixelColor(0, 200), skin.frame().pixelColor(0, 200));
}

void TestMainWindow::lastEntryAndCloseButtonEndTheWindow_data()
{
    QTest::addColumn<bool>("viaMenu");
    QTest::newRow("退    出") << true;
    QTest::newRow("close button") << false;
}

void TestMainWindow::lastEntryAndCloseButtonEndTheWindow()
{
    QFETCH(bool, viaMenu);
    MainWindow &w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(viaMenu ? entry(7) : w.skin().btnClose(), Qt::LeftButton);
    QVERIFY(!w.isVisible());
}

void TestMainWindow::keepOnTopFollowsTheSwitch()
{
    MainWindow &w = *m_window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.keepOnTop());
    w.setKeepOnTop(true);
    QVERIFY(w.keepOnTop());
    QVERIFY(w.isVisible());
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    w.setKeepOnTop(false);
    QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());
}

void TestMainWindow::aboutLinksOpenThroughTheDesktop()
{
    AboutPanel *panel = about();
    panel->lblBug_Click();
    panel->lblCooperate_Click();
    panel->lblHomePage_Click();
    m_window->imgLogo_Click();
    panel->picProduct_Click(0);
    QCOMPARE(m_urls.opened.size(), 5);
    QCOMPARE(m_urls.opened[0], QUrl(QStringLiteral("mailto:feedback@zantoria.org?subject=用户反馈")));
    QCOMPARE(m_urls.opened[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(m_urls.opened[0].path(), QStringLiteral("feedback@zantoria.org"));
    QCOMPARE(m_urls.opened[0].query(QUrl::FullyDecoded), QStringLiteral("subject=用户反馈"));
    QCOMPARE(m_urls.opened[1].query(QUrl::FullyDecoded), QStringLiteral("subject=寻求合作"));
    QCOMPARE(m_urls.opened[2], QUrl(QStringLiteral("https://zantoria.org")));
    QCOMPARE(m_urls.opened[3], m_urls.opened[2]); // the menu's logo opens the same home page
    QCOMPARE(m_urls.opened[4].host(), QStringLiteral("zantoria.org"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestMainWindow::helpIconApologises()
{
    AboutPanel *panel = about();
    for (int i = 0; i < 3; ++i)
        panel->imgAbout_Click(i);
    QVERIFY(m_dialogs->shown.isEmpty());
    panel->imgAbout_Click(3);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("帮助文档正在制作当中...：）"));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("真的很抱歉^_^"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Information);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
