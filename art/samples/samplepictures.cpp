#include "samplepictures.h"

#include "gifwriter.h"

#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cmath>

namespace {

const QColor kInk(40, 30, 20);
const QColor kSun(255, 214, 40);

enum class Look { Smile, Laugh, Wink, Surprise, Cool };

// The drawings are made on a 64-pixel grid and come out at 40 pixels: one
// character a pixel, a 40-row picture fits the display at its starting size
// and is a fair width for a chat window.
constexpr double kScale = 40.0 / 64.0;

QImage canvas(int w, int h, bool transparent)
{
    QImage image(int(std::lround(w * kScale)), int(std::lround(h * kScale)), QImage::Format_ARGB32);
    image.fill(transparent ? Qt::transparent : Qt::white);
    return image;
}

// A painter on the picture that takes coordinates of the 64-pixel grid.
void gridPainter(QPainter &p, QImage &image)
{
    p.begin(&image);
    p.scale(kScale, kScale);
}

QPen inkPen(double width)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void face(QPainter &p, const QRectF &r, Look look)
{
    p.setPen(inkPen(3));
    p.setBrush(kSun);
    p.drawEllipse(r);
    const double cx = r.center().x();
    const double cy = r.center().y();
    const double u = r.width() / 10; // one tenth of the face
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    const QRectF leftEye(cx - 2.6 * u, cy - 2.4 * u, 1.4 * u, 2.0 * u);
    const QRectF rightEye(cx + 1.2 * u, cy - 2.4 * u, 1.4 * u, 2.0 * u);
    switch (look) {
    case Look::Wink:
        p.drawEllipse(leftEye);
        p.setPen(inkPen(2.5));
        p.drawLine(QPointF(rightEye.left() - 0.3 * u, rightEye.center().y()),
                   QPointF(rightEye.right() + 0.3 * u, rightEye.center().y() - 0.6 * u));
        break;
    case Look::Cool: {
        // Sunglasses: two dark lenses and a bridge.
        p.setPen(inkPen(1.5));
        p.setBrush(QColor(20, 20, 30));
        p.drawRoundedRect(QRectF(cx - 3.8 * u, cy - 2.6 * u, 3.3 * u, 2.2 * u), u, u);
        p.drawRoundedRect(QRectF(cx + 0.5 * u, cy - 2.6 * u, 3.3 * u, 2.2 * u), u, u);
        p.drawLine(QPointF(cx - 0.5 * u, cy - 2.0 * u), QPointF(cx + 0.5 * u, cy - 2.0 * u));
        p.setPen(QPen(Qt::white, 1.2));
        p.drawLine(QPointF(cx - 3.2 * u, cy - 2.1 * u), QPointF(cx - 2.5 * u, cy - 2.1 * u));
        p.drawLine(QPointF(cx + 1.1 * u, cy - 2.1 * u), QPointF(cx + 1.8 * u, cy - 2.1 * u));
        break;
    }
    default:
        p.drawEllipse(leftEye);
        p.drawEllipse(rightEye);
        break;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(2.5));
    switch (look) {
    case Look::Smile:
    case Look::Wink:
    case Look::Cool:
        p.drawArc(QRectF(cx - 3 * u, cy - 1.5 * u, 6 * u, 5 * u), 200 * 16, 140 * 16);
        break;
    case Look::Laugh: {
        QPainterPath mouth;
        mouth.moveTo(cx - 3.2 * u, cy + 0.8 * u);
        mouth.lineTo(cx + 3.2 * u, cy + 0.8 * u);
        mouth.arcTo(QRectF(cx - 3.2 * u, cy - 2.4 * u, 6.4 * u, 6.4 * u), 0, -180);
        p.setBrush(QColor(150, 30, 40));
        p.drawPath(mouth);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 110, 120));
        p.drawEllipse(QRectF(cx - 1.5 * u, cy + 2.3 * u, 3 * u, 1.4 * u));
        break;
    }
    case Look::Surprise:
        p.setBrush(QColor(150, 30, 40));
        p.drawEllipse(QRectF(cx - 1.2 * u, cy + 1.0 * u, 2.4 * u, 2.8 * u));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(cx - 3.2 * u, cy - 4.2 * u, 2.2 * u, 1.6 * u), 30 * 16, 120 * 16);
        p.drawArc(QRectF(cx + 1.0 * u, cy - 4.2 * u, 2.2 * u, 1.6 * u), 30 * 16, 120 * 16);
        break;
    }
}

QImage emoticon(Look look, bool transparent)
{
    QImage image = canvas(64, 64, transparent);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing, !transparent); // hard edges keep a GIF palette small
    face(p, QRectF(3, 3, 58, 58), look);
    return image;
}

