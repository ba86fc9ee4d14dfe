#include "spacefoldwindow.h"

#include "aboutspacefold.h"
#include "openedart.h"
#include "zipstatistics.h"

#include "shell/core/dialogs.h"
#include "shell/core/fonts.h"
#include "shell/core/logo.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"
#include "shell/widgets/clicklabel.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/displayarea.h"
#include "shell/widgets/hoverframes.h"
#include "shell/widgets/savetextas.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>
#include <QThread>
#include <QTimer>

namespace {

const QString kCaption = QStringLiteral("空格压缩器(Spacefold) V1.0 For Zantoria");
const QString kIdleStatus = QStringLiteral("文本状态：空闲：）[如果文本过大，压缩时间可能会长些]");
const QString kOpening = QStringLiteral("文本状态：正在打开文件...");
const QString kNotZipped = QStringLiteral("压缩后文本大小：[尚未进行压缩]");
const QString kZipping = QStringLiteral("压缩后文本大小：[正在进行压缩...]");
const QString kTimeTip = QStringLiteral("对小于1秒的时间，将作0秒来显示：）");
const QString kZipFailed = QStringLiteral("压缩时出现错误！");
const QString kZipFailedTitle = QStringLiteral("出错了：O");
const QString kActionFailedTitle = QStringLiteral("出错了：（");
const QString kOpenFailed = QStringLiteral("打开文件时出现错误！文件不存在或是已经损坏：O");
const QString kSaveFailed = QStringLiteral("保存文件时出现错误！");
const QString kUnknownFailure = QStringLiteral("未知错误，这个错误可能是由于所读取的数据是非文本型数据而造成的！\r\n"
                                               "请检查所读取的数据类型是否正确。：O");
const QString kOverwriteTitle = QStringLiteral("提醒信息：）");
const QString kSaveFilter = QStringLiteral("*.* (*)");

constexpr char16_t kWideBlank = 0x3000;

// The background of Zantoria's default skin, so that the two programs look alike.
const QColor kBackColor(240, 245, 251);

// The window's layout, in pixels.
constexpr int kWidth = 560;
constexpr int kHeight = 424;
constexpr int kHeaderHeight = 58;

const char *const kButtonCaptions[6] = {"来自剪贴板", "来自文件", "压缩空格", "保存到文件", "关    于", "退      出"};
const char *const kOptionCaptions[4] = {"前置空格", "后置空格", "中间空格", "空行"};

QString passStatus(ZipPass pass)
{
    switch (pass) {
    case ZipPass::BlankLines: return QStringLiteral("文本状态：正在压缩空行...");
    case ZipPass::Trailing: return QStringLiteral("文本状态：正在压缩后置空格...");
    case ZipPass::Leading: return QStringLiteral("文本状态：正在压缩前置空格...");
    case ZipPass::Inner: return QStringLiteral("文本状态：正在压缩中间空格...");
    }
    return kIdleStatus;
}

// Thrown out of a run through the yield hook when the window is closed
// while it compresses; the run is abandoned and the window closes after it.
struct ZipAbandoned
{
};

GradColor gradColor(const QColor &c)
{
    GradColor g;
    g.R = c.red();
    g.G = c.green();
    g.B = c.blue();
    return g;
}

} // namespace

// What a thread opening a file shares with the window: the window may give
// it up, and finds the text in it when the thread has finished.
struct OpenJob
{
    std::atomic<bool> stop = false;
    QString path;
    OpenedArt art; // its text handed on to `shown`
    DisplayArea::Prepared shown;
};

SpacefoldWindow::SpacefoldWindow(QWidget *parent)
    : PanelBox(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("frmSpacefold"));
    setWindowTitle(kCaption);
    setWindowIcon(QPixmap::fromImage(Logo::image(64)));
    setFixedSize(kWidth, kHeight);
    setFont(Fonts::crispFont(Fonts::kSongTi, 9));
    buildControls();
}

