#include "pictotextpanel.h"

#include "grayorder.h"
#include "graypresets.h"
#include "graymapping.h"
#include "picturebands.h"
#include "picturelevels.h"
#include "pictureloader.h"
#include "pictureparticulars.h"

#include "shell/widgets/coolbutton.h"
#include "shell/core/dialogs.h"
#include "shell/widgets/displayarea.h"
#include "shell/core/colorscheme.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/panelcontext.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>

#include <cmath>

namespace {

const QString kResourceRoot = QStringLiteral("\\Data\\磨牙资源\\");
const QString kTempFile = QStringLiteral("\\Data\\磨牙资源\\Temp.txt");
const QStringList kPicturePatterns = {QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.ico"),
                                      QStringLiteral("*.gif")};
const QString kOpenFilter = QStringLiteral("*.JPG;*.BMP;*.GIF;*.ICO (*.jpg *.bmp *.gif *.ico)");
const QString kReadFailedTitle = QStringLiteral("读取图片文件失败：（");

// The largest font size the display takes, in points.
constexpr double kMaxFontSize = 1638;
constexpr float kDefaultFontSize = 2;

const std::array<const char *, 3> kSourceCaptions = {"表情图片", "短信图片", "超Cool头像"};
const std::array<const char *, 5> kButtonCaptions = {"从外部选择要磨牙的文件", "开始磨牙", "中止转化", "字体大小",
                                                     "清空显示区"};

// Where everything sits on the 417 × 385 panel: resources, preview and
// particulars side by side on top, the grey settings below them, the output
// settings in one row, then the buttons, and the display, as large as it
// can be, filling the rest.
const QRect kFrameRects[4] = {QRect(4, 0, 196, 112), QRect(204, 0, 100, 112), QRect(308, 0, 105, 112),
                              QRect(4, 114, 409, 62)};
const QRect kOutputFrameRect(4, 177, 409, 42);
const QRect kButtonRects[5] = {QRect(5, 223, 196, 22), QRect(206, 223, 100, 22), QRect(311, 223, 101, 22),
                               QRect(206, 249, 100, 22), QRect(311, 249, 101, 22)};
const QRect kAddModeRect(10, 251, 120, 18);
const QRect kDisplayRect(4, 275, 409, 107);
const QRect kPreviewRect(6, 18, 88, 88);
const QRect kSourceListRect(100, 16, 90, 90);

QString sourceCaption(int option)
{
    return QString::fromUtf8(kSourceCaptions[std::size_t(option)]);
}

QString fontSizeText(float size)
{
    return QString::number(double(size), 'g', 7);
}

} // namespace

PicToTextPanel::PicToTextPanel(PanelContext &context, QWidget *parent)
    : ContentPanel(context, parent)
{
    buildControls();
    connectControls();
    m_converter.setYield([] { QCoreApplication::processEvents(); });
    m_converter.setConfirmStop([this] {
        return this->context().dialogs->question(QStringLiteral("真的要中止磨牙吗？"), QStringLiteral("中止磨牙：O"),
                                           Dialogs::Icon::Question);
    });
}

