#pragma once

// The tips the library starts with: a few text pictures and words, written
// here by hand.

#include "library/tipstore.h"

#include <QList>
#include <QString>

class SampleTips
{
public:
    struct Sample
    {
        TipKind kind;
        QString name;
        QString text; // lines joined by CR LF
    };

    static QList<Sample> all();

    // Writes each sample whose tip is missing (in any letter case) below
    // `programDir`, making the kind directories as start-up does; a tip that
    // is there already is left as it is. False when a write failed.
    static bool writeMissing(const QString &programDir);
};
