#pragma once

namespace forms {

// The look of the programs' windows: the Fusion style with a light palette, 8-point MS Sans
// Serif (or a font of its widths), Arial likewise, password boxes masked with "*", and Qt's
// own texts translated for the process locale. Applied once, when the first form is created.
void applyDesktopLook();

} // namespace forms
