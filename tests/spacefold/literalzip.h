#pragma once

#include "spacefold/spacezip.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The folding done the slow, literal way: both column images of the picture
// built cell by cell, as the rules are stated. Kept as the reference the
// fast implementation is checked against.
class LiteralZip
{
public:
    QString zip(const QString &text, const ZipOptions &options);

    static bool findOtherChar(const QString &text);
    static QString getStr(QString text);

private:
    struct ZBCell
    {
        QString text;
        bool isFiller = false;
    };
    using Matrix = QVector<QVector<ZBCell>>;

    static bool columnBlank(const Matrix &matrix, int column);
    // Blank columns from the left, counted up to minChars at most.
    int leadingBlankColumns(const Matrix &matrix) const;

    void reSetTemp();
    void dealFM();
    void blankLines();
    void trailing();
    void leading();
    void inner();

    QString workText;
    QStringList workLines;
    Matrix charMatrix;
    Matrix byteMatrix;
    int minChars = 0;
    int maxChars = 0;
    int maxBytes = 0;
};