void PicToTextPanel::buildControls()
{
    const char *frameCaptions[4] = {"常用磨牙资源", "图片预览", "所选图片信息",
                                    "灰度设置(可以通过设置重复的灰度字符来增强明暗对比)"};
    for (int i = 0; i < 4; ++i) {
        frameMY[i] = new QGroupBox(QString::fromUtf8(frameCaptions[i]), this);
        frameMY[i]->setObjectName(QStringLiteral("frameMY%1").arg(i));
        frameMY[i]->setGeometry(kFrameRects[i]);
    }

    for (int i = 0; i < 3; ++i) {
        optMYSource[i] = new QRadioButton(sourceCaption(i), frameMY[0]);
        optMYSource[i]->setObjectName(QStringLiteral("optMYSource%1").arg(i));
        optMYSource[i]->setGeometry(8, 22 + i * 26, 90, 20);
    }
    optMYSource[0]->setChecked(true);
    lstMYSource = new QListWidget(frameMY[0]);
    lstMYSource->setObjectName(QStringLiteral("lstMYSource"));
    lstMYSource->setGeometry(kSourceListRect);
    lstMYSource->setMouseTracking(true);
    lstMYSource->viewport()->installEventFilter(this);
    lstMYSource->setAccessibleName(frameMY[0]->title());

    picMYPreBox = new QWidget(frameMY[1]);
    picMYPreBox->setObjectName(QStringLiteral("picMYPreBox"));
    picMYPreBox->setGeometry(kPreviewRect);
    picMYPreBox->setAutoFillBackground(true);
    QPalette preview = picMYPreBox->palette();
    preview.setColor(QPalette::Window, Qt::white); // transparent pixels convert as white, so show them so
    picMYPreBox->setPalette(preview);
    imgMYPre = new QLabel(picMYPreBox);
    imgMYPre->setObjectName(QStringLiteral("imgMYPre"));
    imgMYPre->setScaledContents(true);
    imgMYPre->setGeometry(0, 0, 0, 0);
    imgMYPre->setAccessibleName(frameMY[1]->title());

    QLabel **labels[5] = {&lblMYPicName, &lblMYPicType, &lblMYPicSize, &lblMYPicWH, &lblMYOutSize};
    const char *labelNames[5] = {"lblMYPicName", "lblMYPicType", "lblMYPicSize", "lblMYPicWH", "lblMYOutSize"};
    const char *labelCaptions[5] = {"文件名：", "类型：", "大小：", "宽×高：", "结果："};
    for (int i = 0; i < 5; ++i) {
        QLabel *label = new QLabel(QString::fromUtf8(labelCaptions[i]), frameMY[2]);
        label->setObjectName(QString::fromLatin1(labelNames[i]));
        label->setGeometry(7, 17 + i * 18, 95, 18);
        *labels[i] = label;
    }
    lblMYOutSize->setToolTip(QStringLiteral("磨牙结果的列数×行数"));
    lblMYPicName->setMouseTracking(true);
    lblMYPicName->installEventFilter(this);

    const char *grayCaptions[3] = {"常规灰度", "94级灰度", "自定义灰度"};
    for (int i = 0; i < 3; ++i) {
        chkMYSetGray[i] = new QRadioButton(QString::fromUtf8(grayCaptions[i]), frameMY[3]);
        chkMYSetGray[i]->setObjectName(QStringLiteral("chkMYSetGray%1").arg(i));
        chkMYSetGray[i]->setGeometry(10 + i * 96, 18, 92, 18);
    }
    chkMYSetGray[0]->setChecked(true);
    textMYGraySet = new QLineEdit(frameMY[3]);
    textMYGraySet->setObjectName(QStringLiteral("textMYGraySet"));
    textMYGraySet->setGeometry(8, 38, 393, 20);
    textMYGraySet->setMaxLength(256);
    textMYGraySet->setReadOnly(true);
    textMYGraySet->installEventFilter(this);
    textMYGraySet->setAccessibleName(frameMY[3]->title());

    buildOutputControls();

    chkMYAddMode = new QCheckBox(QStringLiteral("追加模式"), this);
    chkMYAddMode->setObjectName(QStringLiteral("chkMYAddMode"));
    chkMYAddMode->setGeometry(kAddModeRect);

    m_textMYPicView = new DisplayArea(this);
    m_textMYPicView->setObjectName(QStringLiteral("textMYPicView"));
    m_textMYPicView->setGeometry(kDisplayRect);
    m_textMYPicView->setAccessibleName(QStringLiteral("磨牙结果"));
    // A monospaced face whose cells are nearest to square at the tiny default
    // size, so the art keeps its proportions best; Chinese falls back to 宋体.
    QFont artFont;
    artFont.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("宋体")});
    artFont.setStyleHint(QFont::TypeWriter);
    m_textMYPicView->setFont(artFont);

    for (int i = 0; i < 5; ++i) {
        btnMY[i] = new CoolButton(QString::fromUtf8(kButtonCaptions[std::size_t(i)]), this);
        btnMY[i]->setObjectName(QStringLiteral("btnMY%1").arg(i));
        btnMY[i]->setGeometry(kButtonRects[i]);
    }
}

