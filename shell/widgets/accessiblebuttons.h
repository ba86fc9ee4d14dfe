#pragma once

// Makes the program's own clickable widgets (CoolButton, ClickLabel) visible
// to assistive technology as what they are: push buttons, named by what they
// show, that can be pressed. Without this the accessibility bus sees them as
// unnamed fillers. Safe to call any number of times.
void installAccessibleButtons();
