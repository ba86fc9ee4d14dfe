// The picture panel on its own, built as the main window builds it, on a
// throw-away program directory holding the sample pictures.

#include "artfixtures.h"

#include "art/graypresets.h"
#include "art/pictotextpanel.h"

#include "testcontext.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/core/fonts.h"
#include "shell/core/textcodec.h"
#include "tempprogramdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

using namespace ArtFixtures;

namespace {

const QString kFaces = QStringLiteral("data/磨牙资源/表情图片");

// The pointer moving over a control (the panel itself stays hidden).
void hover(QWidget *w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

} // namespace

class TestPicToTextPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void otherResourceListsLoadTheirFirstPicture();
    void emptyResourceDirectoryRefusesConversion();
    void conversionFillsDisplayFromTempFile();
    void addModeNeedsTextInTheDisplay();
    void addModeAppendsAfterSeparator();
    void stopButtonDuringConversion_data();
    void stopButtonDuringConversion();
    void startPressedAgainWhileRunningIsIgnored();
    void outsideFileKeepsListAndDialogName();
    void outsideFileMissing();
    void unreadablePictureKeepsWhatWasShown();
    void hugePictureRefused();
    void previewFitAndParticulars();
    void grayOptions();
    void customGrayTooShortBringsDefaultBack();
    void customGrayFullWidthKeptAsTyped();
    void customGrayReorderedOnLeaving();
    void fontSize_data();
    void fontSize();
    void clearDisplay_data();
    void clearDisplay();
    void unwritableTempFile();
    void hoverFrames();
    void outputOptions_data();
    void outputOptions();
    void outputTooLargeRefused();

private:
    template<typename T>
    T *control(const QString &name) const
    {
        T *c = m_panel->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    DisplayArea *display() const { return m_panel->textMYPicView(); }
    QString tempText() const { return QString::fromLatin1(readBytes(m_panel->tempFile())); }
    void build(bool withSamples = true);

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<TestContext> m_ctx;
    ColorScheme m_colors = defaultColorScheme();
    std::unique_ptr<PicToTextPanel> m_panel;
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestPicToTextPanel::init()
{
    build();
}

void TestPicToTextPanel::cleanup()
{
    m_panel.reset();
    m_ctx.reset();
    m_dir.reset();
}

void TestPicToTextPanel::build(bool withSamples)
{
    m_panel.reset();
    m_dir = std::make_unique<TempProgramDir>(withSamples);
    for (const char *sub : {"表情图片", "短信图片", "超Cool头像"})
        QDir().mkpath(m_dir->file(QStringLiteral("data/磨牙资源/") + QString::fromUtf8(sub)));
    m_ctx = std::make_unique<TestContext>(m_dir->path());
    m_dialogs = &m_ctx->dialogs;
    m_panel = std::make_unique<PicToTextPanel>(m_ctx->context);
    m_panel->InitCCMY();
}

void TestPicToTextPanel::startState()
{
    QCOMPARE(m_panel->geometry(), QRect(5, 5, 417, 385));
    QVERIFY(m_panel->isHidden());
    QCOMPARE(m_panel->backColor(), m_colors.BackColor);
    QVERIFY(control<QRadioButton>("optMYSource0")->isChecked());
    auto *list = control<QListWidget>("lstMYSource");
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->currentRow(), 0);
    const QString first = list->item(0)->text();
    QCOMPARE(m_panel->picPath(), m_dir->file(kFaces + u'/' + first));
    QVERIFY(!m_panel->picture().isNull());
    QCOMPARE(control<QLabel>("lblMYPicName")->text(), QStringLiteral("文件名：") + first.chopped(4));
    QCOMPARE(control<QLabel>("lblMYPicType")->text(), QStringLiteral("类型：") + first.right(3).toUpper());
    const QSize size = m_panel->picture().size();
    QVERIFY(size.width() > 0 && size.width() <= 64 && size.height() <= 64); // small enough to show whole
    QCOMPARE(m_panel->picSize(), size);
    QCOMPARE(control<QLabel>("lblMYPicWH")->text(),
             QStringLiteral("宽×高：%1×%2").arg(size.width()).arg(size.height()));

    auto *gray = control<QLineEdit>("textMYGraySet");
    QVERIFY(control<QRadioButton>("chkMYSetGray0")->isChecked());
    QVERIFY(gray->isReadOnly());
    QCOMPARE(gray->text(), m_panel->grayNormal());
    QCOMPARE(m_panel->grayInUse(), m_panel->grayNormal());
    QCOMPARE(gray->toolTip(), QStringLiteral("〔共18阶灰度〕") + m_panel->grayNormal());
    QCOMPARE(m_panel->grayNormal().size(), 18);
    QCOMPARE(m_panel->gray94().size(), 94);
    QCOMPARE(m_panel->grayCustom().size(), 21);
    QCOMPARE(m_panel->grayCustomDefault(), m_panel->grayCustom());
    QVERIFY(m_panel->grayNormal().endsWith(u' '));

    QVERIFY(!control<QCheckBox>("chkMYAddMode")->isChecked());
    QVERIFY(!m_panel->addMode());
    QCOMPARE(display()->fontPointSize(), 2.0);
    QCOMPARE(m_panel->fontSize(), 2.0f);
    QVERIFY(m_panel->tempFile().endsWith(QStringLiteral("/data/磨牙资源/Temp.txt")));
    QCOMPARE(control<CoolButton>("btnMY1")->caption(), QStringLiteral("开始磨牙　　　　"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestPicToTextPanel::otherResourceListsLoadTheirFirstPicture()
{
    control<QRadioButton>("optMYSource2")->setChecked(true);
    auto *list = control<QListWidget>("lstMYSource");
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(m_panel->picPath().contains(QStringLiteral("超Cool头像")));
    QVERIFY(m_panel->picPath().endsWith(list->item(0)->text()));

    list->setCurrentRow(2);
    QVERIFY(m_panel->picPath().endsWith(list->item(2)->text()));
    hover(list->viewport());
    QCOMPARE(list->toolTip(), list->item(2)->text());
}

void TestPicToTextPanel::emptyResourceDirectoryRefusesConversion()
{
    build(false);
    QCOMPARE(control<QListWidget>("lstMYSource")->count(), 0);
    QVERIFY(m_panel->picture().isNull());
    m_panel->btnMY_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("『Zantoria』提醒您：）"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Information);
    QVERIFY(display()->isEmpty());
    QVERIFY(!QFile::exists(m_panel->tempFile()));
}

void TestPicToTextPanel::conversionFillsDisplayFromTempFile()
{
    m_panel->btnMY_Click(1);
    QVERIFY(m_dialogs->shown.isEmpty());
    const QSize size = m_panel->picSize();
    const QStringList lines = display()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), size.height() + 1); // every row ended
    QCOMPARE(lines[0].size(), size.width());
    QCOMPARE(display()->text(), tempText());
    // A white corner of the face reads as the lightest character.
    QCOMPARE(lines[0][0], m_panel->grayNormal().back());
    QVERIFY(!m_panel->isConverting());
}

void TestPicToTextPanel::addModeNeedsTextInTheDisplay()
{
    auto *add = control<QCheckBox>("chkMYAddMode");
    add->setChecked(true);
    QVERIFY(m_panel->addMode());
    m_panel->btnMY_Click(1);
    QVERIFY(!add->isChecked());
    QVERIFY(!m_panel->addMode());
    QVERIFY(!tempText().startsWith(QStringLiteral("\r\n"))); // no separator before the first picture
}

void TestPicToTextPanel::addModeAppendsAfterSeparator()
{
    m_panel->btnMY_Click(1);
    const QString first = display()->text();
    control<QCheckBox>("chkMYAddMode")->setChecked(true);
    m_panel->btnMY_Click(1);
    QCOMPARE(display()->text(), first + QStringLiteral("\r\n").repeated(51) + first);
    QCOMPARE(tempText(), display()->text());
}

void TestPicToTextPanel::stopButtonDuringConversion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("answered Yes") << true;
    QTest::newRow("answered No") << false;
}

void TestPicToTextPanel::stopButtonDuringConversion()
{
    QFETCH(bool, yes);
    // The stop button is pressed from the first pause the conversion makes.
    QTimer::singleShot(0, m_panel.get(), [this] { m_panel->btnMY_Click(2); });
    m_dialogs->answers.enqueue(yes);
    m_panel->btnMY_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("真的要中止磨牙吗？"));
    const int rows = display()->text().count(QStringLiteral("\r\n"));
    if (yes)
        QVERIFY2(rows < m_panel->picSize().height(), qPrintable(QString::number(rows)));
    else
        QCOMPARE(rows, m_panel->picSize().height());
}

