#pragma once

namespace forms {

// The look of the programs' windows: the Fusion style with a light palette, an 8-point
// sans font and password boxes masked with "*". Applied once, when the first form is
// created.
void applyDesktopLook();

} // namespace forms
