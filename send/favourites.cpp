#include "send/favourites.h"

#include "library/tipstore.h"
#include "shell/core/textcodec.h"

namespace Favourites {

QString path(const QString &programDir)
{
    return TipStore(programDir).favouritesPath();
}

bool add(const QString &programDir, const QString &text)
{
    return TextCodec::appendFile(path(programDir), text.isEmpty() ? QString() : text + QStringLiteral("\r\n"));
}

} // namespace Favourites
