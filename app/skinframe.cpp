#include "app/skinframe.h"

#include "shell/widgets/coolbutton.h"
#include "shell/core/fonts.h"
#include "shell/core/programpaths.h"
#include "shell/core/textcodec.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

namespace {

// A face (or an icon lying on it at `offset`) with a rounded, translucent
// wash over the face's rectangle, so that icon and face stay seamless.
QPixmap washed(const QPixmap &picture, QPoint offset, QSize face, const QColor &wash)
{
    if (picture.isNull())
        return picture;
    QImage img = picture.toImage().convertToFormat(QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(wash);
    p.drawRoundedRect(QRectF(QPointF(0.5, 0.5) - offset, QSizeF(face) - QSizeF(1, 1)), 4, 4);
    return QPixmap::fromImage(img);
}

} // namespace

QString skinFailureText()
{
    return QStringLiteral("初始化系统皮肤时出现错误，可能是系统的默认皮肤文件已经被损坏或非法修改。：O\r\n"
                          "建议重新安装『Zantoria』，确认后程序会自动结束。");
}

QString skinFailureTitle()
{
    return QStringLiteral("『Zantoria』提醒您：)");
}

QString SkinFrame::pieceFileName(int piece)
{
    static const char *const names[kPieceCount + 1] = {
        "",           "top.bmp",         "bottom.bmp",  "left.bmp",        "right.bmp",
        "lefttop.bmp", "righttop.bmp",   "leftbottom.bmp", "rightbottom.bmp", "min.bmp",
        "max.bmp",    "restore.bmp",     "close.bmp",   "btnback.bmp",     "btncontrol.bmp",
        "formlostfocus.bmp", "btncontrolback.bmp",
    };
    return piece >= 1 && piece <= kPieceCount ? QString::fromLatin1(names[piece]) : QString();
}

SkinFrame::SkinFrame(QObject *parent)
    : QObject(parent)
{
}

SkinFrame::~SkinFrame() = default;

void SkinFrame::createControls()
{
    if (m_btnClose)
        return;
    const auto makeButton = [this](const char *name) {
        auto *button = new CoolButton(SkinForm);
        button->setObjectName(QLatin1String(name));
        button->setFocusPolicy(Qt::NoFocus);
        // The caption buttons sit on the frame, which has no container to
        // draw a hover frame: they light their own face instead.
        connect(button, &CoolButton::MouseMove, this, [this, button] { showHover(button, true); });
        connect(button, &CoolButton::MouseOut, this, [this, button] { showHover(button, false); });
        return button;
    };
    m_btnControl = makeButton("btnControl");
    m_btnMin = makeButton("btnMin");
    m_btnMax = makeButton("btnMax");
    m_btnClose = makeButton("btnClose");
    m_btnControl->setToolTip(QStringLiteral("关于"));
    m_btnMin->setToolTip(QStringLiteral("最小化"));
    m_btnMax->setToolTip(QStringLiteral("最大化"));
    m_btnClose->setToolTip(QStringLiteral("关闭"));

    m_winCaption = new QLabel(SkinForm);
    m_winCaption->setObjectName(QStringLiteral("WinCaption"));
    m_winCaption->installEventFilter(this);
    SkinForm->installEventFilter(this);
    SkinForm->setMouseTracking(true);
}

void SkinFrame::InitSkinForm(QWidget *window, const QString &caption, const QString &mode, const QString &flag,
                             const QString &skinDir)
{
    if (!window)
        throw SkinError("no window to skin");
    SkinForm = window;
    try {
        applySkin(caption, mode, flag, skinDir);
    } catch (const SkinError &) {
        throw;
    } catch (const std::exception &e) {
        throw SkinError(e.what());
    }
}

void SkinFrame::applySkin(const QString &caption, const QString &mode, const QString &flag, const QString &skinDir)
{
    createControls();
    SkinMaxAllowed = true;

    const SkinRules::SkinFlags flags = SkinRules::parseSkinFlag(flag);
    m_btnMin->setVisible(!flags.hideMin);
    m_btnMax->setVisible(!flags.hideMax);
    m_btnClose->setVisible(!flags.hideClose);
    m_btnControl->setVisible(!flags.hideControl);
    SkinMaxAllowed = flags.maxAllowed;

    SkinDir = skinDir;
    LoadSkinPics(SkinDir);
    DrawSkinFrame();

    const QSize lefttop = pieceSize(LeftTop);
    const QSize righttop = pieceSize(RightTop);
    const QSize control = pieceSize(BtnControl);
    m_btnControl->resize(control.width() + 4, control.height() + 2);
    m_btnControl->move(lefttop.width() / 6, (lefttop.height() - m_btnControl->height()) / 2);

    // The caption buttons are centred in the upper-right corner with the
    // height they take from the skin.
    m_btnMin->resize(pieceSize(Min).width() + 4, pieceSize(Min).height() + 2);
    const int buttonTop = (righttop.height() - m_btnMin->height()) / 2;
    m_btnMin->move(m_btnMin->x(), buttonTop);
    m_btnMax->setGeometry(m_btnMax->x(), buttonTop, pieceSize(Min).width() + 4, pieceSize(Max).height() + 2);
    m_btnClose->setGeometry(m_btnClose->x(), buttonTop, pieceSize(Close).width() + 4, pieceSize(Close).height() + 2);

    SkinCaptionHeight = pieceSize(Top).height();
    SkinRightLimit = SkinForm->width() - 2;
    SkinCaptionLeft = m_btnControl->width() + 3;

    SkinCaption = caption;
    SkinMode = mode;
    m_winCaption->setFont(Fonts::crispFont(Fonts::kSongTi, 10.5));
    QPalette palette = m_winCaption->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    m_winCaption->setPalette(palette);
    m_winCaption->setText(TrimBlanks(caption));
    m_winCaption->adjustSize();
    m_winCaption->move(m_winCaption->x(), buttonTop);

    LayoutSkinButtons();
}

QImage SkinFrame::loadPicture(const QString &dir, const QString &name) const
{
    const QString path = ProgramPaths::resolve(dir, u'\\' + name);
    QImage picture;
    if (!QFileInfo(path).isFile() || !picture.load(path) || picture.isNull())
        throw SkinError("skin picture missing or unreadable");
    return picture.convertToFormat(QImage::Format_RGB32);
}

void SkinFrame::LoadSkinPics(const QString &dir)
{
    for (QImage &pic : m_pics)
        pic = QImage();
    m_sizes.fill(QSize());
    BackPicture = QImage();
    LoadSkinIni(ProgramPaths::resolve(dir, QStringLiteral("\\Skin.ini")));
    for (int piece = 1; piece <= kPieceCount; ++piece) {
        m_pics[piece] = loadPicture(dir, pieceFileName(piece));
        m_sizes[piece] = m_pics[piece].size();
    }
}

void SkinFrame::LoadSkinIni(const QString &path)
{
    QStringList lines;
    if (!TextCodec::readLines(path, &lines))
        throw SkinError("skin description file cannot be read");
    SkinRed = SkinRules::ReadColourKey(lines, QStringLiteral("Red"));
    SkinGreen = SkinRules::ReadColourKey(lines, QStringLiteral("Green"));
    SkinBlue = SkinRules::ReadColourKey(lines, QStringLiteral("Blue"));
    const QString back = TrimBlanks(SkinRules::ReadSkinKey(lines, QStringLiteral("BackPicture")));
    SkinHasBackPic = !back.isEmpty();
    BackPicture = SkinHasBackPic ? loadPicture(SkinDir, back) : QImage();
}

QString SkinFrame::ReadSkinKey(const QString &path, const QString &key)
{
    return SkinRules::ReadSkinKey(path, key);
}

QSize SkinFrame::pieceSize(int piece) const
{
    return piece >= 1 && piece <= kPieceCount ? m_sizes[piece] : QSize();
}

void SkinFrame::PaintSkinPiece(QPainter &window, const QImage &piece, int x, int y)
{
    window.drawImage(x, y, piece);
}

void SkinFrame::TileSkinPiece(QPainter &window, const QImage &piece)
{
    const QSize area = window.device() ? QSize(window.device()->width(), window.device()->height()) : QSize();
    for (const int x : SkinRules::tileOffsets(area.width(), piece.width())) {
        for (const int y : SkinRules::tileOffsets(area.height(), piece.height()))
            PaintSkinPiece(window, piece, x, y);
    }
}

void SkinFrame::TileSkinRow(QPainter &window, const QImage &piece, int y)
{
    const int width = window.device() ? window.device()->width() : 0;
    for (const int x : SkinRules::tileOffsets(width, piece.width()))
        PaintSkinPiece(window, piece, x, y);
}

void SkinFrame::TileSkinColumn(QPainter &window, const QImage &piece, int x)
{
    const int height = window.device() ? window.device()->height() : 0;
    for (const int y : SkinRules::tileOffsets(height, piece.height()))
        PaintSkinPiece(window, piece, x, y);
}

void SkinFrame::DrawSkinFrame()
{
    // Once the pictures are released the drawn frame is all there is.
    if (!SkinForm || !picturesLoaded())
        return;
    const int W = SkinForm->width();
    const int H = SkinForm->height();
    const QColor back = backColor();
    QPalette palette = SkinForm->palette();
    palette.setColor(QPalette::Window, back);
    SkinForm->setPalette(palette);

    m_frame = QImage(std::max(1, W), std::max(1, H), QImage::Format_RGB32);
    m_frame.fill(back);
    {
        QPainter p(&m_frame);
        if (SkinHasBackPic)
            TileSkinPiece(p, BackPicture);
        TileSkinRow(p, m_pics[Top], 0);
        TileSkinRow(p, m_pics[Bottom], H - m_pics[Bottom].height());
        TileSkinColumn(p, m_pics[Left], 0);
        TileSkinColumn(p, m_pics[Right], W - m_pics[Right].width());
        PaintSkinPiece(p, m_pics[LeftTop], 0, 0);
        PaintSkinPiece(p, m_pics[RightTop], W - m_pics[RightTop].width(), 0);
        PaintSkinPiece(p, m_pics[LeftBottom], 0, H - m_pics[LeftBottom].height());
        PaintSkinPiece(p, m_pics[RightBottom], W - m_pics[RightBottom].width(), H - m_pics[RightBottom].height());
    }

    const auto pixmap = [this](int piece) { return QPixmap::fromImage(m_pics[piece]); };
    m_btnControl->setButtonIcon(pixmap(BtnControl));
    m_btnControl->setPicture(pixmap(BtnControlBack));
    m_btnMin->setButtonIcon(pixmap(Min));
    m_btnMin->setPicture(pixmap(BtnBack));
    m_btnMax->setPicture(pixmap(BtnBack));
    const bool normal = !(SkinForm->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    m_btnMax->setButtonIcon(pixmap(normal ? Max : Restore));
    m_btnClose->setPicture(pixmap(BtnBack));
    m_btnClose->setButtonIcon(pixmap(Close));
    m_hovered = nullptr;

    SkinForm->update();
    Q_EMIT frameChanged();
}

void SkinFrame::LayoutSkinButtons()
{
    if (!SkinForm)
        return;
    SkinRightLimit = SkinForm->width() - 2;
    const int textWidth = QFontMetrics(m_winCaption->font()).horizontalAdvance(SkinCaption);
    m_winCaption->move(SkinRules::captionTextLeft(SkinMode, SkinForm->width(), textWidth, SkinCaptionLeft),
                       m_winCaption->y());
    const SkinRules::CaptionButtonLefts lefts = SkinRules::captionButtonLefts(
        SkinRightLimit, m_btnClose->width(), m_btnMax->width(), m_btnMin->width(), SkinMaxAllowed);
    m_btnClose->move(lefts.close, m_btnClose->y());
    m_btnMax->move(lefts.max, m_btnMax->y());
    m_btnMin->move(lefts.min, m_btnMin->y());
    DrawSkinFrame();
}

void SkinFrame::showHover(CoolButton *button, bool hot)
{
    if (!button || hot == (m_hovered == button))
        return;
    if (!hot) {
        button->setPicture(m_restPicture);
        button->setButtonIcon(m_restIcon);
        m_hovered = nullptr;
        return;
    }
    if (m_hovered)
        showHover(m_hovered, false);
    m_hovered = button;
    m_restPicture = button->picture();
    m_restIcon = button->buttonIcon();
    const QColor wash = button == m_btnClose ? QColor(232, 60, 50, 70) : QColor(49, 106, 197, 45);
    const QSize face = button->size();
    const QPoint iconAt((face.width() - m_restIcon.width()) / 2, (face.height() - m_restIcon.height()) / 2);
    button->setPicture(washed(m_restPicture, QPoint(), face, wash));
    button->setButtonIcon(washed(m_restIcon, iconAt, face, wash));
}

void SkinFrame::FreeSkinPics()
{
    for (QImage &pic : m_pics)
        pic = QImage();
    BackPicture = QImage();
}

void SkinFrame::SkinMinimize()
{
    if (SkinForm)
        SkinForm->showMinimized();
}

void SkinFrame::SkinMaxRestore()
{
    if (!SkinForm || !SkinMaxAllowed)
        return;
    if (SkinForm->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        SkinForm->showNormal();
    else
        SkinForm->showMaximized();
    LayoutSkinButtons();
}

void SkinFrame::SkinCaptionDblClick(int y)
{
    if (SkinRules::captionDoubleClickToggles(y, SkinCaptionHeight, SkinMaxAllowed))
        SkinMaxRestore();
}

bool SkinFrame::SkinDragWindow(Qt::MouseButton button, int x, int y, const QString &area)
{
    if (!SkinForm
        || !SkinRules::startsDrag(button == Qt::LeftButton, x, y, area, SkinRightLimit, SkinCaptionHeight))
        return false;
    // The window system moves the window with the pointer from here on.
    if (QWindow *handle = SkinForm->windowHandle())
        handle->startSystemMove();
    return true;
}

void SkinFrame::SkinClose()
{
    if (SkinForm)
        SkinForm->close();
}

bool SkinFrame::eventFilter(QObject *watched, QEvent *event)
{
    const bool onCaption = watched == m_winCaption;
    if (!onCaption && watched != SkinForm)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!onCaption)
            m_lastPointerY = static_cast<QMouseEvent *>(event)->position().toPoint().y();
        break;
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        SkinDragWindow(mouse->button(), at.x(), at.y(), onCaption ? QStringLiteral("l") : QString());
        break;
    }
    case QEvent::MouseButtonDblClick:
        SkinCaptionDblClick(m_lastPointerY);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