void PicToTextPanel::buildOutputControls()
{
    frameMYOutput = new QGroupBox(QStringLiteral("输出设置"), this);
    frameMYOutput->setObjectName(QStringLiteral("frameMYOutput"));
    frameMYOutput->setGeometry(kOutputFrameRect);
    const auto spin = [this](const char *name, const char *caption, const char *zero, int left) {
        auto *label = new QLabel(QString::fromUtf8(caption), frameMYOutput);
        label->setGeometry(left, 18, 30, 18);
        auto *box = new QSpinBox(frameMYOutput);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, LevelsToText::kMaxSide);
        box->setSpecialValueText(QString::fromUtf8(zero)); // 0: as the picture has it
        box->setGeometry(left + 30, 16, 54, 20);
        box->setAccessibleName(label->text().chopped(1));
        // The box's own edit field is what a screen reader lands on.
        if (auto *edit = box->findChild<QLineEdit *>())
            edit->setAccessibleName(box->accessibleName());
        label->setBuddy(box);
        return box;
    };
    spinMYWidth = spin("spinMYWidth", "宽度：", "原图", 6);
    spinMYWidth->setToolTip(QStringLiteral("磨牙结果的列数，0为一个像素一个字符"));
    spinMYHeight = spin("spinMYHeight", "高度：", "自动", 94);
    spinMYHeight->setToolTip(QStringLiteral("磨牙结果的行数，0为按比例"));
    const auto check = [this](const char *name, const char *caption, int left, int width, const char *tip) {
        auto *box = new QCheckBox(QString::fromUtf8(caption), frameMYOutput);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(left, 17, width, 18);
        box->setToolTip(QString::fromUtf8(tip));
        return box;
    };
    chkMYKeepAspect = check("chkMYKeepAspect", "保持比例", 184, 74, "只给宽度，行数按图片的比例算出");
    chkMYInvert = check("chkMYInvert", "反色", 260, 46, "黑白颠倒，适合深色的聊天窗口");
    chkMYDither = check("chkMYDither", "抖动", 308, 46, "把每个字符的误差分给相邻的字符，灰度少也能保留细节");
    chkMYBraille = check("chkMYBraille", "盲文", 356, 48, "用盲文点阵字符画，每个字符2×4个点");
    chkMYKeepAspect->setChecked(true);
    spinMYHeight->setEnabled(false);
}

PicToTextOptions PicToTextPanel::outputOptions() const
{
    PicToTextOptions options;
    options.width = spinMYWidth->value();
    options.height = chkMYKeepAspect->isChecked() ? 0 : spinMYHeight->value();
    options.invert = chkMYInvert->isChecked();
    options.dither = chkMYDither->isChecked();
    options.braille = chkMYBraille->isChecked();
    return options;
}

void PicToTextPanel::showOutputSize()
{
    QString caption = QStringLiteral("结果：");
    if (!m_picture.isNull()) {
        const LevelsToText::Layout layout = LevelsToText::layout(m_picture.size(), outputOptions(), MYGrayInUse);
        caption += layout.ok() ? QStringLiteral("%1×%2").arg(layout.text.width()).arg(layout.text.height())
                               : QStringLiteral("太大了");
    }
    lblMYOutSize->setText(caption);
}

void PicToTextPanel::connectControls()
{
    for (int i = 0; i < 3; ++i) {
        connect(optMYSource[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optMYSource_Click(i);
        });
        connect(chkMYSetGray[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                chkMYSetGray_Click(i);
        });
    }
    connect(lstMYSource, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstMYSource_Click();
    });
    connect(textMYGraySet, &QLineEdit::textChanged, this, [this] { textMYGraySet_Change(); });
    connect(chkMYAddMode, &QCheckBox::toggled, this, [this] { chkMYAddMode_Click(); });
    for (int i = 0; i < 5; ++i) {
        connect(btnMY[i], &CoolButton::Click, this, [this, i] { btnMY_Click(i); });
    }
    connect(chkMYKeepAspect, &QCheckBox::toggled, spinMYHeight, [this](bool keep) { spinMYHeight->setEnabled(!keep); });
    for (QSpinBox *box : {spinMYWidth, spinMYHeight})
        connect(box, &QSpinBox::valueChanged, this, &PicToTextPanel::showOutputSize);
    for (QCheckBox *box : {chkMYKeepAspect, chkMYInvert, chkMYDither, chkMYBraille})
        connect(box, &QCheckBox::toggled, this, &PicToTextPanel::showOutputSize);
}

