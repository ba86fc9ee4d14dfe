#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away program directory for tests, optionally with the runtime files
// of the real one (skin, plug-ins, sample pictures) copied in.
class TempProgramDir
{
public:
    explicit TempProgramDir(bool withRuntimeFiles = false);

    QString path() const { return m_dir.path(); }
    // path() + "/" + relative, with backslashes turned into slashes.
    QString file(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};

// Copies a directory tree; false when anything failed.
bool copyTree(const QString &from, const QString &to);
