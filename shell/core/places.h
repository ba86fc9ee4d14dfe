#pragma once

// Where the programs' files live, decided once at start-up and asked by
// every panel (through its context) and program; no path is worked out
// anywhere else.
//
// Two modes:
// - Portable: the programs sit in a directory the user may write, with the
//   skin, the samples and the user's data beside them (data/, Plugin/,
//   Temp/): programDir, resourceDir and dataDir are one directory.
// - Installed: the programs sit in <prefix>/lib/zantoria, the shipped
//   resources (skin, sample pictures and tips, the shipped plug-in
//   description) in <prefix>/share/zantoria, read-only; the user's data in
//   $XDG_DATA_HOME/zantoria (by default ~/.local/share/zantoria), with the
//   same tree and names as in portable mode.
//
// The mode is installed when the shipped resources are found in
// <programDir>/../../share/zantoria, or when the program directory cannot
// be written (an unpacked copy on a read-only disk: its resources stay
// beside the programs). Otherwise portable.
//
// prepare() makes the data directories. In installed mode it also copies
// each shipped sample and plug-in description that is missing into the
// user's data, through a temporary name, never over a file that is there,
// and records what it copied in dataDir/.shipped-files: a file copied once
// and deleted by the user stays deleted.

#include <QString>
#include <QStringList>

class Places
{
public:
    enum class Mode { Portable, Installed };

    Places() = default;

    // Everything under `programDir`.
    static Places portable(const QString &programDir);
    // The decision above, for programs in `programDir`; `xdgDataHome` and
    // `home` are the environment's values (an unset or relative
    // XDG_DATA_HOME counts as $HOME/.local/share).
    static Places decide(const QString &programDir, const QString &xdgDataHome, const QString &home);
    // For the running program: its own directory and environment.
    static Places forThisProgram();

    Mode mode() const { return m_mode; }
    // The programs: what "{app.path}" names in a plug-in description.
    QString programDir() const { return m_programDir; }
    // Read-only: the skin, the shipped samples and plug-in description.
    QString resourceDir() const { return m_resourceDir; }
    // Writable: data/, Plugin/, Temp/, the favourites and settings.
    QString dataDir() const { return m_dataDir; }

    // `relative` in the programs' notation ("\Data\磨牙资源", any letter
    // case) below dataDir or resourceDir (see ProgramPaths::resolve).
    QString data(const QString &relative) const;
    QString resource(const QString &relative) const;

    // The record of shipped files copied into the user's data.
    static constexpr const char *kShippedRecord = ".shipped-files";

    // Makes the data directories and, in installed mode, copies the missing
    // shipped files. False when the data directory cannot be made or
    // written: `problem` then says which and why, for the user.
    bool prepare(QString *problem) const;

private:
    void copyShippedFiles() const;

    Mode m_mode = Mode::Portable;
    QString m_programDir;
    QString m_resourceDir;
    QString m_dataDir;
};
