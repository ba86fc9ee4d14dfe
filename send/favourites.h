#pragma once

// The favourites file: every text the user adds, one after another, each
// followed by a line end, in the file's own encoding and line ends (a new
// file: the code page with CR LF, like every other text file).

#include <QString>

namespace Favourites {

inline const QString kAddFailed = QStringLiteral(
    "在向『我的最爱』中添加文本时出现错误，可能是有其他程序也在使用『我的最爱』对应的文件！");
inline const QString kAddFailedTitle = QStringLiteral("出错了：（");

// The file the tips library shows as the favourites.
QString path(const QString &programDir);

// Appends the text and a line break; an empty text appends nothing but
// still creates the file when it is missing. False when it cannot write.
bool add(const QString &programDir, const QString &text);

} // namespace Favourites
