// Draws the default skin of the main window: the sixteen frame and button
// bitmaps and the description file, into the directory given as the only
// argument. Run by the build; the program directory gets what it writes.
//
// The frame pieces are cut out of one frame drawn for a notional window, so
// that edges, corners and the caption join without a seam whatever size the
// window has. The button faces repeat the caption rows they sit on, so the
// bitmaps need no transparency.

#include "shell/core/logo.h"
#include "shell/core/textcodec.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// Sizes of the pieces; the caption buttons are laid out from them.
constexpr int kCaptionHeight = 28;
constexpr int kEdge = 4;
constexpr int kCornerWidth = 8;
constexpr int kLeftTopWidth = 34; // wide enough for the control button
constexpr QSize kCaptionIcon(22, 16);
constexpr QSize kControlIcon(18, 18);

// The window background; the description file carries it.
constexpr int kBackRed = 240;
constexpr int kBackGreen = 245;
constexpr int kBackBlue = 251;

const QColor kBorder(58, 96, 160);
const QColor kEdgeLight(238, 244, 252);
const QColor kEdgeFill(222, 233, 247);
const QColor kEdgeInner(190, 208, 232);
const QColor kCaptionTop(251, 253, 255);
const QColor kCaptionBottom(219, 231, 247);
const QColor kCaptionSeparator(176, 198, 228);
const QColor kGlyph(47, 60, 84);
const QColor kCloseGlyph(196, 54, 48);

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Colour of the caption band at row y (0 is the window's top edge).
QColor captionColour(int y, bool active)
{
    QColor c;
    if (y == 0)
        c = kBorder;
    else if (y == 1)
        c = QColor(255, 255, 255);
    else if (y == kCaptionHeight - 1)
        c = kCaptionSeparator;
    else
        c = mix(kCaptionTop, kCaptionBottom, double(y - 2) / (kCaptionHeight - 4));
    if (!active) {
        const int grey = qGray(c.rgb());
        c = mix(c, QColor(grey, grey, grey), 0.85);
    }
    return c;
}

// The whole frame of a notional W × H window; the inside is left in the
// window background, which no piece shows.
QImage drawFrame(int W, int H, bool active)
{
    QImage frame(W, H, QImage::Format_RGB32);
    frame.fill(QColor(kBackRed, kBackGreen, kBackBlue));
    const QColor bands[kEdge] = {kBorder, kEdgeLight, kEdgeFill, kEdgeInner};
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const int depth = std::min({x, W - 1 - x, H - 1 - y});
            if (y < kCaptionHeight) {
                // The outer border frames the caption too.
                frame.setPixelColor(x, y, (x == 0 || x == W - 1) ? kBorder : captionColour(y, active));
            } else if (depth < kEdge) {
                frame.setPixelColor(x, y, active ? bands[depth] : captionColour(kCaptionHeight / 2, false));
            }
        }
    }
    if (!active)
        return frame;
    // A faint accent under the control button ties the corner to the logo.
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient accent(0, 0, kLeftTopWidth, 0);
    accent.setColorAt(0, QColor(255, 167, 38, 0));
    accent.setColorAt(0.5, QColor(255, 167, 38, 90));
    accent.setColorAt(1, QColor(255, 167, 38, 0));
    p.fillRect(QRect(1, kCaptionHeight - 2, kLeftTopWidth - 1, 1), accent);
    return frame;
}

// A caption column: the caption rows a button of `height` covers when it is
// centred in the caption.
QImage captionStrip(int width, int height)
{
    QImage strip(width, height, QImage::Format_RGB32);
    const int top = (kCaptionHeight - height) / 2;
    for (int y = 0; y < height; ++y) {
        const QColor c = captionColour(top + y, true);
        for (int x = 0; x < width; ++x)
            strip.setPixelColor(x, y, c);
    }
    return strip;
}

// The face of the minimise, maximise and close buttons: the caption rows
// with a soft rounded plate.
QImage buttonBack()
{
    const QSize size(kCaptionIcon.width() + 4, kCaptionIcon.height() + 2);
    QImage back = captionStrip(size.width(), size.height());
    QPainter p(&back);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(176, 198, 228, 150));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
    return back;
}

// An icon on the exact pixels of the face it is centred on, so it needs no
// transparent colour.
QImage iconBase(const QImage &face, QSize icon)
{
    return face.copy((face.width() - icon.width()) / 2, (face.height() - icon.height()) / 2, icon.width(),
                     icon.height());
}

enum class Glyph { Min, Max, Restore, Close };

