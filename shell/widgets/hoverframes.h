#pragma once

// The habits every panel shares for its buttons: the hover frame drawn around
// a button while the pointer is over it, and the window's background colour.

class CoolButton;
class PanelBox;
class QWidget;
struct ColorScheme;

// Draws the button's frame at rest now, and from then on the hot frame and
// face (HotLineColor, HotBackColor) under the pointer and the frame at rest
// (NormLineColor, the container's colour) when the pointer leaves.
void wireHoverFrame(PanelBox *container, CoolButton *button, const ColorScheme &colors);

// The hot frame and face, as when the pointer is over the button.
void hotHoverFrame(PanelBox *container, CoolButton *button, const ColorScheme &colors);

// The frame at rest, for code that must take a hover frame back itself (a
// button that opens a dialog never sees the pointer leave).
void restHoverFrame(PanelBox *container, CoolButton *button, const ColorScheme &colors);

// Gives a control the window's background colour (BackColor): a button its
// face, a container its ground, anything else its palette.
void letBackColor(QWidget *control, const ColorScheme &colors);
