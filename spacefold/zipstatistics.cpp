#include "zipstatistics.h"

#include "shell/core/textcodec.h"

#include <algorithm>

namespace ZipStatistics {

qint64 textSize(QStringView text)
{
    return TextCodec::byteLength(text);
}

qint64 reportedSizeAfter(qint64 sizeBefore, qint64 sizeAfter)
{
    return std::min(sizeBefore, sizeAfter);
}

qint64 ratioHundredths(qint64 sizeBefore, qint64 sizeAfter)
{
    if (sizeBefore <= 0)
        return 0;
    const qint64 after = std::clamp<qint64>(sizeAfter, 0, sizeBefore);
    // Sizes are far below 2^49 bytes, so the product cannot overflow.
    return 10000 - after * 10000 / sizeBefore;
}

QString formatHundredths(qint64 hundredths)
{
    QString text = QString::number(hundredths / 100);
    const qint64 fraction = hundredths % 100;
    if (fraction != 0) {
        text += u'.' + QString::number(fraction / 10);
        if (fraction % 10 != 0)
            text += QString::number(fraction % 10);
    }
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
    return QStringLiteral("压缩比率：") + formatHundredths(ratioHundredths(sizeBefore, sizeAfter)) + u'%';
}

} // namespace ZipStatistics
