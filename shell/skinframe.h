#pragma once

#include <QString>

#include <stdexcept>

class QWidget;

// A skin that cannot be applied: a missing or unreadable bitmap or description
// file, or a missing colour. The program shows skinFailureText() and ends.
class SkinError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

QString skinFailureText();
QString skinFailureTitle();

// Loads a skin directory into a borderless window: edges, corners, caption
// and caption buttons, background colour and picture.
class SkinFrame
{
public:
    // Applies the skin; throws SkinError when the skin cannot be applied.
    void InitSkinForm(QWidget *window, const QString &caption, const QString &mode, const QString &flag,
                      const QString &skinDir);

    // Releases the piece pictures once nothing reads their sizes any more.
    void FreeSkinPics();
};
