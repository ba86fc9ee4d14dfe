#pragma once

#include <QImage>

// The product logo, drawn in code so that the project ships no bitmap it did
// not make: a rounded tile with a speech bubble holding a few text cells.
namespace Logo {

QImage image(int size);

} // namespace Logo
