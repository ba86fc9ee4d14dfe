#pragma once

// What reading a description must guarantee for any bytes whatever; shared by
// the fuzzer and the mutation test of the suite.

#include "plugins/pluginfile.h"

#include "shell/core/textcodec.h"

#include <QString>

namespace PluginFileProperties {

// An empty text when reading `bytes` kept every promise, else what broke.
inline QString violation(QByteArrayView bytes, const QString &programDir)
{
    using namespace PluginFile;
    const Parsed parsed = parseBytes(bytes, programDir);
    TextCodec::Format form;
    const QString text = TextCodec::decode(bytes, &form);
    if ((parsed.problem == Problem::None) != text.contains(kMarker))
        return QStringLiteral("accepted without the marker, or refused with it");
    const CJInfo &r = parsed.info;
    if (parsed.problem != Problem::None && !(r == CJInfo{}))
        return QStringLiteral("a refused file left values behind");
    const QString values[] = {r.Name, r.Version, r.Path, r.Description};
    bool holdsKey = false;
    for (const QString &v : values) {
        if (holdsLineBreak(v))
            return QStringLiteral("a value holds a line break");
        if (v.endsWith(u' '))
            return QStringLiteral("a value ends in a blank");
        for (const QString &key : {kNameKey, kVersionKey, kPathKey, kDescriptionKey})
            holdsKey = holdsKey || v.contains(key);
    }
    if (!programDir.contains(kAppPath) && r.Path.contains(kAppPath))
        return QStringLiteral("the Path kept a placeholder");
    if (!(parsed.format == form))
        return QStringLiteral("the format found differs from the codec's");
    // What was read, written back in its format and read again is the same,
    // unless a value holds a key and so sets another field on reading, or
    // the code-page bytes written are valid UTF-8 by chance and read as that.
    const QByteArray written = TextCodec::encode(format(r), form);
    if (parsed.problem == Problem::None && !holdsKey && TextCodec::detect(written).encoding == form.encoding) {
        const Parsed again = parseBytes(written, programDir);
        if (again.problem != Problem::None || !(again.info == r))
            return QStringLiteral("writing and reading again changed the values");
    }
    return {};
}

} // namespace PluginFileProperties
