#include "scripteddialogs.h"
#include "tempprogramdir.h"

#include "shell/widgets/coolbutton.h"
#include "shell/core/fonts.h"
#include "app/mainwindow.h"
#include "app/skinframe.h"
#include "app/splashwindow.h"
#include "app/startup.h"
#include "shell/core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QColor kTopMarker(255, 0, 0);
const QColor kTopFill(0, 0, 200);
const QColor kLeftTop(0, 200, 0);
const QColor kEdge(90, 90, 90);
const QColor kBackPicture(12, 34, 56);

QImage solid(QSize size, const QColor &colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// A skin of plain pieces: a 30 × 20 top piece whose first column is marked,
// 3-pixel edges, 6 × 20 upper corners and 20 × 14 caption icons.
void writeSkin(const QString &dir, const QString &ini)
{
    QDir().mkpath(dir);
    for (int piece = 1; piece <= SkinFrame::kPieceCount; ++piece) {
        QImage img;
        switch (piece) {
        case SkinFrame::Top:
            img = solid(QSize(30, 20), kTopFill);
            for (int y = 0; y < 20; ++y)
                img.setPixelColor(0, y, kTopMarker);
            break;
        case SkinFrame::LeftTop: img = solid(QSize(6, 20), kLeftTop); break;
        case SkinFrame::RightTop: img = solid(QSize(6, 20), kLeftTop); break;
        case SkinFrame::Bottom:
        case SkinFrame::LeftBottom:
        case SkinFrame::RightBottom: img = solid(QSize(3, 3), kEdge); break;
        case SkinFrame::Left:
        case SkinFrame::Right: img = solid(QSize(3, 10), kEdge); break;
        case SkinFrame::BtnControl: img = solid(QSize(12, 12), Qt::white); break;
        default: img = solid(QSize(20, 14), Qt::gray); break;
        }
        QVERIFY(img.save(dir + u'/' + SkinFrame::pieceFileName(piece), "BMP"));
    }
    QVERIFY(solid(QSize(7, 7), kBackPicture).save(dir + QStringLiteral("/back.bmp"), "BMP"));
    QVERIFY(TextCodec::writeFile(dir + QStringLiteral("/Skin.ini"), ini));
}

const QString kPlainIni = QStringLiteral("Red=200\r\nGreen=210\r\nBlue=220\r\nBackPicture=\r\n");

} // namespace

class TestSkinFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::installSubstitutions(); }
    void init() { m_dialogs = ScriptedDialogs::install(); }
    void tileRowDrawsFourTimesOnAHundredPixels();
    void frameLaysCornersOverEdgesOverBackground_data();
    void frameLaysCornersOverEdgesOverBackground();
    void brokenSkinThrows_data();
    void brokenSkinThrows();
    void brokenDefaultSkinEndsStartUpWithTheSkinMessage_data();
    void brokenDefaultSkinEndsStartUpWithTheSkinMessage();
    void nomaxPutsMinimiseInMaximisesPlace();
    void doubleClickOnTheCaptionMaximisesOnlyWhenAllowed();
    void captionCentredForModeM();
    void dragBandOfTheDefaultSkin();
    void frameStaysAfterThePicturesAreReleased();
    void captionButtonLightsUnderThePointer();

private:
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestSkinFrame::tileRowDrawsFourTimesOnAHundredPixels()
{
    QImage piece = solid(QSize(30, 1), kTopFill);
    piece.setPixelColor(0, 0, kTopMarker);
    QImage row = solid(QSize(100, 1), Qt::black);
    SkinFrame skin;
    {
        QPainter p(&row);
        skin.TileSkinRow(p, piece, 0);
    }
    QList<int> marks;
    for (int x = 0; x < row.width(); ++x) {
        if (row.pixelColor(x, 0) == kTopMarker)
            marks << x;
    }
    QCOMPARE(marks, (QList<int>{0, 30, 60, 90}));
    QCOMPARE(row.pixelColor(99, 0), kTopFill); // the last copy runs past the end
}

