#include "literalzip.h"

#include "shell/core/textcodec.h"

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBlank = QStringLiteral(" ");

// The characters of a line; a pair of surrogates is one character.
QStringList charactersOf(const QString &line)
{
    QStringList chars;
    for (int i = 0; i < line.size(); ++i) {
        if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
            chars << line.mid(i, 2);
            ++i;
        } else {
            chars << QString(line[i]);
        }
    }
    return chars;
}

bool fullWidth(const QString &character)
{
    const char32_t c = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                             : char32_t(character[0].unicode());
    return TextCodec::isFullWidth(c);
}

QString trimBlanks(const QString &text)
{
    int begin = 0;
    int end = int(text.size());
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString rtrimBlanks(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

bool LiteralZip::findOtherChar(const QString &text)
{
    QString rest = text;
    rest.remove(QStringLiteral(" "));
    rest.remove(QStringLiteral("　"));
    rest.remove(kCrLf);
    return !trimBlanks(rest).isEmpty();
}

QString LiteralZip::getStr(QString text)
{
    int counter = 0;
    for (;;) {
        ++counter;
        if (!text.endsWith(kCrLf))
            break;
        text.chop(2);
        if (!(counter < charactersOf(text).size()))
            break;
    }
    return text;
}

void LiteralZip::reSetTemp()
{
    workText = getStr(workText);
    workLines = workText.split(kCrLf);
    workText = workLines.join(kCrLf);
    workText = getStr(workText);
}

void LiteralZip::dealFM()
{
    workText.clear();
    minChars = INT_MAX;
    maxChars = 0;
    maxBytes = 0;
    QVector<QStringList> lines;
    for (const QString &line : workLines) {
        const QStringList chars = charactersOf(line);
        int bytes = 0;
        for (const QString &c : chars)
            bytes += fullWidth(c) ? 2 : 1;
        minChars = std::min(minChars, int(chars.size()));
        maxChars = std::max(maxChars, int(chars.size()));
        maxBytes = std::max(maxBytes, bytes);
        lines << chars;
    }
    charMatrix.clear();
    byteMatrix.clear();
    for (const QStringList &chars : lines) {
        QVector<ZBCell> charRow;
        QVector<ZBCell> byteRow;
        for (int k = 0; k < maxChars; ++k) {
            if (k >= chars.size()) {
                charRow.append({kBlank, true});
            } else {
                charRow.append({chars[k], false});
                byteRow.append({chars[k], false});
                if (fullWidth(chars[k]))
                    byteRow.append({QString(), false});
            }
        }
        while (byteRow.size() < maxBytes)
            byteRow.append({kBlank, true});
        charMatrix.append(charRow);
        byteMatrix.append(byteRow);
    }
}

bool LiteralZip::columnBlank(const Matrix &matrix, int column)
{
    for (const auto &row : matrix) {
        if (row[column].text != kBlank)
            return false;
    }
    return true;
}

int LiteralZip::leadingBlankColumns(const Matrix &matrix) const
{
    int j = 0;
    while (j < minChars && columnBlank(matrix, j))
        ++j;
    return j;
}

void LiteralZip::blankLines()
{
    QStringList kept;
    for (const QString &line : workLines) {
        if (!trimBlanks(line).isEmpty())
            kept << line;
    }
    workLines = kept;
    workText.clear();
    for (const QString &line : workLines)
        workText += line + kCrLf;
    reSetTemp();
}

void LiteralZip::trailing()
{
    workText.clear();
    for (QString &line : workLines) {
        line = rtrimBlanks(line);
        workText += line + kCrLf;
    }
    reSetTemp();
}

void LiteralZip::leading()
{
    dealFM();
    const int j = leadingBlankColumns(charMatrix);
    for (const auto &row : charMatrix) {
        QString line;
        for (int k = j; k < row.size(); ++k) {
            if (!row[k].isFiller)
                line += row[k].text;
        }
        workText += line + kCrLf;
    }
    reSetTemp();
}

void LiteralZip::inner()
{
    dealFM();
    const int j = leadingBlankColumns(byteMatrix);
    QVector<bool> removed(maxBytes, false);
    for (int n = j; n < maxBytes; ++n)
        removed[n] = columnBlank(byteMatrix, n);
    for (const auto &row : byteMatrix) {
        QString line;
        for (int n = 0; n < row.size(); ++n) {
            if (!removed[n] && !row[n].isFiller)
                line += row[n].text;
        }
        workText += line + kCrLf;
    }
    reSetTemp();
}

QString LiteralZip::zip(const QString &text, const ZipOptions &options)
{
    workText = text;
    if (!findOtherChar(workText))
        return QString();
    workLines = workText.split(kCrLf);
    for (QString &line : workLines)
        line.replace(QStringLiteral("　"), QStringLiteral("  "));
    if (options.optBlankLines)
        blankLines();
    if (options.optTrailing)
        trailing();
    if (options.optLeading)
        leading();
    if (options.optInner)
        inner();
    return workText;
}
