// libFuzzer entry: any bytes as a description file must read without a crash
// and keep the promises of readproperties.h.

#include "readproperties.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    if (size > size_t(PluginFile::kMaxFileSize))
        return 0; // the reader refuses such files unread
    const QString broken = PluginFileProperties::violation(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("/opt/Zantoria"));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(broken));
        std::abort();
    }
    return 0;
}
