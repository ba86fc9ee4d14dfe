#pragma once

// Ordering grey characters by the ink they leave, given the ink of each
// character: no fonts needed here (grayorder.h measures the ink).

#include <QString>
#include <QStringView>

#include <functional>

enum class GrayTextProblem { None, TooShort, FullWidth };

// What is wrong with a text typed as a grey string: fewer than 8 characters
// or blanks only (TooShort), or a full-width character in it.
GrayTextProblem checkGrayText(QStringView text);

// The characters of `text` sorted by `inkOf`, most first; equal ink goes by
// the character's code, higher first. `inkOf` is asked once per distinct
// character.
QString orderByInk(QStringView text, const std::function<int(char32_t)> &inkOf);
