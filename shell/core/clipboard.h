#pragma once

// The system clipboard as the panels use it, behind one seam so that tests
// can watch it and make it fail.

#include <QString>

#include <memory>

class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // Puts plain text on the clipboard in place of what was there; false when
    // the clipboard could not be taken.
    virtual bool setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

// The desktop's clipboard (needs a QGuiApplication).
std::unique_ptr<Clipboard> createSystemClipboard();