QPainterPath heartPath(const QRectF &r)
{
    QPainterPath path;
    const double w = r.width();
    const double h = r.height();
    path.moveTo(r.left() + w / 2, r.top() + h * 0.3);
    path.cubicTo(r.left() + w / 2, r.top(), r.left(), r.top(), r.left(), r.top() + h * 0.33);
    path.cubicTo(r.left(), r.top() + h * 0.6, r.left() + w / 2, r.top() + h * 0.8, r.left() + w / 2, r.bottom());
    path.cubicTo(r.left() + w / 2, r.top() + h * 0.8, r.right(), r.top() + h * 0.6, r.right(), r.top() + h * 0.33);
    path.cubicTo(r.right(), r.top(), r.left() + w / 2, r.top(), r.left() + w / 2, r.top() + h * 0.3);
    return path;
}

QImage hearts()
{
    QImage image = canvas(80, 64, false);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(inkPen(2.5));
    p.setBrush(QColor(230, 40, 70));
    p.drawPath(heartPath(QRectF(4, 8, 46, 44)));
    p.setBrush(QColor(255, 150, 170));
    p.drawPath(heartPath(QRectF(44, 22, 32, 30)));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(10, 16, 14, 14), 100 * 16, 70 * 16);
    return image;
}

QPainterPath starPath(QPointF centre, double outer, double inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double radius = (i % 2) ? inner : outer;
        const QPointF pt(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QImage stars()
{
    QImage image = canvas(80, 64, false);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, 80, 64), QColor(25, 30, 70)); // a night sky: the stars come out light
    p.setPen(QPen(QColor(255, 240, 160), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 220, 60));
    p.drawPath(starPath(QPointF(30, 34), 26, 11));
    p.drawPath(starPath(QPointF(66, 16), 10, 4));
    p.drawPath(starPath(QPointF(64, 50), 7, 3));
    return image;
}

QImage cake()
{
    QImage image = canvas(64, 64, true);
    QPainter p;
    gridPainter(p, image);
    p.setPen(inkPen(2));
    p.setBrush(QColor(250, 230, 200));
    p.drawRect(QRectF(8, 34, 48, 24));
    p.setBrush(QColor(240, 120, 160));
    p.drawRect(QRectF(8, 34, 48, 7));
    p.setBrush(QColor(120, 70, 40));
    p.drawRect(QRectF(8, 47, 48, 4));
    for (int i = 0; i < 3; ++i) {
        const double x = 18 + i * 13;
        p.setBrush(QColor(90, 160, 230));
        p.drawRect(QRectF(x, 18, 4, 16));
        p.setBrush(QColor(255, 170, 0));
        p.drawEllipse(QRectF(x - 1.5, 9, 7, 9));
    }
    return image;
}

QImage moon()
{
    QImage image = canvas(64, 64, true);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(QRectF(6, 6, 52, 52));
    QPainterPath bite;
    bite.addEllipse(QRectF(22, 0, 46, 46));
    p.setPen(inkPen(2.5));
    p.setBrush(QColor(255, 230, 120));
    p.drawPath(disc.subtracted(bite));
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(18, 30, 4, 4));
    p.setPen(inkPen(2));
    p.drawArc(QRectF(14, 36, 12, 8), 200 * 16, 140 * 16);
    return image;
}

QImage cat()
{
    QImage image = canvas(64, 64, false);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(inkPen(2.5));
    p.setBrush(QColor(245, 160, 70));
    p.drawPolygon(QPolygonF({QPointF(8, 30), QPointF(12, 4), QPointF(28, 18)}));
    p.drawPolygon(QPolygonF({QPointF(56, 30), QPointF(52, 4), QPointF(36, 18)}));
    p.drawEllipse(QRectF(6, 14, 52, 44));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(20, 38, 24, 16));
    p.setBrush(QColor(120, 200, 90));
    p.drawEllipse(QRectF(17, 26, 10, 10));
    p.drawEllipse(QRectF(37, 26, 10, 10));
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(20.5, 27, 3, 8));
    p.drawEllipse(QRectF(40.5, 27, 3, 8));
    p.setBrush(QColor(230, 90, 110));
    p.drawPolygon(QPolygonF({QPointF(29, 40), QPointF(35, 40), QPointF(32, 44)}));
    p.setPen(inkPen(1.2));
    for (int side : {-1, 1}) {
        p.drawLine(QPointF(32 + side * 10, 44), QPointF(32 + side * 28, 40));
        p.drawLine(QPointF(32 + side * 10, 47), QPointF(32 + side * 28, 49));
    }
    return image;
}

