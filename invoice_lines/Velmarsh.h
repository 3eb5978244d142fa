#pragma once

namespace velmarsh {

// Plugs Velmarsh's parameters window into the framework (the login hands over to it, the
// export tools use its save dialog and pictures) and sets the program's title.
void instalaVelmarsh();

} // namespace velmarsh
