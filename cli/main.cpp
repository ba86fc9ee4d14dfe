// zantoria-cli: QtCore only (see handover.h).

#include "commands.h"
#include "handover.h"

#include <cstdio>
#include <cstring>

namespace {

void usage(std::FILE *out)
{
    std::fputs("usage: zantoria-cli COMMAND [OPTIONS]\n"
               "\n"
               "commands:\n"
               "  pic2text   turn a picture into character art\n"
               "  fold       fold the blanks of text art\n"
               "  arttext    draw words in a font as character art\n"
               "\n"
               "'zantoria-cli COMMAND --help' describes a command.\n",
               out);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const char *command = argv[1];
    if (std::strcmp(command, "pic2text") == 0) {
        if (const auto status = runPic2TextPlain(argc - 1, argv + 1))
            return *status;
        return handOver(argv);
    }
    if (std::strcmp(command, "fold") == 0)
        return runFold(argc - 1, argv + 1);
    if (std::strcmp(command, "arttext") == 0)
        return handOver(argv);
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
        usage(stdout);
        return 0;
    }
    std::fprintf(stderr, "zantoria-cli: unknown command '%s'\n", command);
    usage(stderr);
    return 2;
}
