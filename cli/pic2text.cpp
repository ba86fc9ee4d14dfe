#include "commands.h"

#include <cstdio>

int runPic2Text(int, char **)
{
    std::fputs("zantoria-cli pic2text: not available in this build\n", stderr);
    return 2;
}
