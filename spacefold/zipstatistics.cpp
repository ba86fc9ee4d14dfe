#include "zipstatistics.h"

#include "shell/core/textcodec.h"

#include <algorithm>
#include <cmath>

namespace ZipStatistics {

qint64 textSize(QStringView text)
{
    return TextCodec::byteLength(text);
}

qint64 reportedSizeAfter(qint64 sizeBefore, qint64 sizeAfter)
{
    return std::min(sizeBefore, sizeAfter);
}

double ratio(qint64 sizeBefore, qint64 sizeAfter)
{
    if (sizeBefore <= 0)
        return 0;
    const double kept = std::floor(double(sizeAfter) / double(sizeBefore) * 10000) / 10000;
    return (1 - kept) * 100;
}

QString formatNumber(double value)
{
    // Fifteen significant digits hide the binary noise of the arithmetic
    // above (66.699999999999989 is 66.7); 'g' drops the trailing zeros.
    QString text = QString::number(value, 'g', 15);
    if (text == u"-0")
        text = QStringLiteral("0");
    return text;
}

QString sizeBeforeText(qint64 bytes)
{
    return QStringLiteral("压缩前文本大小： ") + QString::number(bytes) + QStringLiteral("字节");
}

QString sizeAfterText(qint64 bytes)
{
    return QStringLiteral("压缩后文本大小： ") + QString::number(bytes) + QStringLiteral("字节");
}

QString zipTimeText(qint64 seconds)
{
    return QStringLiteral("压缩时间：") + QString::number(seconds) + QStringLiteral("秒");
}

QString zipRateText(qint64 sizeBefore, qint64 sizeAfter)
{
    return QStringLiteral("压缩比率：") + formatNumber(ratio(sizeBefore, sizeAfter)) + u'%';
}

} // namespace ZipStatistics