void TestSkinFrame::frameLaysCornersOverEdgesOverBackground_data()
{
    QTest::addColumn<QString>("backPicture");
    QTest::addColumn<QColor>("inside");
    QTest::newRow("no picture") << "" << QColor(200, 210, 220);
    QTest::newRow("tiled picture") << "back.bmp" << kBackPicture;
}

void TestSkinFrame::frameLaysCornersOverEdgesOverBackground()
{
    QFETCH(QString, backPicture);
    QFETCH(QColor, inside);
    QTemporaryDir dir;
    writeSkin(dir.path(), QStringLiteral("Red=200\r\nGreen=210\r\nBlue=220\r\nBackPicture=") + backPicture);
    QWidget window;
    window.resize(100, 80);
    SkinFrame skin;
    skin.InitSkinForm(&window, QStringLiteral("T"), QStringLiteral("m"), QString(), dir.path());
    const QImage frame = skin.frame();
    QCOMPARE(frame.size(), QSize(100, 80));
    QCOMPARE(frame.pixelColor(50, 50), inside);
    QCOMPARE(frame.pixelColor(60, 10), kTopMarker); // a tile of the top piece
    QCOMPARE(frame.pixelColor(45, 10), kTopFill);
    QCOMPARE(frame.pixelColor(2, 10), kLeftTop);    // corner over the left edge
    QCOMPARE(frame.pixelColor(97, 10), kLeftTop);   // and over the right one
    QCOMPARE(frame.pixelColor(1, 50), kEdge);
    QCOMPARE(frame.pixelColor(50, 78), kEdge);
    QCOMPARE(skin.backColor(), QColor(200, 210, 220));
    QCOMPARE(skin.hasBackPicture(), !backPicture.isEmpty());
}

void TestSkinFrame::brokenSkinThrows_data()
{
    QTest::addColumn<QString>("missingFile");
    QTest::addColumn<QString>("ini");
    QTest::newRow("no formlostfocus.bmp") << "formlostfocus.bmp" << kPlainIni;
    QTest::newRow("no top.bmp") << "top.bmp" << kPlainIni;
    QTest::newRow("no Skin.ini") << "Skin.ini" << kPlainIni;
    QTest::newRow("no Green") << "" << "Red=1\r\nBlue=3\r\n";
    QTest::newRow("lower-case red") << "" << "red=200\r\nGreen=2\r\nBlue=3\r\n";
    QTest::newRow("Blue not a number") << "" << "Red=1\r\nGreen=2\r\nBlue=blue\r\n";
    QTest::newRow("background picture missing") << "" << "Red=1\r\nGreen=2\r\nBlue=3\r\nBackPicture=gone.bmp\r\n";
}

void TestSkinFrame::brokenSkinThrows()
{
    QFETCH(QString, missingFile);
    QFETCH(QString, ini);
    QTemporaryDir dir;
    writeSkin(dir.path(), ini);
    if (!missingFile.isEmpty())
        QVERIFY(QFile::remove(dir.filePath(missingFile)));
    QWidget window;
    window.resize(200, 100);
    SkinFrame skin;
    QVERIFY_THROWS_EXCEPTION(SkinError, skin.InitSkinForm(&window, QStringLiteral("T"), QStringLiteral("m"),
                                                          QStringLiteral("nomax"), dir.path()));
}

void TestSkinFrame::brokenDefaultSkinEndsStartUpWithTheSkinMessage_data()
{
    QTest::addColumn<std::function<void(const QString &)>>("damage");
    QTest::newRow("formlostfocus.bmp deleted") << std::function<void(const QString &)>([](const QString &skin) {
        QVERIFY(QFile::remove(skin + QStringLiteral("/formlostfocus.bmp")));
    });
    QTest::newRow("Green key removed") << std::function<void(const QString &)>([](const QString &skin) {
        QVERIFY(TextCodec::writeFile(skin + QStringLiteral("/Skin.ini"), QStringLiteral("Red=1\r\nBlue=2\r\n")));
    });
}

