#pragma once

// The ink each character leaves in the grey-string font, kept between runs
// so that ordering a grey string needs no font system. The cache is tied to
// the font file it was measured with: its path, size, modification time and
// inode, and the modification times of the system's and the user's font
// caches (which change when fonts are installed or removed, and with them
// the file a family name picks). A cache written for another font, by
// another version, or damaged in any way reads as empty.
//
// The cache is $XDG_CACHE_HOME/zantoria/ink (~/.cache/zantoria/ink),
// written through SaveFile.

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

namespace InkCache {

using Inks = QHash<char32_t, int>;

QString path();

// The inks cached for the font file they were measured with; empty when
// there is no valid cache.
Inks load(const QString &cachePath = path());

// The cached inks when they hold every character of `text`.
std::optional<Inks> covering(QStringView text, const QString &cachePath = path());

// Writes `inks`, measured with `fontFile`; false when it could not.
bool store(const QString &fontFile, const Inks &inks, const QString &cachePath = path());

// The characters worth measuring whenever the cache is written: every
// printable ASCII character, and so every preset.
QString commonCharacters();

} // namespace InkCache