QImage robot()
{
    QImage image = canvas(64, 64, true);
    QPainter p;
    gridPainter(p, image);
    p.setPen(inkPen(2));
    p.setBrush(QColor(170, 180, 200));
    p.drawLine(32, 4, 32, 12);
    p.setBrush(QColor(230, 60, 60));
    p.drawEllipse(QRectF(28, 1, 8, 8));
    p.setBrush(QColor(170, 180, 200));
    p.drawRect(QRectF(10, 12, 44, 40));
    p.drawRect(QRectF(4, 24, 6, 14));
    p.drawRect(QRectF(54, 24, 6, 14));
    p.setBrush(QColor(60, 220, 240));
    p.drawRect(QRectF(16, 20, 12, 10));
    p.drawRect(QRectF(36, 20, 12, 10));
    p.setBrush(kInk);
    p.drawRect(QRectF(20, 23, 4, 4));
    p.drawRect(QRectF(40, 23, 4, 4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(18, 38, 28, 8));
    for (int x = 25; x < 46; x += 7)
        p.drawLine(x, 38, x, 46);
    p.setBrush(QColor(110, 120, 140));
    p.drawRect(QRectF(20, 52, 24, 10));
    return image;
}

QImage panda()
{
    QImage image = canvas(64, 64, true);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(inkPen(2));
    p.setBrush(kInk);
    p.drawEllipse(QRectF(4, 4, 18, 18));
    p.drawEllipse(QRectF(42, 4, 18, 18));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 10, 52, 48));
    p.setBrush(kInk);
    p.save();
    p.translate(22, 30);
    p.rotate(-30);
    p.drawEllipse(QRectF(-6, -8, 12, 16));
    p.restore();
    p.save();
    p.translate(42, 30);
    p.rotate(30);
    p.drawEllipse(QRectF(-6, -8, 12, 16));
    p.restore();
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(21, 27, 4, 4));
    p.drawEllipse(QRectF(39, 27, 4, 4));
    p.setBrush(kInk);
    p.drawEllipse(QRectF(28, 38, 8, 6));
    p.setPen(inkPen(2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(25, 40, 7, 7), 200 * 16, 140 * 16);
    p.drawArc(QRectF(32, 40, 7, 7), 200 * 16, 140 * 16);
    return image;
}

QImage cool()
{
    QImage image = canvas(72, 72, false);
    QPainter p;
    gridPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    // A cap drawn behind the face, peak to the side.
    p.setPen(inkPen(2.5));
    p.setBrush(QColor(40, 90, 200));
    p.drawChord(QRectF(10, 2, 52, 44), 0, 180 * 16);
    p.drawRoundedRect(QRectF(40, 18, 30, 6), 3, 3);
    face(p, QRectF(8, 12, 56, 56), Look::Cool);
    return image;
}

bool writePicture(const QImage &image, const QString &path)
{
    const QString suffix = path.section(u'.', -1).toLower();
    if (suffix == QLatin1String("gif"))
        return GifWriter::write(image, path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, suffix.toLatin1());
    if (suffix == QLatin1String("jpg"))
        writer.setQuality(92);
    // BMP and JPEG keep no transparency; their pictures are drawn opaque.
    const QImage out = suffix == QLatin1String("ico") ? image : image.convertToFormat(QImage::Format_RGB32);
    return writer.write(out) && file.commit();
}

} // namespace

QList<SamplePictures::Sample> SamplePictures::all()
{
    const QString faces = QStringLiteral("data/磨牙资源/表情图片");
    const QString messages = QStringLiteral("data/磨牙资源/短信图片");
    const QString avatars = QStringLiteral("data/磨牙资源/超Cool头像");
    return {
        {faces, QStringLiteral("微笑.bmp"), emoticon(Look::Smile, false)},
        {faces, QStringLiteral("大笑.jpg"), emoticon(Look::Laugh, false)},
        {faces, QStringLiteral("眨眼.gif"), emoticon(Look::Wink, true)},
        {faces, QStringLiteral("惊讶.ico"), emoticon(Look::Surprise, true)},
        {messages, QStringLiteral("爱心.bmp"), hearts()},
        {messages, QStringLiteral("星星.jpg"), stars()},
        {messages, QStringLiteral("蛋糕.gif"), cake()},
        {messages, QStringLiteral("月亮.ico"), moon()},
        {avatars, QStringLiteral("酷哥.jpg"), cool()},
        {avatars, QStringLiteral("小猫.bmp"), cat()},
        {avatars, QStringLiteral("机器人.gif"), robot()},
        {avatars, QStringLiteral("熊猫.ico"), panda()},
    };
}

bool SamplePictures::writeAll(const QString &programDir)
{
    bool ok = true;
    for (const Sample &sample : all()) {
        const QString dir = programDir + u'/' + sample.directory;
        ok = QDir().mkpath(dir) && ok;
        ok = writePicture(sample.image, dir + u'/' + sample.fileName) && ok;
    }
    return ok;
}