bool PicToTextPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == lstMYSource->viewport())
            lstMYSource_MouseMove();
        else if (watched == lblMYPicName)
            lblMYPicName_MouseMove();
    } else if (event->type() == QEvent::FocusOut && watched == textMYGraySet) {
        // Losing focus to a message box or another window is no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            textMYGraySet_LostFocus();
    }
    return PanelBox::eventFilter(watched, event);
}

void PicToTextPanel::InitCCMY()
{
    MYPicPath.clear();
    MYTempFile = context().places.data(kTempFile);

    chkMYAddMode->setChecked(false);
    m_textMYPicView->setFontPointSize(kDefaultFontSize);

    InitlstMYSource(0, 0);
    QCoreApplication::processEvents();

    // The presets are ordered by the ink of the installed font.
    MYGrayCustom = ReSortGrayChar(grayPresets()[2].raw);
    MYGray94 = ReSortGrayChar(grayPresets()[1].raw);
    MYGrayNormal = ReSortGrayChar(grayPresets()[0].raw);
    MYGrayCustomDefault = MYGrayCustom;

    chkMYSetGray[0]->setChecked(true);
    chkMYSetGray_Click(0);

    setGeometry(5, 5, 417, 385);
    setBackColor(context().colors->BackColor);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, backColor());
    for (QWidget *w : std::initializer_list<QWidget *>{chkMYAddMode, frameMY[0], frameMY[1], frameMY[2], frameMY[3],
                                                      optMYSource[0], optMYSource[1], optMYSource[2],
                                                      chkMYSetGray[0], chkMYSetGray[1], chkMYSetGray[2],
                                                      frameMYOutput, chkMYKeepAspect, chkMYInvert, chkMYDither,
                                                      chkMYBraille})
        w->setPalette(panel);
    for (CoolButton *button : btnMY)
        FixCaption(*button);
    for (CoolButton *button : btnMY)
        wireHoverFrame(this, button, *context().colors);
    hide();
}

QString PicToTextPanel::resourceDir(int option) const
{
    return context().places.data(kResourceRoot + TrimBlanks(optMYSource[option]->text()));
}

int PicToTextPanel::checkedSource() const
{
    for (int i = 0; i < 3; ++i) {
        if (optMYSource[i]->isChecked())
            return i;
    }
    return 0;
}

