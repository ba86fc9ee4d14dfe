#include "pictureparticulars.h"

#include "shell/core/utilities.h"

#include <algorithm>
#include <cmath>

namespace PictureParticulars {

QString fileName(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

QString nameCaption(const QString &path)
{
    const QString name = fileName(path);
    return QStringLiteral("文件名：") + TrimBlanks(name.left(std::max<qsizetype>(0, name.size() - 4)));
}

QString typeCaption(const QString &path)
{
    return QStringLiteral("类型：") + fileName(path).right(3).toUpper();
}

QString sizeCaption(qint64 bytes)
{
    if (bytes <= 1024)
        return QStringLiteral("大小：") + QString::number(bytes) + QStringLiteral("字节");
    // Whole hundredths of a kilobyte, computed exactly in integers.
    const qint64 hundredths = bytes * 100 / 1024;
    QString number = QString::number(hundredths / 100);
    if (const qint64 fraction = hundredths % 100) {
        number += u'.' + QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
        while (number.endsWith(u'0'))
            number.chop(1);
    }
    return QStringLiteral("大小：") + number + QStringLiteral("KB");
}

QString dimensionsCaption(QSize size)
{
    return QStringLiteral("宽×高：") + QString::number(size.width()) + u'×' + QString::number(size.height());
}

QRect previewFit(QSize picture, QSize box)
{
    if (picture.isEmpty() || box.isEmpty())
        return QRect();
    const double rx = double(picture.width()) / box.width();
    const double ry = double(picture.height()) / box.height();
    const double s = std::max({rx, ry, 1.0});
    const int w = std::max(1, int(std::lround(picture.width() / s)));
    const int h = std::max(1, int(std::lround(picture.height() / s)));
    return QRect((box.width() - w) / 2, (box.height() - h) / 2, w, h);
}

} // namespace PictureParticulars
