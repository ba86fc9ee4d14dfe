#pragma once

// What both halves of `zantoria-cli pic2text` share: the arguments, the
// grey string they choose, and the messages. No GUI library here.

#include <QString>

#include <optional>

namespace Pic2Text {

extern const char kUsage[];

struct Options
{
    QString preset;
    std::optional<QString> gray;
    bool ordered = false;
    bool printGray = false;
    QString output;
    bool append = false;
    QString image;
};

// One line on standard error; returns the exit status 1.
int fail(const QString &message);

// Parses the arguments into `o` and the grey string they ask for, not yet
// ordered, into `gray`; returns an exit status when the command is done
// (help printed, or a message on a usage error or an unusable grey string).
std::optional<int> parse(int argc, char **argv, Options &o, QString &gray);

} // namespace Pic2Text
