#pragma once

// The statistics shown after a compression: sizes in bytes of the text as a
// file holds it, the time in whole seconds and the ratio.

#include <QString>
#include <QStringView>

namespace ZipStatistics {

// Bytes the text takes in a file.
qint64 textSize(QStringView text);

// The size after a run as reported: never more than the size before.
qint64 reportedSizeAfter(qint64 sizeBefore, qint64 sizeAfter);

// Percent saved, to four decimal places of the fraction kept; 0 for an
// empty text, since nothing could be saved.
double ratio(qint64 sizeBefore, qint64 sizeAfter);

QString sizeBeforeText(qint64 bytes); // 压缩前文本大小： 1000字节
QString sizeAfterText(qint64 bytes); // 压缩后文本大小： 333字节
QString zipTimeText(qint64 seconds); // 压缩时间：0秒
QString zipRateText(qint64 sizeBefore, qint64 sizeAfter); // 压缩比率：66.7%

// A number as the statistics write it: at most 15 significant digits, no
// trailing zeros, a leading 0 before the point.
QString formatNumber(double value);

} // namespace ZipStatistics
