#include "inkcache.h"

#include "art/graymapping.h"

#include "shell/core/regularfile.h"
#include "shell/core/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

#include <algorithm>

#include <sys/stat.h>

namespace InkCache {

namespace {

constexpr qint64 kMaxBytes = 256 * 1024;
constexpr int kMaxEntries = 8192;
constexpr int kMaxInk = 1 << 20;

QByteArray header()
{
    return QByteArrayLiteral("zantoria-ink 1 " ZANTORIA_VERSION " Qt ") + qVersion();
}

QByteArray statKey(const QByteArray &path, bool withFile)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return QByteArrayLiteral("-");
    QByteArray key = QByteArray::number(qint64(st.st_mtim.tv_sec)) + '.' + QByteArray::number(qint64(st.st_mtim.tv_nsec));
    if (withFile) {
        key += ' ' + QByteArray::number(qint64(st.st_size)) + ' ' + QByteArray::number(quint64(st.st_ino)) + ' '
               + QByteArray::number(quint64(st.st_dev));
    }
    return key;
}

// What must stay the same for the cached inks to hold.
QByteArray identity(const QString &fontFile)
{
    const QString userFontCache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                                  + QStringLiteral("/fontconfig");
    return statKey(QFile::encodeName(fontFile), true) + " | " + statKey("/var/cache/fontconfig", false) + " | "
           + statKey(QFile::encodeName(userFontCache), false);
}

} // namespace

QString path()
{
    // Without a home (Qt would take "/" for one) there is no cache.
    if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME") && qEnvironmentVariableIsEmpty("HOME"))
        return QString();
    const QString caches = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return caches.isEmpty() ? QString() : caches + QStringLiteral("/zantoria/ink");
}

QString commonCharacters()
{
    QString text;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        text += QChar(c);
    return text;
}

Inks load(const QString &cachePath)
{
    QByteArray bytes;
    if (cachePath.isEmpty() || ReadRegularFile(cachePath, kMaxBytes, &bytes) != ReadOutcome::Done)
        return {};
    const QList<QByteArray> lines = bytes.split('\n');
    // header, font file, identity, the entries, and the empty piece after
    // the last line end
    if (lines.size() < 4 || lines.size() > kMaxEntries + 4 || lines[0] != header() || !lines.last().isEmpty())
        return {};
    const QString fontFile = QFile::decodeName(lines[1]);
    if (fontFile.isEmpty() || lines[2] != identity(fontFile))
        return {};
    Inks inks;
    for (qsizetype i = 3; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        bool codeOk = false;
        bool inkOk = false;
        const uint code = fields.size() == 2 ? fields[0].toUInt(&codeOk, 16) : 0;
        const int ink = fields.size() == 2 ? fields[1].toInt(&inkOk) : 0;
        if (!codeOk || !inkOk || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) || ink < 0 || ink > kMaxInk)
            return {};
        inks.insert(char32_t(code), ink);
    }
    return inks;
}

std::optional<Inks> covering(QStringView text, const QString &cachePath)
{
    Inks inks = load(cachePath);
    for (const char32_t c : grayCharacters(text)) {
        if (!inks.contains(c))
            return std::nullopt;
    }
    return inks;
}

bool store(const QString &fontFile, const Inks &inks, const QString &cachePath)
{
    if (cachePath.isEmpty() || fontFile.isEmpty() || fontFile.contains(u'\n') || inks.size() > kMaxEntries)
        return false;
    QList<char32_t> codes = inks.keys();
    std::sort(codes.begin(), codes.end());
    QByteArray bytes = header() + '\n' + QFile::encodeName(fontFile) + '\n' + identity(fontFile) + '\n';
    for (const char32_t c : codes)
        bytes += QByteArray::number(uint(c), 16) + ' ' + QByteArray::number(inks.value(c)) + '\n';
    if (!QDir().mkpath(QFileInfo(cachePath).path()))
        return false;
    return SaveFile::write(cachePath, bytes, SaveFile::Special::Refuse);
}

} // namespace InkCache