void TestPicToTextPanel::startPressedAgainWhileRunningIsIgnored()
{
    int pressed = 0;
    QTimer::singleShot(0, m_panel.get(), [&] {
        QVERIFY(m_panel->isConverting());
        m_panel->btnMY_Click(1);
        ++pressed;
    });
    m_panel->btnMY_Click(1);
    QCOMPARE(pressed, 1);
    QCOMPARE(display()->text().count(QStringLiteral("\r\n")), m_panel->picSize().height());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestPicToTextPanel::outsideFileKeepsListAndDialogName()
{
    QTemporaryDir outside;
    const QString file = outside.path() + QStringLiteral("/wide.bmp");
    QVERIFY(filled(30, 20, qRgb(0, 0, 0)).save(file));

    // Before any outside file, cancelling does nothing.
    m_panel->btnMY_Click(0);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, QStringLiteral("open"));
    QVERIFY(m_dialogs->shown[0].text.contains(QStringLiteral("*.jpg *.bmp *.gif *.ico")));
    QCOMPARE(m_dialogs->shown[0].title, QString());
    QCOMPARE(control<QListWidget>("lstMYSource")->currentRow(), 0);

    m_dialogs->files.enqueue(file);
    m_panel->btnMY_Click(0);
    QCOMPARE(m_panel->picPath(), file);
    QCOMPARE(m_panel->picSize(), QSize(30, 20));
    auto *list = control<QListWidget>("lstMYSource");
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(control<QLabel>("lblMYPicName")->text(), QStringLiteral("文件名：wide"));

    // The dialog starts with the last name, and cancelling loads it again.
    list->setCurrentRow(1);
    m_panel->btnMY_Click(0);
    QCOMPARE(m_dialogs->shown.last().title, file);
    QCOMPARE(m_panel->picPath(), file);
    QCOMPARE(m_panel->picSize(), QSize(30, 20));
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(m_dialogs->shown.size(), 3);
}