void TestSkinFrame::brokenDefaultSkinEndsStartUpWithTheSkinMessage()
{
    QFETCH(std::function<void(const QString &)>, damage);
    TempProgramDir dir(true);
    const QString skinDir = dir.file(QStringLiteral("Skin/Default"));
    QVERIFY(QFile::exists(skinDir + QStringLiteral("/formlostfocus.bmp")));
    damage(skinDir);
    SplashWindow splash;
    const int status = Startup::guarded([&] {
        const auto window = Startup::loadMainWindow(Places::portable(dir.path()), splash);
        return 0;
    });
    QCOMPARE(status, Startup::kExitSkin);
    QCOMPARE(m_dialogs->shown.size(), 1);
    const ScriptedDialogs::Shown &shown = m_dialogs->shown.first();
    QCOMPARE(shown.kind, QStringLiteral("message"));
    QCOMPARE(shown.text, QStringLiteral("初始化系统皮肤时出现错误，可能是系统的默认皮肤文件已经被损坏或非法修改。：O\r\n"
                                        "建议重新安装『Zantoria』，确认后程序会自动结束。"));
    QCOMPARE(shown.title, QStringLiteral("『Zantoria』提醒您：)"));
    QCOMPARE(shown.icon, Dialogs::Icon::Information);
}

void TestSkinFrame::nomaxPutsMinimiseInMaximisesPlace()
{
    QTemporaryDir dir;
    writeSkin(dir.path(), kPlainIni);
    QWidget free;
    QWidget nomax;
    free.resize(300, 120);
    nomax.resize(300, 120);
    SkinFrame freeSkin;
    SkinFrame nomaxSkin;
    freeSkin.InitSkinForm(&free, QStringLiteral("T"), QStringLiteral("m"), QString(), dir.path());
    nomaxSkin.InitSkinForm(&nomax, QStringLiteral("T"), QStringLiteral("m"), QStringLiteral("nomax"), dir.path());

    // Buttons are the icon plus 4 by plus 2, from 2 pixels inside the right edge.
    QCOMPARE(freeSkin.btnClose()->geometry(), QRect(298 - 24 - 2, 2, 24, 16));
    QCOMPARE(freeSkin.btnMax()->x(), 272 - 2 - 24);
    QCOMPARE(freeSkin.btnMin()->x(), freeSkin.btnMax()->x() - 24);
    QVERIFY(!freeSkin.btnMax()->isHidden());

    QVERIFY(nomaxSkin.btnMax()->isHidden());
    QVERIFY(!nomaxSkin.btnMin()->isHidden());
    QCOMPARE(nomaxSkin.btnMin()->x(), freeSkin.btnMax()->x());
    QCOMPARE(nomaxSkin.btnMin()->y(), freeSkin.btnMax()->y());
    QVERIFY(!nomaxSkin.maxAllowed());
}

void TestSkinFrame::doubleClickOnTheCaptionMaximisesOnlyWhenAllowed()
{
    QTemporaryDir dir;
    writeSkin(dir.path(), kPlainIni);
    for (const bool allowed : {true, false}) {
        QWidget window;
        window.resize(300, 120);
        SkinFrame skin;
        skin.InitSkinForm(&window, QStringLiteral("T"), QStringLiteral("m"),
                          allowed ? QString() : QStringLiteral("nomax"), dir.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, QPoint(150, 30)); // below the caption
        QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(150, 30));
        QVERIFY(!(window.windowState() & Qt::WindowMaximized));
        QTest::mouseMove(&window, QPoint(150, 10));
        QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(150, 10));
        QCOMPARE(bool(window.windowState() & Qt::WindowMaximized), allowed);
        skin.SkinMaxRestore();
        QVERIFY(!(window.windowState() & Qt::WindowMaximized));
    }
}

