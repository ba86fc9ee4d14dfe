#pragma once

#include <QString>

// Texts shown by more than one part of the program.
namespace Strings {

inline const QString kMainTitle = QStringLiteral("『Zantoria』");
inline const QString kHintTitle = QStringLiteral("『Zantoria』提醒您：）");
// Text files in the file dialogs: matched by their ending in capitals, and on
// a file system that tells letter cases apart by the small one too.
inline const QString kTextFileFilter = QStringLiteral("*.TXT (*.TXT *.txt)");

} // namespace Strings