void TestPicToTextPanel::outsideFileMissing()
{
    const QSize before = m_panel->picSize();
    m_dialogs->files.enqueue(m_dir->file(QStringLiteral("nowhere/none.jpg")));
    m_panel->btnMY_Click(0);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("打开的文件路径无效或不存在！"));
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("『Zantoria』提醒您：）"));
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Information);
    QCOMPARE(m_panel->picSize(), before);
    QCOMPARE(control<QListWidget>("lstMYSource")->currentRow(), 0);
}

void TestPicToTextPanel::unreadablePictureKeepsWhatWasShown()
{
    const QSize before = m_panel->picSize();
    const QString name = control<QLabel>("lblMYPicName")->text();
    const QString junk = m_dir->file(QStringLiteral("junk.jpg"));
    QVERIFY(writeBytes(junk, "no picture"));
    QVERIFY(!m_panel->ReadMYPicFile(junk));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("在读取图片文件时出现错误！"));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("读取图片文件失败：（"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(control<QLabel>("lblMYPicName")->text(), name);
    QCOMPARE(m_panel->picSize(), before);
}

void TestPicToTextPanel::hugePictureRefused()
{
    const QSize before = m_panel->picSize();
    const QString huge = m_dir->file(kFaces + QStringLiteral("/巨大.bmp"));
    QVERIFY(writeBytes(huge, hugeBmpHeader(20000, 20000)));
    QVERIFY(!m_panel->ReadMYPicFile(huge));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QVERIFY(m_dialogs->shown[0].text.contains(QStringLiteral("20000×20000")));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("读取图片文件失败：（"));
    QCOMPARE(m_panel->picSize(), before);
}

