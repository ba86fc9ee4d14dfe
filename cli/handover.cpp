#include "handover.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

// The directory of this program, by the kernel's record of it.
std::string programDirectory(const char *argv0)
{
    std::string self;
#ifdef __linux__
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0)
        self.assign(buffer, std::size_t(n));
#endif
    if (self.empty() && argv0)
        self = argv0;
    const std::size_t slash = self.rfind('/');
    return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
}

} // namespace

int handOver(char **argv)
{
    const std::string program = programDirectory(argv[0]) + '/' + kDrawProgram;
    std::fflush(stdout);
    argv[0] = const_cast<char *>(program.c_str());
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "zantoria-cli: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 1;
}