void TestSkinFrame::captionCentredForModeM()
{
    QTemporaryDir dir;
    writeSkin(dir.path(), kPlainIni);
    for (const char *mode : {"m", "M", "l"}) {
        QWidget window;
        window.resize(400, 120);
        SkinFrame skin;
        skin.InitSkinForm(&window, QStringLiteral("Zantoria"), QLatin1String(mode), QStringLiteral("nomax"),
                          dir.path());
        const QLabel *caption = skin.WinCaption();
        QCOMPARE(caption->text(), QStringLiteral("Zantoria"));
        const int width = QFontMetrics(caption->font()).horizontalAdvance(QStringLiteral("Zantoria"));
        const int expected = QLatin1String(mode).compare(QLatin1String("m"), Qt::CaseInsensitive) == 0
                                 ? (400 - width) / 2
                                 : skin.btnControl()->width() + 3 + 10;
        QCOMPARE(caption->x(), expected);
        QCOMPARE(caption->y(), skin.btnMin()->y());
    }
}

void TestSkinFrame::dragBandOfTheDefaultSkin()
{
    TempProgramDir dir(true);
    QWidget window;
    window.resize(670, 450);
    SkinFrame skin;
    skin.InitSkinForm(&window, QStringLiteral("Zantoria"), QStringLiteral("m"), QStringLiteral("nomax"),
                      dir.file(QStringLiteral("Skin/Default")));
    QVERIFY(skin.captionHeight() > 10);
    QVERIFY(!skin.SkinDragWindow(Qt::LeftButton, 20, 3, QString()));
    QVERIFY(skin.SkinDragWindow(Qt::LeftButton, 20, 10, QString()));
    QVERIFY(!skin.SkinDragWindow(Qt::RightButton, 20, 10, QString()));
    QVERIFY(skin.SkinDragWindow(Qt::LeftButton, 2, 2, QStringLiteral("l")));
}

void TestSkinFrame::frameStaysAfterThePicturesAreReleased()
{
    QTemporaryDir dir;
    writeSkin(dir.path(), kPlainIni);
    QWidget window;
    window.resize(120, 60);
    SkinFrame skin;
    skin.InitSkinForm(&window, QStringLiteral("T"), QStringLiteral("m"), QStringLiteral("nomax"), dir.path());
    const QImage before = skin.frame();
    skin.FreeSkinPics();
    QVERIFY(!skin.picturesLoaded());
    skin.DrawSkinFrame();
    QCOMPARE(skin.frame(), before);
    QCOMPARE(skin.pieceSize(SkinFrame::Top), QSize(30, 20));
    QVERIFY(!skin.btnClose()->buttonIcon().isNull());
}

void TestSkinFrame::captionButtonLightsUnderThePointer()
{
    QTemporaryDir dir;
    writeSkin(dir.path(), kPlainIni);
    QWidget window;
    window.resize(200, 60);
    SkinFrame skin;
    skin.InitSkinForm(&window, QStringLiteral("T"), QStringLiteral("m"), QStringLiteral("nomax"), dir.path());
    CoolButton *close = skin.btnClose();
    CoolButton *min = skin.btnMin();
    const QImage rest = close->picture().toImage();
    const QImage restIcon = close->buttonIcon().toImage();
    Q_EMIT close->MouseMove(Qt::NoButton, Qt::NoModifier, 3, 3);
    QVERIFY(close->picture().toImage() != rest);
    // Moving straight onto the next button takes the first one back.
    Q_EMIT min->MouseMove(Qt::NoButton, Qt::NoModifier, 3, 3);
    QCOMPARE(close->picture().toImage(), rest);
    QCOMPARE(close->buttonIcon().toImage(), restIcon);
    Q_EMIT min->MouseOut();
    QCOMPARE(min->picture().toImage(), rest);
}

QTEST_MAIN(TestSkinFrame)
#include "tst_skinframe.moc"
