#pragma once

// What both halves of `zantoria-cli pic2text` share: the arguments, the
// grey string they choose, and the messages. No GUI library here.

#include "art/levelstotext.h"

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
    PicToTextOptions shape; // --width, --height, --invert, --dither, --braille, --threshold
};

// One line on standard error; returns the exit status 1.
int fail(const QString &message);

// Parses the arguments into `o` and the grey string they ask for, not yet
// ordered, into `gray`; returns an exit status when the command is done
// (help printed, or a message on a usage error or an unusable grey string).
std::optional<int> parse(int argc, char **argv, Options &o, QString &gray);

// Why the text cannot have the size asked for a picture of `picture`
// pixels with the grey string `gray`, or nothing.
std::optional<QString> sizeProblem(QSize picture, const Options &o, const QString &gray);

} // namespace Pic2Text
