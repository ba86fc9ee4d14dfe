// zantoria-cli-draw: the commands of zantoria-cli that need the GUI library
// (fonts, image plug-ins). zantoria-cli hands them over with its own
// arguments; run by hand it does the same.

#include "commands.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const char *command = argc < 2 ? "" : argv[1];
    if (std::strcmp(command, "pic2text") == 0)
        return runPic2Text(argc - 1, argv + 1);
    if (std::strcmp(command, "arttext") == 0)
        return runArtText(argc - 1, argv + 1);
    std::fputs("usage: zantoria-cli-draw pic2text|arttext [OPTIONS]\n", stderr);
    return 2;
}
