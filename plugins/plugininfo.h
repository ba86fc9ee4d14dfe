#pragma once

#include <QString>

// What a description file tells about one plug-in.
struct CJInfo
{
    QString Name;
    QString Version;
    QString Path;
    QString Description;

    bool operator==(const CJInfo &) const = default;
};