SpacefoldWindow::~SpacefoldWindow()
{
    if (m_openThread) {
        m_openJob->stop = true;
        m_openThread->wait();
        delete m_openThread;
    }
}

QString SpacefoldWindow::caption()
{
    return kCaption;
}

void SpacefoldWindow::buildControls()
{
    m_logo = new ClickLabel(this);
    m_logo->setObjectName(QStringLiteral("Logo"));
    m_logo->setPixmap(QPixmap::fromImage(Logo::image(44)));
    m_logo->setGeometry(12, 7, 44, 44);
    m_logo->setToolTip(QStringLiteral("关于空格压缩器"));
    connect(m_logo, &ClickLabel::Click, this, &SpacefoldWindow::Logo_Click);

    m_textBox = new DisplayArea(this);
    m_textBox->setObjectName(QStringLiteral("textBox"));
    m_textBox->setFont(Fonts::crispFont(Fonts::kSongTi, 9));
    m_textBox->setFontPointSize(9);
    m_textBox->setGeometry(10, kHeaderHeight + 8, 362, 262);
    m_textBox->setAccessibleName(QStringLiteral("文字画"));
    connect(m_textBox, &DisplayArea::Change, this, &SpacefoldWindow::textBox_Change);

    const int right = 384;
    const int rightWidth = kWidth - right - 10;
    m_frame[0] = new QGroupBox(QStringLiteral("压缩选项"), this);
    m_frame[0]->setGeometry(right, kHeaderHeight + 2, rightWidth, 100);
    for (int i = 0; i < 4; ++i) {
        m_chk[size_t(i)] = new QCheckBox(QString::fromUtf8(kOptionCaptions[i]), m_frame[0]);
        m_chk[size_t(i)]->setGeometry(12 + (i % 2) * 78, 28 + (i / 2) * 32, 74, 22);
        connect(m_chk[size_t(i)], &QCheckBox::toggled, this, [this, i] { chk_Click(i); });
    }

    const int buttonTop = kHeaderHeight + 112;
    for (int i = 0; i < 6; ++i) {
        auto *button = new CoolButton(QString::fromUtf8(kButtonCaptions[i]), this);
        button->setObjectName(QStringLiteral("Btn%1").arg(i));
        button->setGeometry(right + 1, buttonTop + i * 26, rightWidth - 2, 22);
        connect(button, &CoolButton::Click, this, [this, i] { Btn_Click(i); });
        m_btn[size_t(i)] = button;
    }

    m_frame[1] = new QGroupBox(this);
    m_frame[1]->setGeometry(10, kHeaderHeight + 278, kWidth - 20, kHeight - kHeaderHeight - 288);
    m_lblInfB = new QLabel(m_frame[1]);
    m_lblInfA = new QLabel(m_frame[1]);
    m_lblZipTime = new QLabel(m_frame[1]);
    m_lblZipRate = new QLabel(m_frame[1]);
    m_lblInfB->setGeometry(16, 24, 280, 18);
    m_lblInfA->setGeometry(16, 50, 280, 18);
    m_lblZipTime->setGeometry(320, 24, 200, 18);
    m_lblZipRate->setGeometry(320, 50, 200, 18);
    m_lblZipTime->setToolTip(kTimeTip);

    m_zipTimer = new QTimer(this);
    m_zipTimer->setObjectName(QStringLiteral("ZipTimer"));
    m_zipTimer->setInterval(1000);
    connect(m_zipTimer, &QTimer::timeout, this, &SpacefoldWindow::ZipTimer_Timer);
}

void SpacefoldWindow::Form_Load()
{
    InitZip();
}

