#pragma once

// Ordering grey characters by the ink they leave, darkest first.

#include "inkorder.h"

#include <QString>
#include <QStringView>

// Pure-black pixels that `character` leaves when drawn in black in "宋体" at
// 12 points without smoothing, counted inside its text extent. Needs a GUI
// application (fonts).
int MeasureCharInk(QStringView character);

// The characters of `text` sorted by the ink MeasureCharInk finds, as
// orderByInk(text, inkOf) sorts. The text must pass checkGrayText.
QString orderByInk(QStringView text);

// "〔共18阶灰度[最多256阶]〕..." for an ordered grey string.
QString grayTooltip(QStringView ordered);

struct GrayOrderResult
{
    QString gray; // the string to use
    QString tooltip; // empty when the text was refused
    GrayTextProblem problem = GrayTextProblem::None;
};

// The panel's way: orders the text; a text too short or blank is refused and
// `customDefault` comes back; a text with a full-width character comes back
// as typed. The caller shows grayProblemMessage for a refused text.
GrayOrderResult ReSortGrayChar(QStringView text, QStringView customDefault);

// The message for a refused grey string, and the title it is shown under.
QString grayProblemMessage(GrayTextProblem problem);
QString grayProblemTitle();