void TestPicToTextPanel::previewFitAndParticulars()
{
    auto *box = control<QWidget>("picMYPreBox");
    auto *image = control<QLabel>("imgMYPre");
    const QSize area = box->size();

    const QString small = m_dir->file(QStringLiteral("small.bmp"));
    QVERIFY(filled(40, 30, qRgb(9, 9, 9)).save(small));
    QVERIFY(m_panel->ReadMYPicFile(small));
    QCOMPARE(image->geometry(), QRect((area.width() - 40) / 2, (area.height() - 30) / 2, 40, 30));

    const QString wide = m_dir->file(QStringLiteral("wide.jpg"));
    QVERIFY(filled(area.width() * 10, area.height(), qRgb(90, 9, 9)).save(wide, "JPG"));
    QVERIFY(m_panel->ReadMYPicFile(wide));
    const int h = int(std::lround(area.height() / 10.0));
    QCOMPARE(image->geometry(), QRect(0, (area.height() - h) / 2, area.width(), h));
    QCOMPARE(image->pixmap().size(), QSize(area.width(), h)); // no full-size copy kept for the preview
    QCOMPARE(control<QLabel>("lblMYPicType")->text(), QStringLiteral("类型：JPG"));
    QCOMPARE(control<QLabel>("lblMYPicWH")->text(),
             QStringLiteral("宽×高：%1×%2").arg(area.width() * 10).arg(area.height()));

    // 1100 bytes: a BMP padded out to that length.
    const QString sized = m_dir->file(QStringLiteral("sized.bmp"));
    const QString exact = m_dir->file(QStringLiteral("exact.bmp"));
    QVERIFY(filled(16, 16, qRgb(1, 2, 3)).convertToFormat(QImage::Format_RGB888).save(exact)); // 54 + 16*48 bytes
    const QByteArray bytes = readBytes(exact);
    QVERIFY(writeBytes(sized, bytes + QByteArray(1100 - bytes.size(), '\0')));
    QVERIFY(m_panel->ReadMYPicFile(sized));
    QCOMPARE(control<QLabel>("lblMYPicSize")->text(), QStringLiteral("大小：1.07KB"));
    QVERIFY(writeBytes(sized, bytes + QByteArray(1024 - bytes.size(), '\0')));
    QVERIFY(m_panel->ReadMYPicFile(sized));
    QCOMPARE(control<QLabel>("lblMYPicSize")->text(), QStringLiteral("大小：1024字节"));

    auto *name = control<QLabel>("lblMYPicName");
    hover(name);
    QCOMPARE(name->toolTip(), name->text());
}

