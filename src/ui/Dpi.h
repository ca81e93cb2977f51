// The forms declare places, sizes and font heights in pixels of a 96-dpi screen. The program is
// system-DPI aware (its manifest says so), so the framework scales each declared number by the system's
// DPI / 96 where it creates a form or a control; at 96 dpi nothing changes.
#pragma once
#include "ui/FormDecl.h"

namespace quenby::ui {

// The system's logical pixels per inch, read once.
int SystemDpi();
// A declared length in pixels of the system's DPI.
int Scale(int pixels);
TBounds Scale(const TBounds& bounds);

}  // namespace quenby::ui
