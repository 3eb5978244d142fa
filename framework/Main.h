#pragma once

#include <functional>

// The start routine of every program: creates the database object gDB, opens the databases
// and shows the login window without waiting.
void Main();

// Installs what shows the login window (the login window's module does it before Main runs).
void setShowLogin(std::function<void()> showLogin);