void TestPicToTextPanel::grayOptions()
{
    auto *gray = control<QLineEdit>("textMYGraySet");
    control<QRadioButton>("chkMYSetGray1")->setChecked(true);
    QVERIFY(gray->isReadOnly());
    QCOMPARE(gray->text(), m_panel->gray94());
    QCOMPARE(m_panel->grayInUse(), m_panel->gray94());
    QCOMPARE(gray->toolTip(), QStringLiteral("〔共94阶灰度〕") + m_panel->gray94());

    control<QRadioButton>("chkMYSetGray2")->setChecked(true);
    QVERIFY(!gray->isReadOnly());
    QCOMPARE(gray->text(), m_panel->grayCustom());
    QCOMPARE(m_panel->grayInUse(), m_panel->grayCustom());
    QCOMPARE(gray->toolTip(), QStringLiteral("〔共21阶灰度[最多256阶]〕") + m_panel->grayCustom());

    gray->setText(QStringLiteral("@@@@....--"));
    QCOMPARE(m_panel->grayCustom(), QStringLiteral("@@@@--...."));
    QCOMPARE(m_panel->grayInUse(), m_panel->grayCustom());
    QCOMPARE(gray->text(), QStringLiteral("@@@@....--")); // shown ordered only on leaving
    QCOMPARE(gray->toolTip(), QStringLiteral("〔共10阶灰度[最多256阶]〕@@@@--...."));

    // Converting now uses the custom string.
    m_panel->btnMY_Click(1);
    const QString art = display()->text().remove(QStringLiteral("\r\n"));
    for (const QChar c : art)
        QVERIFY(QStringLiteral("@-.").contains(c));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestPicToTextPanel::customGrayTooShortBringsDefaultBack()
{
    control<QRadioButton>("chkMYSetGray2")->setChecked(true);
    auto *gray = control<QLineEdit>("textMYGraySet");
    gray->setText(QStringLiteral("MN$QHOC7"));
    QVERIFY(m_dialogs->shown.isEmpty());
    QTest::keyClick(gray, Qt::Key_Backspace); // seven left
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("灰度字符不可小于8，且不可全为空格！"));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("灰度设置错误"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(gray->text(), m_panel->grayCustomDefault());
    QCOMPARE(m_panel->grayCustom(), m_panel->grayCustomDefault());
    QCOMPARE(m_panel->grayInUse(), m_panel->grayCustomDefault());

    gray->setText(QStringLiteral("        "));
    QCOMPARE(m_dialogs->shown.size(), 2);
    QCOMPARE(gray->text(), m_panel->grayCustomDefault());
}

void TestPicToTextPanel::customGrayFullWidthKeptAsTyped()
{
    control<QRadioButton>("chkMYSetGray2")->setChecked(true);
    auto *gray = control<QLineEdit>("textMYGraySet");
    const QString typed = QStringLiteral("MN$QHOC7?>！");
    gray->setText(typed);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("灰度字符中不可有全角字符！"));
    QCOMPARE(m_panel->grayCustom(), typed);
    QCOMPARE(m_panel->grayInUse(), typed);
    gray->setText(typed + u'.');
    QCOMPARE(m_dialogs->shown.size(), 2); // again at each change while it stays

    // Such a string converts as typed, two bytes a character in the file.
    m_panel->btnMY_Click(1);
    const QString art = display()->text().remove(QStringLiteral("\r\n"));
    QCOMPARE(art.size(), m_panel->picSize().width() * m_panel->picSize().height());
    for (const QChar c : art)
        QVERIFY(typed.contains(c) || c == u'.');
}

void TestPicToTextPanel::customGrayReorderedOnLeaving()
{
    control<QRadioButton>("chkMYSetGray2")->setChecked(true);
    auto *gray = control<QLineEdit>("textMYGraySet");
    gray->setText(QStringLiteral("....@@@@"));
    QCOMPARE(gray->text(), QStringLiteral("....@@@@"));
    m_panel->textMYGraySet_LostFocus();
    QCOMPARE(gray->text(), QStringLiteral("@@@@...."));
    // Leaving while a preset is chosen changes nothing.
    control<QRadioButton>("chkMYSetGray0")->setChecked(true);
    m_panel->textMYGraySet_LostFocus();
    QCOMPARE(gray->text(), m_panel->grayNormal());
}

void TestPicToTextPanel::fontSize_data()
{
    QTest::addColumn<std::optional<QString>>("entry");
    QTest::addColumn<double>("size");
    QTest::newRow("number") << std::optional<QString>(QStringLiteral("9")) << 9.0;
    QTest::newRow("fraction") << std::optional<QString>(QStringLiteral(" 10.5 ")) << 10.5;
    QTest::newRow("cancel") << std::optional<QString>() << 2.0;
    QTest::newRow("no number") << std::optional<QString>(QStringLiteral("big")) << 2.0;
    QTest::newRow("refused: zero") << std::optional<QString>(QStringLiteral("0")) << 2.0;
    QTest::newRow("refused: absurd") << std::optional<QString>(QStringLiteral("99999")) << 2.0;
}

