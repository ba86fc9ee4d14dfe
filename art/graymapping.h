#pragma once

// Grey levels and the characters that stand for them.

#include "shell/core/utilities.h"

#include <QList>
#include <QString>
#include <QStringView>

// Grey level 0 (black) to 255 (white) of a colour, with weights that add up
// to 32768 so that integer arithmetic gives the exact result.
constexpr int ColorToGray(RgbValue colour)
{
    const unsigned r = colour & 0xFF;
    const unsigned g = (colour >> 8) & 0xFF;
    const unsigned b = (colour >> 16) & 0xFF;
    return int((9798u * r + 19235u * g + 3735u * b) >> 15);
}

// 1-based position in a grey string of `count` characters for a grey level.
// The step is kept as a single-precision float on purpose: where grey·n is a
// multiple of 256 that rounding picks the darker character, and art made
// before must come out the same.
int GrayToCharIndex(int count, int grey);

// The characters of a grey string; a pair of surrogates is one character.
QList<char32_t> grayCharacters(QStringView grey);

// The one character of `grey` that stands for the grey level; "" for an
// empty grey string.
QString GrayToChar(QStringView grey, int level);