void SpacefoldWindow::InitZip()
{
    initColor();
    setBackColor(kBackColor);
    letBtnBackColor();
    for (CoolButton *button : m_btn) {
        button->setCaption(PadCaption(button->caption()));
        DealCap(button);
        wireHoverFrame(this, button, m_colors);
    }
    for (QGroupBox *f : m_frame)
        letBackColor(f);
    for (QCheckBox *c : m_chk)
        letBackColor(c);
    m_chk[0]->setChecked(true);
    isWriting = false;
    InitLbl();
    updateZipButton();
}

void SpacefoldWindow::initColor()
{
    m_colors = ColorScheme::standard();
    m_colors.BackColor = kBackColor;
}

void SpacefoldWindow::InitLbl()
{
    showSizeBefore(ZipStatistics::textSize(m_textBox->text()));
}

void SpacefoldWindow::showSizeBefore(qint64 bytes)
{
    showStatus(kIdleStatus);
    sizeBefore = bytes;
    m_lblInfB->setText(ZipStatistics::sizeBeforeText(sizeBefore));
    m_lblInfA->setText(kNotZipped);
    m_lblZipTime->setText(ZipStatistics::zipTimeText(0));
    m_lblZipRate->setText(QStringLiteral("压缩比率：0%"));
    m_textBox->setLocked(false);
    m_zipTimer->stop();
    ClearVars();
}

void SpacefoldWindow::ClearVars()
{
    // The run's text lives only inside Zip; what is left is the clock.
    elapsedSec = 0;
    m_startedAt = 0;
}

void SpacefoldWindow::DealCap(CoolButton *button)
{
    FixCaption(*button);
}

void SpacefoldWindow::letBackColor(QWidget *control)
{
    ::letBackColor(control, m_colors);
}

void SpacefoldWindow::letBtnBackColor()
{
    for (CoolButton *button : m_btn)
        letBackColor(button);
}

void SpacefoldWindow::updateZipButton()
{
    m_btn[2]->setEnabled(!m_textBox->isEmpty() && m_options.any());
}

void SpacefoldWindow::showStatus(const QString &text)
{
    m_frame[1]->setTitle(text);
}

void SpacefoldWindow::letEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (m_closeRequested)
        throw ZipAbandoned{};
}

void SpacefoldWindow::Zip()
{
    // One run at a time: the events let through during a run can click the
    // button again. Nor does a run start on the text a file is replacing.
    if (m_zipping || isOpening())
        return;
    m_zipping = true;
    m_textBox->setLocked(true);
    elapsedSec = 0;
    m_startedAt = QDateTime::currentSecsSinceEpoch();
    m_zipTimer->start();
    const QString text = m_textBox->text();
    // The boxes stay live during a run; a change counts from the next one,
    // so a run never mixes the passes of two settings.
    const ZipOptions options = m_options;
    sizeBefore = ZipStatistics::textSize(text);
    m_lblInfA->setText(kZipping);

    ZipHooks hooks;
    hooks.passStarting = [this](ZipPass pass) {
        showStatus(passStatus(pass));
        letEventsRun();
    };
    hooks.yield = [this] { letEventsRun(); };

    QString result;
    try {
        result = ::Zip(text, options, hooks);
    } catch (const ZipAbandoned &) {
        m_zipping = false;
        InitLbl();
        close();
        return;
    } catch (...) {
        m_zipping = false;
        m_zipTimer->stop();
        dialogs().message(kZipFailed, kZipFailedTitle, Dialogs::Icon::Critical);
        InitLbl();
        return;
    }

    m_zipTimer->stop();
    isWriting = true;
    m_textBox->setText(std::move(result));
    sizeAfter = ZipStatistics::reportedSizeAfter(sizeBefore, ZipStatistics::textSize(m_textBox->text()));
    m_lblInfB->setText(ZipStatistics::sizeBeforeText(sizeBefore));
    m_lblZipTime->setText(ZipStatistics::zipTimeText(elapsedSec));
    m_lblInfA->setText(ZipStatistics::sizeAfterText(sizeAfter));
    m_lblZipRate->setText(ZipStatistics::zipRateText(sizeBefore, sizeAfter));
    isWriting = false;
    showStatus(kIdleStatus);
    m_textBox->setLocked(false);
    ClearVars();
    m_zipping = false;
}

