#pragma once

namespace forms {

// The look of the programs' windows: the Fusion style with a light palette, an 8-point
// sans font, Arial where it is installed or a font as wide, and password boxes masked with "*". Applied once,
// when the first form is created.
void applyDesktopLook();

} // namespace forms
