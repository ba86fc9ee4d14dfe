#include "app/shellpictures.h"

#include "shell/core/logo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ShellPictures {

namespace {

QImage blank(QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

const QColor kAccent(49, 106, 197);

} // namespace

QImage menuBanner(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sweep(0, 0, 0, size.height());
    sweep.setColorAt(0, QColor(41, 92, 178));
    sweep.setColorAt(0.72, QColor(96, 170, 236));
    sweep.setColorAt(1, QColor(142, 219, 255));
    p.fillRect(img.rect(), sweep);

    // A soft light from the upper left keeps the banner from looking flat.
    QRadialGradient glow(QPointF(size.width() * 0.2, 0), size.width() * 0.9);
    glow.setColorAt(0, QColor(255, 255, 255, 70));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    const int logo = std::min(size.height() - 34, 44);
    const int top = 7;
    p.drawImage(QPoint((size.width() - logo) / 2, top), Logo::image(logo));

    QFont name;
    name.setPixelSize(15);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(name);
    const QRect line(0, top + logo + 3, size.width(), 20);
    p.setPen(QColor(18, 52, 110, 120));
    p.drawText(line.translated(0, 1), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Zantoria"));
    p.setPen(Qt::white);
    p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Zantoria"));
    return img;
}

QImage beginBarIcon(bool columnShown)
{
    QImage img = blank(QSize(16, 16));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A window outline with its side column filled while the column shows.
    const QRectF frame(1.5, 2.5, 13, 11);
    p.setPen(QPen(QColor(52, 74, 110), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(frame, 2, 2);
    const QRectF column(2, 3, 4.5, 10);
    if (columnShown) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(96, 170, 236));
        p.drawRect(column);
    } else {
        p.setPen(QPen(QColor(96, 170, 236), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(6.5, 3.5), QPointF(6.5, 12.5));
    }
    // The chevron tells what a click does: fold the column away or bring it back.
    QPainterPath chevron;
    if (columnShown) {
        chevron.moveTo(11.5, 5.5);
        chevron.lineTo(9, 8);
        chevron.lineTo(11.5, 10.5);
    } else {
        chevron.moveTo(9, 5.5);
        chevron.lineTo(11.5, 8);
        chevron.lineTo(9, 10.5);
    }
    p.setPen(QPen(kAccent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
    return img;
}

QImage aboutIcon(int index)
{
    QImage img = blank(QSize(16, 16));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: { // star
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2) ? 3.2 : 7.2;
            const double a = -M_PI / 2 + i * M_PI / 5;
            const QPointF pt(8 + r * std::cos(a), 8.5 + r * std::sin(a));
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(214, 140, 20), 1));
        p.setBrush(QColor(255, 196, 61));
        p.drawPath(star);
        break;
    }
    case 1: { // heart
        QPainterPath heart;
        heart.moveTo(8, 14);
        heart.cubicTo(1, 9, 1, 3, 5, 2.5);
        heart.cubicTo(7, 2.3, 8, 4, 8, 5);
        heart.cubicTo(8, 4, 9, 2.3, 11, 2.5);
        heart.cubicTo(15, 3, 15, 9, 8, 14);
        p.setPen(QPen(QColor(190, 40, 70), 1));
        p.setBrush(QColor(236, 84, 110));
        p.drawPath(heart);
        break;
    }
    case 2: { // notice
        QPainterPath triangle;
        triangle.moveTo(8, 1.5);
        triangle.lineTo(15, 14.5);
        triangle.lineTo(1, 14.5);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(200, 120, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 200, 60));
        p.drawPath(triangle);
        p.setPen(QPen(QColor(60, 40, 0), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 6), QPointF(8, 10));
        p.drawPoint(QPointF(8, 12.6));
        break;
    }
    default: { // help
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QFont f;
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return img;
}

QImage productLogo(int index, int size)
{
    QImage img = blank(QSize(size, size));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient tile(0, 0, 0, s);
    if (index == 0) {
        tile.setColorAt(0, QColor(77, 208, 225));
        tile.setColorAt(1, QColor(0, 131, 143));
    } else {
        tile.setColorAt(0, QColor(179, 136, 255));
        tile.setColorAt(1, QColor(94, 53, 177));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.22, s * 0.22);
    p.setBrush(Qt::white);
    if (index == 0) {
        // Folded blanks: three lines of text cells drawn together.
        const qreal cell = s * 0.11;
        const int lengths[] = {6, 3, 5};
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < lengths[row]; ++col) {
                p.drawRoundedRect(QRectF(s * 0.17 + col * cell * 1.1, s * 0.26 + row * cell * 1.8, cell, cell),
                                  cell * 0.2, cell * 0.2);
            }
        }
        p.setPen(QPen(Qt::white, s * 0.05, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.5, s * 0.80), QPointF(s * 0.82, s * 0.80));
    } else {
        // A brush over a palette of cells: the skin maker.
        p.drawEllipse(QRectF(s * 0.18, s * 0.2, s * 0.62, s * 0.62));
        const QColor dots[] = {QColor(239, 83, 80), QColor(255, 202, 40), QColor(102, 187, 106), QColor(66, 165, 245)};
        for (int i = 0; i < 4; ++i) {
            const double a = -M_PI * 0.9 + i * M_PI * 0.42;
            p.setBrush(dots[i]);
            p.drawEllipse(QPointF(s * 0.49 + s * 0.19 * std::cos(a), s * 0.51 + s * 0.19 * std::sin(a)), s * 0.07,
                          s * 0.07);
        }
    }
    return img;
}

} // namespace ShellPictures
