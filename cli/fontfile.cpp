#include "fontfile.h"

#include "shell/core/fonts.h"

#include <QFile>
#include <QFontInfo>

#ifdef ZANTORIA_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

QString inkFontFile()
{
#ifdef ZANTORIA_HAVE_FONTCONFIG
    const QByteArray family = QFontInfo(Fonts::crispFont(Fonts::kSongTi, 12)).family().toUtf8();
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return QString();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    QString file;
    FcChar8 *matchedFamily = nullptr;
    FcChar8 *matchedFile = nullptr;
    // Only a file of the very family the text was drawn in identifies it.
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch
        && family == reinterpret_cast<const char *>(matchedFamily)
        && FcPatternGetString(match, FC_FILE, 0, &matchedFile) == FcResultMatch)
        file = QFile::decodeName(reinterpret_cast<const char *>(matchedFile));
    if (match)
        FcPatternDestroy(match);
    return file;
#else
    return QString();
#endif
}
