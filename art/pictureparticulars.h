#pragma once

// What the picture panel says about a picture file, and where its preview goes.

#include <QRect>
#include <QSize>
#include <QString>

namespace PictureParticulars {

// "文件名：" + the file name without its last four characters, trimmed.
QString nameCaption(const QString &path);
// "类型：" + the last three characters of the file name in capitals.
QString typeCaption(const QString &path);
// "大小：1.07KB" above 1024 bytes (hundredths cut, not rounded), else "大小：1024字节".
QString sizeCaption(qint64 bytes);
// "宽×高：120×90".
QString dimensionsCaption(QSize size);

// The file name: what follows the last separator, "/" or "\".
QString fileName(const QString &path);

// The rectangle inside a preview box of `box` pixels that shows a picture of
// `picture` pixels: shrunk to fit (never enlarged), proportions kept, centred.
QRect previewFit(QSize picture, QSize box);

} // namespace PictureParticulars