void TestPicToTextPanel::fontSize()
{
    QFETCH(std::optional<QString>, entry);
    QFETCH(double, size);
    m_dialogs->inputs.enqueue(entry);
    m_panel->btnMY_Click(3);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].kind, QStringLiteral("input"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("请输入字体大小(建议不要设置得过大)："));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("设置字体大小"));
    QCOMPARE(double(m_panel->fontSize()), size);
    QCOMPARE(display()->fontPointSize(), size);
}

void TestPicToTextPanel::clearDisplay_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestPicToTextPanel::clearDisplay()
{
    QFETCH(bool, yes);
    m_panel->btnMY_Click(1);
    const QString art = display()->text();
    control<QCheckBox>("chkMYAddMode")->setChecked(true);
    m_dialogs->answers.enqueue(yes);
    m_panel->btnMY_Click(4);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("真的要清空吗？"));
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("清空显示区"));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Question);
    QCOMPARE(display()->isEmpty(), yes);
    QCOMPARE(tempText().isEmpty(), yes);
    QCOMPARE(control<QCheckBox>("chkMYAddMode")->isChecked(), !yes);
    if (!yes)
        QCOMPARE(display()->text(), art);
}

void TestPicToTextPanel::unwritableTempFile()
{
    m_panel->btnMY_Click(1);
    const QString art = display()->text();
    // The directory of the temporary file is gone.
    QVERIFY(QDir(m_dir->file(QStringLiteral("data"))).removeRecursively());
    m_panel->btnMY_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Exclamation);
    QCOMPARE(display()->text(), art);

    m_dialogs->answers.enqueue(true);
    m_panel->btnMY_Click(4);
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("清空显示区时出现错误！"));
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("清空错误：（"));
}

void TestPicToTextPanel::hoverFrames()
{
    auto *button = control<CoolButton>("btnMY4");
    QCOMPARE(m_panel->frameColor(button), m_colors.NormLineColor);
    QCOMPARE(button->buttonBackColor(), m_colors.BackColor);
    Q_EMIT button->MouseMove(Qt::NoButton, Qt::NoModifier, 3, 3);
    QCOMPARE(m_panel->frameColor(button), m_colors.HotLineColor);
    QCOMPARE(button->buttonBackColor(), m_colors.HotBackColor);
    Q_EMIT button->MouseOut();
    QCOMPARE(m_panel->frameColor(button), m_colors.NormLineColor);
    QCOMPARE(button->buttonBackColor(), m_colors.BackColor);
}

void TestPicToTextPanel::outputOptions_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height"); // 0: the aspect kept
    QTest::addColumn<bool>("invert");
    QTest::addColumn<bool>("dither");
    QTest::addColumn<bool>("braille");
    QTest::newRow("width") << 20 << 0 << false << false << false;
    QTest::newRow("width and height") << 30 << 7 << false << false << false;
    QTest::newRow("enlarged, inverted") << 90 << 0 << true << false << false;
    QTest::newRow("dithered") << 0 << 0 << false << true << false;
    QTest::newRow("braille") << 0 << 0 << false << false << true;
    QTest::newRow("braille at 12 columns, dithered") << 12 << 0 << false << true << true;
}

