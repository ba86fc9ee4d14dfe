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

// Asked before a file read with bytes that could not be read (shown as
// "�") is written back, which replaces them for good.
inline QString replacedBytesQuestion(const QString &path)
{
    return QStringLiteral("文件") + path + QStringLiteral("中有无法读取的字节，已经显示为“�”！\r\n")
           + QStringLiteral("保存后这些字节将被“�”替换，原来的内容无法恢复，是否仍然保存？");
}

} // namespace Strings
