#pragma once

#include <QString>

// Texts shown by more than one part of the program.
namespace Strings {

inline const QString kMainTitle = QStringLiteral("『Zantoria』");
inline const QString kHintTitle = QStringLiteral("『Zantoria』提醒您：）");

} // namespace Strings
