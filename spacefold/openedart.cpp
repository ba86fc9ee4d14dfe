#include "openedart.h"

#include "spacezip.h"
#include "zipstatistics.h"

#include "shell/core/textcodec.h"

OpenedArt openArt(const QString &path, const std::atomic<bool> *stop)
{
    OpenedArt art;
    if (!TextCodec::readFile(path, &art.text, stop, &art.format))
        return art;
    TextCodec::toCrLf(art.text);
    widenBlanks(art.text);
    art.bytes = ZipStatistics::textSize(art.text);
    art.ok = true;
    return art;
}
