#pragma once

namespace framework {

// The start routine of every program: creates the database object gDB as the running
// program asks, opens the databases and shows the login window without waiting.
void Main();

} // namespace framework
