#pragma once

#include <functional>

class frmParametrosBase;

namespace framework {

// The program's own parameters window, shown by the login and reached by the report
// export for its save dialog and export pictures: each program's main installs the
// factory of its window's default instance before Main runs.
void setParametrosFactory(std::function<frmParametrosBase&()> factory);
// The default instance of the program's parameters window (loaded on first touch).
frmParametrosBase& parametros();

} // namespace framework
