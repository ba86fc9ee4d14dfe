#pragma once

#include "spacefold/spacezip.h"

#include <QList>
#include <QTest>
#include <QString>

// Worked examples of the folding, shared by the core and command-line suites.
struct FoldExample
{
    const char *name;
    ZipOptions options;
    QString input; // CR LF line breaks
    QString expected;
};

inline ZipOptions passes(bool blankLines, bool trailing, bool leading, bool inner)
{
    ZipOptions o;
    o.optBlankLines = blankLines;
    o.optTrailing = trailing;
    o.optLeading = leading;
    o.optInner = inner;
    return o;
}

inline QList<FoldExample> foldExamples()
{
    const ZipOptions blankLinesOnly = passes(true, false, false, false);
    const ZipOptions trailingOnly = passes(false, true, false, false);
    const ZipOptions leadingOnly = passes(false, false, true, false);
    const ZipOptions innerOnly = passes(false, false, false, true);
    const ZipOptions all = passes(true, true, true, true);
    return {
        {"blank line dropped", blankLinesOnly, u"a\r\n   \r\nb"_qs, u"a\r\nb"_qs},
        {"trailing blanks stripped", trailingOnly, u"ab  \r\ncd "_qs, u"ab\r\ncd"_qs},
        {"two shared leading columns", leadingOnly, u"   ab\r\n  cd\r\n    e"_qs, u" ab\r\ncd\r\n  e"_qs},
        {"empty line keeps the indent", leadingOnly, u"  a\r\n\r\n  b"_qs, u"  a\r\n\r\n  b"_qs},
        {"final break keeps the indent", leadingOnly, u"  a\r\n  b\r\n"_qs, u"  a\r\n  b"_qs},
        {"inner blank columns go", innerOnly, u"a  b\r\nc  d"_qs, u"ab\r\ncd"_qs},
        {"right half keeps its column", innerOnly, u"中 a\r\nx  y"_qs, u"中a\r\nx y"_qs},
        {"no blank column", innerOnly, u"中a\r\nxyz"_qs, u"中a\r\nxyz"_qs},
        {"one line loses every blank column", innerOnly, u"a  b"_qs, u"ab"_qs},
        {"blanks and breaks only", all, u"  　\r\n \r\n　\r\n"_qs, QString()},
        {"full-width blank is two blanks", leadingOnly, u"　a\r\n  b"_qs, u"a\r\nb"_qs},
        {"short text keeps one break", trailingOnly, u"a\r\n\r\n\r\n\r\n"_qs, u"a"_qs},
        {"leftover empty line keeps the indent", passes(false, true, true, false), u" a\r\n \r\n \r\n \r\n "_qs,
         u" a"_qs},
        {"same text, leading alone", leadingOnly, u" a\r\n \r\n \r\n \r\n "_qs, u"a"_qs},
        {"all passes", all, u"\r\n    中  国  \r\n\r\n      a   b\r\n"_qs, u"中 国\r\n  a  b"_qs},
    };
}

// The examples as the rows of a data-driven test.
inline void addFoldExampleRows()
{
    QTest::addColumn<ZipOptions>("options");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    for (const FoldExample &e : foldExamples())
        QTest::newRow(e.name) << e.options << e.input << e.expected;
}
