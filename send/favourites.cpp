#include "send/favourites.h"

#include "shell/core/programpaths.h"
#include "shell/core/textcodec.h"

namespace Favourites {

QString path(const QString &programDir)
{
    return ProgramPaths::resolve(programDir, kFile);
}

bool add(const QString &programDir, const QString &text)
{
    return TextCodec::appendFile(path(programDir), text.isEmpty() ? QString() : text + QStringLiteral("\r\n"));
}

} // namespace Favourites
