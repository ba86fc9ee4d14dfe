#pragma once

#include "library/tipstore.h"

#include <QByteArray>
#include <QString>

namespace LibraryFixtures {

// The two kind directories and the favourites directory, as start-up makes them.
void makeLibraryDirs(const QString &programDir);

QString tipFile(const QString &programDir, TipKind kind, const QString &fileName);

QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);

// A tip written through the codec as the program writes it.
bool writeTip(const QString &programDir, TipKind kind, const QString &name, const QString &text);

// A text in the code page that needs more than GBK: "€" is a single byte,
// and the emoji and the CJK extension character take four bytes each.
QByteArray beyondGbkBytes();
// Plain GBK, two bytes a character.
QByteArray gbkBytes();

} // namespace LibraryFixtures
