#pragma once

#include <QString>

// The file that holds the font grey strings are measured in ("宋体" at 12
// points, as the font system resolves it), or empty when it cannot be told.
// Needs a GUI application.
QString inkFontFile();
