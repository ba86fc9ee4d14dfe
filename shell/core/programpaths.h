#pragma once

// Paths below the program directory. The programs name their files with
// backslashes and without regard to letter case ("\data\MyFavor" and
// "\Data\MyFavor\我的最爱.txt" are one directory); on a case-sensitive file
// system each component is matched against what already exists.

#include <QString>
#include <QStringList>

namespace ProgramPaths {

// The directory that holds the running executable.
QString programDir();

// `relative` ("\Data\磨牙资源\Temp.txt", backslashes or slashes) below `base`:
// each component that exists under another letter case takes the existing
// spelling; missing components keep the spelling given.
QString resolve(const QString &base, const QString &relative);

// Creates the directory and every missing directory above it, in order from
// the top; a path without a root, or one that starts with a backslash and
// names no drive ("\x\y"), builds on the current directory; a final separator
// is allowed, the root itself is never created. Failures are ignored.
void MakeDirPath(const QString &path);

// The data directories, in the order they are created at start-up.
const QStringList &dataDirs();

// MakeDirPath for each data directory below `programDir`.
void CreateDataDirs(const QString &programDir);

} // namespace ProgramPaths
