#include "commands.h"

#include <cstdio>

int runFold(int, char **)
{
    std::fputs("zantoria-cli fold: not available in this build\n", stderr);
    return 2;
}