void SpacefoldWindow::ZipTimer_Timer()
{
    elapsedSec = QDateTime::currentSecsSinceEpoch() - m_startedAt;
    m_lblZipTime->setText(ZipStatistics::zipTimeText(elapsedSec));
}

void SpacefoldWindow::Btn_Click(int index)
{
    // During a run or an opening only About and Exit act: the others would
    // change the box, start another run under the one in progress, or save a
    // text about to be replaced.
    if ((m_zipping || isOpening()) && index != 4 && index != 5)
        return;
    bool ok = true;
    try {
        switch (index) {
        case 0:
            m_textBox->setText(QApplication::clipboard()->text());
            isWriting = false;
            break;
        case 1:
            Btn_MouseOut(1);
            ok = openFromFile();
            break;
        case 2:
            Zip();
            break;
        case 3:
            Btn_MouseOut(3);
            saveToFile();
            break;
        case 4:
            Btn_MouseOut(4);
            showAbout();
            break;
        case 5:
            close();
            break;
        default:
            break;
        }
    } catch (...) {
        ok = false;
    }
    if (!ok)
        reportFailure(index);
}

void SpacefoldWindow::reportFailure(int index)
{
    Btn_MouseOut(index);
    const QString text = index == 1 ? kOpenFailed : index == 3 ? kSaveFailed : kUnknownFailure;
    dialogs().message(text, kActionFailedTitle, Dialogs::Icon::Critical);
    InitLbl();
}

bool SpacefoldWindow::openFromFile()
{
    const std::optional<QString> chosen = dialogs().openFile(Strings::kTextFileFilter, QString());
    if (!chosen || TrimBlanks(*chosen).isEmpty())
        return true;
    // A large file takes seconds to read and decode: that happens on a
    // thread of its own, and the window answers meanwhile. The box keeps its
    // text, locked, until the new one is there.
    showStatus(kOpening);
    m_textBox->setLocked(true);
    m_openJob = std::make_shared<OpenJob>();
    m_openJob->path = *chosen;
    m_openThread = QThread::create([job = m_openJob] {
        job->art = openArt(job->path, &job->stop);
        if (job->art.ok)
            job->shown = DisplayArea::prepare(std::move(job->art.text));
    });
    connect(m_openThread, &QThread::finished, this, &SpacefoldWindow::openFinished);
    m_openThread->start();
    return true;
}

void SpacefoldWindow::openFinished()
{
    m_openThread->wait();
    delete m_openThread;
    m_openThread = nullptr;
    const std::shared_ptr<OpenJob> job = std::move(m_openJob);
    if (m_closeRequested) {
        m_closeRequested = false;
        close();
        return;
    }
    if (!job->art.ok) {
        reportFailure(1);
        return;
    }
    // The text is ready to be shown: its blanks widened, its size counted,
    // its lines indexed.
    m_settingText = true;
    m_textBox->setText(std::move(job->shown));
    m_settingText = false;
    m_openedPath = job->path;
    m_openedFormat = job->art.format;
    isWriting = false;
    showSizeBefore(job->art.bytes);
    updateZipButton();
}

void SpacefoldWindow::saveToFile()
{
    SaveTextAs save;
    save.filter = kSaveFilter;
    save.trimName = false;
    save.invalidPath.clear();
    save.overwriteTitle = kOverwriteTitle;
    save.failed = kSaveFailed;
    save.failedTitle = kActionFailedTitle;
    save.failedIcon = Dialogs::Icon::Critical;
    save.readFrom = m_openedPath;
    save.readFormat = &m_openedFormat;
    const auto outcome = save.run(dialogs(), [this] { return QString(m_textBox->text() + QStringLiteral("\r\n")); });
    // A failure has had its message from the save already.
    if (outcome != SaveTextAs::Outcome::Cancelled)
        InitLbl();
}