QImage captionIcon(const QImage &face, Glyph glyph)
{
    QImage icon = iconBase(face, kCaptionIcon);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(kCaptionIcon.width() / 2.0, kCaptionIcon.height() / 2.0);
    QPen pen(glyph == Glyph::Close ? kCloseGlyph : kGlyph, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Min:
        p.drawLine(QPointF(c.x() - 4.5, c.y() + 0.5), QPointF(c.x() + 4.5, c.y() + 0.5));
        break;
    case Glyph::Max:
        p.drawRoundedRect(QRectF(c.x() - 4.5, c.y() - 4, 9, 8), 1.2, 1.2);
        break;
    case Glyph::Restore:
        p.drawRoundedRect(QRectF(c.x() - 4.5, c.y() - 2, 7, 6), 1, 1);
        p.drawPolyline(QPolygonF({QPointF(c.x() - 2.5, c.y() - 3.5), QPointF(c.x() - 2.5, c.y() - 4.5),
                                  QPointF(c.x() + 4.5, c.y() - 4.5), QPointF(c.x() + 4.5, c.y() + 1.5),
                                  QPointF(c.x() + 3.5, c.y() + 1.5)}));
        break;
    case Glyph::Close:
        pen.setWidthF(1.6);
        p.setPen(pen);
        p.drawLine(QPointF(c.x() - 4, c.y() - 4), QPointF(c.x() + 4, c.y() + 4));
        p.drawLine(QPointF(c.x() + 4, c.y() - 4), QPointF(c.x() - 4, c.y() + 4));
        break;
    }
    return icon;
}

bool save(const QImage &image, const QDir &dir, const char *name)
{
    const QString path = dir.filePath(QLatin1String(name));
    if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        return true;
    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen SKIN-DIRECTORY\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "skingen: cannot create %s\n", argv[1]);
        return 1;
    }

    // A notional window large enough that every piece is cut from a clean spot.
    const int W = 160;
    const int H = 120;
    const QImage frame = drawFrame(W, H, true);
    const QImage lostFocus = drawFrame(W, H, false);
    const int mid = W / 2;
    const int midY = H / 2;

    const QImage back = buttonBack();
    const QImage controlBack = captionStrip(kControlIcon.width() + 4, kControlIcon.height() + 2);
    QImage control = iconBase(controlBack, kControlIcon);
    {
        QPainter p(&control);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(0, 0), kControlIcon), Logo::image(kControlIcon.width() * 4));
    }

    bool ok = true;
    ok = save(frame.copy(mid, 0, kCornerWidth, kCaptionHeight), dir, "top.bmp") && ok;
    ok = save(frame.copy(mid, H - kEdge, kCornerWidth, kEdge), dir, "bottom.bmp") && ok;
    ok = save(frame.copy(0, midY, kEdge, kCornerWidth), dir, "left.bmp") && ok;
    ok = save(frame.copy(W - kEdge, midY, kEdge, kCornerWidth), dir, "right.bmp") && ok;
    ok = save(frame.copy(0, 0, kLeftTopWidth, kCaptionHeight), dir, "lefttop.bmp") && ok;
    ok = save(frame.copy(W - kCornerWidth, 0, kCornerWidth, kCaptionHeight), dir, "righttop.bmp") && ok;
    ok = save(frame.copy(0, H - kEdge, kCornerWidth, kEdge), dir, "leftbottom.bmp") && ok;
    ok = save(frame.copy(W - kCornerWidth, H - kEdge, kCornerWidth, kEdge), dir, "rightbottom.bmp") && ok;
    ok = save(captionIcon(back, Glyph::Min), dir, "min.bmp") && ok;
    ok = save(captionIcon(back, Glyph::Max), dir, "max.bmp") && ok;
    ok = save(captionIcon(back, Glyph::Restore), dir, "restore.bmp") && ok;
    ok = save(captionIcon(back, Glyph::Close), dir, "close.bmp") && ok;
    ok = save(back, dir, "btnback.bmp") && ok;
    ok = save(control, dir, "btncontrol.bmp") && ok;
    ok = save(lostFocus.copy(mid, 0, kCornerWidth, kCaptionHeight), dir, "formlostfocus.bmp") && ok;
    ok = save(controlBack, dir, "btncontrolback.bmp") && ok;

    const QString ini = QStringLiteral("Red=%1\r\nGreen=%2\r\nBlue=%3\r\nBackPicture=\r\n")
                            .arg(kBackRed)
                            .arg(kBackGreen)
                            .arg(kBackBlue);
    if (!TextCodec::writeFile(dir.filePath(QStringLiteral("Skin.ini")), ini)) {
        std::fprintf(stderr, "skingen: cannot write Skin.ini\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
