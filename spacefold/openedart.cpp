#include "openedart.h"

#include "zipstatistics.h"

#include "shell/core/textcodec.h"

namespace {

constexpr char16_t kWideBlank = 0x3000;

} // namespace

OpenedArt openArt(const QString &path, const std::atomic<bool> *stop)
{
    OpenedArt art;
    if (!TextCodec::readFile(path, &art.text, stop))
        return art;
    TextCodec::toCrLf(art.text);
    widenBlanks(art.text);
    art.bytes = ZipStatistics::textSize(art.text);
    art.ok = true;
    return art;
}

void widenBlanks(QString &text)
{
    // In place, back to front, in one pass: QString::replace moves the rest
    // of the text for every thousand blanks, which for a large picture of
    // millions of them takes minutes.
    const qsizetype wide = text.count(QChar(kWideBlank));
    if (wide == 0)
        return;
    const qsizetype n = text.size();
    text.resize(n + wide);
    char16_t *d = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype r = n, w = n + wide; r-- > 0;) {
        if (d[r] == kWideBlank) {
            d[--w] = u' ';
            d[--w] = u' ';
        } else {
            d[--w] = d[r];
        }
    }
}