void TestPicToTextPanel::outputOptions()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, invert);
    QFETCH(bool, dither);
    QFETCH(bool, braille);
    control<QSpinBox>("spinMYWidth")->setValue(width);
    control<QCheckBox>("chkMYKeepAspect")->setChecked(height == 0);
    QCOMPARE(control<QSpinBox>("spinMYHeight")->isEnabled(), height != 0);
    control<QSpinBox>("spinMYHeight")->setValue(height);
    control<QCheckBox>("chkMYInvert")->setChecked(invert);
    control<QCheckBox>("chkMYDither")->setChecked(dither);
    control<QCheckBox>("chkMYBraille")->setChecked(braille);
    const PicToTextOptions options = m_panel->outputOptions();
    QCOMPARE(QList<int>({options.width, options.height, options.invert, options.dither, options.braille}),
             QList<int>({width, height, invert, dither, braille}));

    // What the core makes of the picture, and the size the particulars promise.
    const QString expectedFile = m_dir->file(QStringLiteral("expected.txt"));
    PicToTextConverter core;
    QCOMPARE(core.PicToText(m_panel->picture(), expectedFile, m_panel->grayInUse(), false, options),
             PicToTextConverter::Outcome::Done);
    const QString expected = TextCodec::decode(readBytes(expectedFile));
    const QSize size = LevelsToText::layout(m_panel->picSize(), options, m_panel->grayInUse()).text;
    QCOMPARE(control<QLabel>("lblMYOutSize")->text(), QStringLiteral("结果：%1×%2").arg(size.width()).arg(size.height()));
    QCOMPARE(expected.count(QStringLiteral("\r\n")), size.height());

    // Start pressed again, and every option changed, in the pause after a row:
    // the running conversion goes on as it began.
    QTimer::singleShot(0, m_panel.get(), [this] {
        QVERIFY(m_panel->isConverting());
        control<QSpinBox>("spinMYWidth")->setValue(5);
        control<QCheckBox>("chkMYKeepAspect")->toggle();
        for (const char *name : {"chkMYInvert", "chkMYDither", "chkMYBraille"})
            control<QCheckBox>(QString::fromLatin1(name))->toggle();
        m_panel->btnMY_Click(1);
    });
    m_panel->btnMY_Click(1);
    QCOMPARE(display()->text(), expected);
    QVERIFY(m_dialogs->shown.isEmpty());

    // Add mode appends the new result, made with the options now set.
    const QString earlier = display()->text();
    control<QCheckBox>("chkMYAddMode")->setChecked(true);
    QCOMPARE(core.PicToText(m_panel->picture(), expectedFile, m_panel->grayInUse(), false, m_panel->outputOptions()),
             PicToTextConverter::Outcome::Done);
    m_panel->btnMY_Click(1);
    QCOMPARE(display()->text(),
             earlier + QStringLiteral("\r\n").repeated(51) + TextCodec::decode(readBytes(expectedFile)));

    // The stop question ends it early, whatever the options.
    control<QCheckBox>("chkMYAddMode")->setChecked(false);
    QTimer::singleShot(0, m_panel.get(), [this] { m_panel->btnMY_Click(2); });
    m_dialogs->answers.enqueue(true);
    m_panel->btnMY_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QVERIFY(display()->text().count(QStringLiteral("\r\n")) < expected.count(QStringLiteral("\r\n")));
}

void TestPicToTextPanel::outputTooLargeRefused()
{
    m_panel->btnMY_Click(1);
    const QString before = display()->text();
    control<QCheckBox>("chkMYKeepAspect")->setChecked(false);
    control<QSpinBox>("spinMYWidth")->setValue(4096);
    control<QSpinBox>("spinMYHeight")->setValue(4000);
    QCOMPARE(control<QLabel>("lblMYOutSize")->text(), QStringLiteral("结果：太大了"));
    m_panel->btnMY_Click(1);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("输出设置错误：（"));
    QCOMPARE(display()->text(), before);
    QCOMPARE(tempText(), before);
    // Back within the bounds (4096 × 3906), it converts.
    control<QSpinBox>("spinMYHeight")->setValue(3906);
    QCOMPARE(control<QLabel>("lblMYOutSize")->text(), QStringLiteral("结果：4096×3906"));
}

int main(int argc, char **argv)
{
    Fonts::installSubstitutions();
    QApplication app(argc, argv);
    TestPicToTextPanel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pictotextpanel.moc"