void PicToTextPanel::InitlstMYSource(int index, int option)
{
    if (option < 0 || option > 2)
        return;
    const QDir dir(resourceDir(option));
    if (!dir.exists())
        return;
    const QStringList files = dir.entryList(kPicturePatterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    lstMYSource->clear();
    lstMYSource->addItems(files);
    if (index >= lstMYSource->count())
        return;
    lstMYSource->setCurrentRow(index); // −1 selects nothing
}

void PicToTextPanel::optMYSource_Click(int option)
{
    InitlstMYSource(0, option);
}

void PicToTextPanel::lstMYSource_Click()
{
    const QListWidgetItem *item = lstMYSource->currentItem();
    if (!item)
        return;
    const int option = checkedSource();
    MYPicPath = context().places.data(kResourceRoot + TrimBlanks(optMYSource[option]->text())
                                                                + u'\\' + TrimBlanks(item->text()));
    ReadMYPicFile(MYPicPath);
}

void PicToTextPanel::lstMYSource_MouseMove()
{
    const QListWidgetItem *item = lstMYSource->currentItem();
    lstMYSource->setToolTip(item ? item->text() : QString());
}

void PicToTextPanel::lblMYPicName_MouseMove()
{
    lblMYPicName->setToolTip(lblMYPicName->text());
}

bool PicToTextPanel::ReadMYPicFile(const QString &path)
{
    // Read once, band by band, into the grey levels the conversion needs and
    // the shrunk preview: never the whole picture in colour.
    PictureBands bands(path);
    const PictureLevels::Result loaded = PictureLevels::read(bands, picMYPreBox->size());
    if (loaded.outcome == PictureBands::Band::Failed) {
        if (loaded.status.problem == PictureLoader::Problem::TooLarge && loaded.status.claimedSize.isValid()) {
            context().dialogs->message(QStringLiteral("图片太大了（宽×高：%1×%2），最多只能是%3×%3像素、%4万像素！")
                                  .arg(loaded.status.claimedSize.width())
                                  .arg(loaded.status.claimedSize.height())
                                  .arg(PictureLoader::kMaxSide)
                                  .arg(loaded.status.pixelLimit / 10'000),
                              kReadFailedTitle, Dialogs::Icon::Exclamation);
        } else {
            context().dialogs->message(QStringLiteral("在读取图片文件时出现错误！"), kReadFailedTitle, Dialogs::Icon::Exclamation);
        }
        return false;
    }
    m_picture = loaded.levels;
    MYPicWidth = m_picture.width();
    MYPicHeight = m_picture.height();

    const QRect fit = PictureParticulars::previewFit(m_picture.size(), picMYPreBox->size());
    imgMYPre->setPixmap(QPixmap::fromImage(loaded.preview));
    imgMYPre->setGeometry(fit);

    lblMYPicName->setText(PictureParticulars::nameCaption(path));
    lblMYPicType->setText(PictureParticulars::typeCaption(path));
    lblMYPicSize->setText(PictureParticulars::sizeCaption(QFileInfo(path).size()));
    lblMYPicWH->setText(PictureParticulars::dimensionsCaption(m_picture.size()));
    showOutputSize();
    return true;
}

QString PicToTextPanel::ReSortGrayChar(const QString &text)
{
    const GrayOrderResult result = ::ReSortGrayChar(text, MYGrayCustomDefault);
    if (result.problem != GrayTextProblem::None)
        context().dialogs->message(grayProblemMessage(result.problem), grayProblemTitle(), Dialogs::Icon::Critical);
    if (!result.tooltip.isEmpty())
        textMYGraySet->setToolTip(result.tooltip);
    if (result.problem == GrayTextProblem::TooShort)
        textMYGraySet->setText(MYGrayCustomDefault);
    return result.gray;
}

void PicToTextPanel::chkMYSetGray_Click(int option)
{
    if (option == 0 || option == 1) {
        const QString &gray = option == 0 ? MYGrayNormal : MYGray94;
        textMYGraySet->setReadOnly(true);
        textMYGraySet->setText(gray);
        textMYGraySet->setToolTip(QStringLiteral("〔共") + QString::number(grayCharacters(gray).size())
                                  + QStringLiteral("阶灰度〕") + gray);
    } else {
        textMYGraySet->setText(MYGrayCustom);
        textMYGraySet->setReadOnly(false);
        textMYGraySet->setFocus();
    }
    MYGrayInUse = textMYGraySet->text();
    showOutputSize();
}

void PicToTextPanel::textMYGraySet_Change()
{
    if (!chkMYSetGray[2]->isChecked())
        return;
    MYGrayCustom = ReSortGrayChar(textMYGraySet->text());
    MYGrayInUse = MYGrayCustom;
    showOutputSize();
}

void PicToTextPanel::textMYGraySet_LostFocus()
{
    if (chkMYSetGray[2]->isChecked())
        textMYGraySet->setText(MYGrayCustom);
}

void PicToTextPanel::chkMYAddMode_Click()
{
    MYAddMode = chkMYAddMode->isChecked();
}

void PicToTextPanel::btnMY_Click(int index)
{
    switch (index) {
    case 0: {
        if (const auto chosen = context().dialogs->openFile(kOpenFilter, m_openFileName))
            m_openFileName = *chosen;
        MYPicPath = m_openFileName;
        if (TrimBlanks(MYPicPath).isEmpty())
            return;
        if (!QFileInfo(MYPicPath).isFile() || !CanWritePath(MYPicPath)) {
            context().dialogs->message(QStringLiteral("打开的文件路径无效或不存在！"), Strings::kHintTitle,
                              Dialogs::Icon::Information);
            return;
        }
        ReadMYPicFile(MYPicPath);
        InitlstMYSource(-1, checkedSource());
        break;
    }
    case 1:
        startConversion();
        break;
    case 2:
        m_converter.StopPicToText = true;
        break;
    case 3:
        MYSetFontSize();
        break;
    case 4:
        ClearMYTextPicView();
        break;
    default:
        break;
    }
}

void PicToTextPanel::startConversion()
{
    // Pressed again in the pause a running conversion makes after each row.
    if (m_converter.isRunning())
        return;
    if (m_picture.isNull()) {
        context().dialogs->message(QStringLiteral("还没有选择要磨牙的图片，请先从资源列表或外部选择一张图片！"),
                          Strings::kHintTitle, Dialogs::Icon::Information);
        return;
    }
    // The options as they are now hold for the whole conversion, whatever
    // changes in its pauses.
    const PicToTextOptions options = outputOptions();
    if (!LevelsToText::layout(m_picture.size(), options, MYGrayInUse).ok()) {
        tooLargeOutput();
        return;
    }
    m_converter.StopPicToText = false;
    MYTempPicBox = PixelSurface(m_picture);
    if (m_textMYPicView->isEmpty())
        chkMYAddMode->setChecked(false);

    QPointer<PicToTextPanel> alive(this);
    const auto outcome = m_converter.PicToText(MYTempPicBox, MYTempFile, MYGrayInUse, MYAddMode, options);
    if (!alive)
        return; // the window went away while the rows were being made
    switch (outcome) {
    case PicToTextConverter::Outcome::Busy:
        return;
    case PicToTextConverter::Outcome::BadSize:
        tooLargeOutput();
        return;
    case PicToTextConverter::Outcome::NoGray:
    case PicToTextConverter::Outcome::WriteFailed:
    case PicToTextConverter::Outcome::ReadFailed:
        context().dialogs->message(QStringLiteral("无法写入临时文件，磨牙没有完成，显示区保持不变！"),
                          QStringLiteral("磨牙失败：（"), Dialogs::Icon::Exclamation);
        return;
    case PicToTextConverter::Outcome::Done:
    case PicToTextConverter::Outcome::Stopped:
        break;
    }
    if (!m_textMYPicView->loadFile(MYTempFile))
        context().dialogs->message(QStringLiteral("无法读取临时文件，显示区保持不变！"), QStringLiteral("磨牙失败：（"),
                          Dialogs::Icon::Exclamation);
}

void PicToTextPanel::tooLargeOutput()
{
    context().dialogs->message(QStringLiteral("磨牙结果太大了：宽、高最多%1个字符，宽×高最多%2万个字符！")
                                   .arg(LevelsToText::kMaxSide)
                                   .arg(LevelsToText::kMaxCells / 10'000),
                               QStringLiteral("输出设置错误：（"), Dialogs::Icon::Exclamation);
}

void PicToTextPanel::MYSetFontSize()
{
    if (MYFontSize == 0)
        MYFontSize = kDefaultFontSize;
    if (const auto answer = context().dialogs->input(QStringLiteral("请输入字体大小(建议不要设置得过大)："),
                                            QStringLiteral("设置字体大小"), fontSizeText(MYFontSize))) {
        bool isNumber = false;
        const double size = answer->trimmed().toDouble(&isNumber);
        if (isNumber && std::isfinite(size) && size > 0 && size <= kMaxFontSize)
            MYFontSize = float(size);
    }
    m_textMYPicView->setFontPointSize(MYFontSize);
}

void PicToTextPanel::ClearMYTextPicView()
{
    if (!context().dialogs->question(QStringLiteral("真的要清空吗？"), QStringLiteral("清空显示区"), Dialogs::Icon::Question))
        return;
    chkMYAddMode->setChecked(false);
    m_textMYPicView->setText(QString());
    if (!m_textMYPicView->saveFile(MYTempFile))
        context().dialogs->message(QStringLiteral("清空显示区时出现错误！"), QStringLiteral("清空错误：（"),
                          Dialogs::Icon::Exclamation);
}
