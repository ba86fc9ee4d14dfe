#pragma once

#include <optional>

// Each sub-command takes its own arguments (argv[0] is the sub-command's
// name) and returns the process exit status.
int runPic2Text(int argc, char **argv);
int runFold(int argc, char **argv);
int runArtText(int argc, char **argv);

// pic2text without the GUI library, for a JPEG or plain BMP whose grey
// string needs no font; nothing (and nothing written) when the command is
// left to runPic2Text.
std::optional<int> runPic2TextPlain(int argc, char **argv);
