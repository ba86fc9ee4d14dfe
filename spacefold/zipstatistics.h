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

// Percent saved, in hundredths of a percent: 10000 less the fraction kept,
// cut to four decimal places. Whole numbers all the way, so 3.78 is 378 and
// never 3.7799999. 0 for an empty text, since nothing could be saved.
qint64 ratioHundredths(qint64 sizeBefore, qint64 sizeAfter);

QString sizeBeforeText(qint64 bytes); // 压缩前文本大小： 1000字节
QString sizeAfterText(qint64 bytes); // 压缩后文本大小： 333字节
QString zipTimeText(qint64 seconds); // 压缩时间：0秒
QString zipRateText(qint64 sizeBefore, qint64 sizeAfter); // 压缩比率：66.7%

// Hundredths as a decimal number without trailing zeros: 378 is "3.78",
// 6670 "66.7", 50 "0.5", 10000 "100".
QString formatHundredths(qint64 hundredths);

} // namespace ZipStatistics