void SpacefoldWindow::showAbout()
{
    AboutSpacefold about(this);
    about.exec();
}

void SpacefoldWindow::Btn_MouseMove(int index)
{
    hotHoverFrame(this, m_btn[size_t(index)], m_colors);
}

void SpacefoldWindow::Btn_MouseOut(int index)
{
    restHoverFrame(this, m_btn[size_t(index)], m_colors);
}

void SpacefoldWindow::chk_Click(int index)
{
    const bool on = m_chk[size_t(index)]->isChecked();
    switch (index) {
    case 0: m_options.optLeading = on; break;
    case 1: m_options.optTrailing = on; break;
    case 2: m_options.optInner = on; break;
    case 3: m_options.optBlankLines = on; break;
    default: break;
    }
    updateZipButton();
}

void SpacefoldWindow::textBox_Change()
{
    if (m_settingText)
        return;
    // The box never holds a full-width blank: it becomes two blanks at once,
    // and the cursor stays after what was typed.
    if (m_textBox->isLargeText()) {
        // Nobody types into a large text; it came whole from the clipboard
        // or a run.
        if (m_textBox->text().contains(QChar(kWideBlank))) {
            QString text = m_textBox->text();
            widenBlanks(text);
            m_settingText = true;
            m_textBox->setText(std::move(text));
            m_settingText = false;
        }
    } else if (QString plain = m_textBox->toPlainText(); plain.contains(QChar(kWideBlank))) {
        QTextCursor cursor = m_textBox->textCursor();
        const int position = cursor.position();
        const int widened = int(QStringView(plain).left(position).count(QChar(kWideBlank)));
        plain.replace(QChar(kWideBlank), QStringLiteral("  "));
        m_settingText = true;
        m_textBox->setPlainText(plain);
        m_settingText = false;
        cursor = m_textBox->textCursor();
        cursor.setPosition(std::min(position + widened, int(plain.size())));
        m_textBox->setTextCursor(cursor);
    }
    if (!isWriting)
        InitLbl();
    updateZipButton();
}

void SpacefoldWindow::Logo_Click()
{
    showAbout();
}

void SpacefoldWindow::closeEvent(QCloseEvent *event)
{
    if (m_zipping || isOpening()) {
        // The run notices at its next yield and closes the window after it;
        // an opening is given up within a megabyte, and closes it then.
        m_closeRequested = true;
        if (m_openJob)
            m_openJob->stop = true;
        event->ignore();
        return;
    }
    QCoreApplication::processEvents();
    m_textBox->clear();
    event->accept();
}

void SpacefoldWindow::paintEvent(QPaintEvent *event)
{
    PanelBox::paintEvent(event);
    if (m_header.size() != QSize(width(), kHeaderHeight)) {
        m_header = QImage(width(), kHeaderHeight, QImage::Format_RGB32);
        QPainter band(&m_header);
        DrawGradient(gradColor(QColor(192, 210, 238)), gradColor(backColor()), band, QStringLiteral("H"));
        band.setFont(Fonts::crispFont(Fonts::kSongTi, 15));
        QFont title = band.font();
        title.setBold(true);
        band.setFont(title);
        PrintEngraved(QStringLiteral("空格压缩器"), 66, 8, 1, RGB(33, 84, 160), band);
        band.setFont(Fonts::crispFont(Fonts::kSongTi, 9));
        band.setPen(QColor(70, 70, 70));
        band.drawText(QPoint(68, 46), QStringLiteral("Spacefold V1.0 For Zantoria  —  让文字画更紧凑"));
    }
    QPainter p(this);
    p.drawImage(0, 0, m_header);
    p.setPen(ColorScheme::standard().NormLineColor);
    p.drawLine(0, kHeaderHeight, width(), kHeaderHeight);
}

