#pragma once

// The tips library ("秘笈") on disk: one text file per tip in one of two kind
// directories below "\Data\Zantoria秘笈". The directory listing is the
// library; there is no index and nothing else is stored about a tip.

#include "shell/core/textcodec.h"

#include <QList>
#include <QString>

enum class TipKind { Pictures, Words };

// What an operation came to; the panel turns each into its message.
enum class TipOutcome {
    Done,
    BlankName, // the name is empty or blanks only
    ForbiddenCharacter, // the name holds one of kBadNameChars
    Duplicate, // a tip of that name exists, in any letter case
    TooLarge, // a file too large to be shown
    Failed, // the file system refused, or the file is missing
};

// A tip as listed: its name, and the file it was listed from ("ABC.TXT"
// lists as "ABC" and is read as itself).
struct TipEntry
{
    QString name;
    QString fileName;

    bool operator==(const TipEntry &) const = default;
};

class TipStore
{
public:
    // The nine characters no tip name may hold, in the order the user is
    // shown them.
    static const QString kBadNameChars;

    // The largest file a tip (or the favourites) may be: a text view holding
    // more is no use to anybody, and reading it whole could exhaust memory.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    explicit TipStore(QString programDir);

    QString programDir() const { return m_programDir; }

    // The kind directory and a file in it.
    QString directory(TipKind kind) const;
    QString path(TipKind kind, const QString &fileName) const;

    // "\Data\MyFavor\我的最爱.txt" below the program directory.
    QString favouritesPath() const;

    // The file name a tip name takes: the name without its outer blanks,
    // followed by ".txt".
    static QString fileNameFor(const QString &name);

    // The name rules, in order: not blank, then no forbidden character.
    static TipOutcome checkName(const QString &name);

    // Every "*.txt" file of the kind (in any letter case, dot-files
    // included), ordered by name without regard to letter case. A missing
    // directory lists nothing.
    QList<TipEntry> list(TipKind kind) const;

    // The entry of the kind directory that a file name names without regard
    // to letter case, exact spelling first; empty when there is none.
    QString existingEntry(TipKind kind, const QString &fileName) const;

    // A new empty tip. Never touches an existing file: a name taken in any
    // letter case is Duplicate. On Done, `fileName` receives the new file.
    TipOutcome create(TipKind kind, const QString &name, QString *fileName = nullptr);

    // Gives the tip in `fileName` the new name. Never replaces another tip:
    // a name taken in any letter case by another file is Failed, and both
    // files stay as they are. A change of letter case alone is allowed.
    TipOutcome rename(TipKind kind, const QString &fileName, const QString &newName, QString *newFileName = nullptr);

    TipOutcome remove(TipKind kind, const QString &fileName);

    // Reads a tip or the favourites: a regular file of at most kMaxFileBytes,
    // in whatever encoding it has (TextCodec's detection rule); `format`
    // receives it, for the save.
    static TipOutcome read(const QString &path, QString *text, TextCodec::Format *format = nullptr);

    // Writes the text atomically in `format` (the one the tip was read in;
    // the default is a new file's), followed by a line end unless it already
    // ends with one (an empty text stays empty). A file that holds this very
    // text already (line ends aside) is left as it is, so a tip saved
    // without a change keeps its bytes whatever they are.
    // `why`, when given, says why a save failed in the system's words.
    static bool save(const QString &path, const QString &text, const TextCodec::Format &format = {},
                     QString *why = nullptr);

    // The text a save writes.
    static QString savedText(const QString &text);

    // Creates the file empty when it is missing; never empties an existing one.
    static bool createIfMissing(const QString &path);

private:
    QString m_programDir;
};
