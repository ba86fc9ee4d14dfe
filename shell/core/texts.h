#pragma once

#include <QString>

// Texts shown by more than one part of the program.
namespace Strings {

inline const QString kMainTitle = QStringLiteral("『Zantoria』");
inline const QString kHintTitle = QStringLiteral("『Zantoria』提醒您：）");
// Text files in the file dialogs: matched by their ending in capitals, and on
// a file system that tells letter cases apart by the small one too.
inline const QString kTextFileFilter = QStringLiteral("*.TXT (*.TXT *.txt)");
// The clipboard would not take a copy (the tool panel's copy, the canvas's).
inline const QString kCopyFailed = QStringLiteral("复制到剪贴板时出现错误，可能是有其他程序正在使用剪贴板！");
inline const QString kCopyFailedTitle = QStringLiteral("出错了：（");

} // namespace Strings
