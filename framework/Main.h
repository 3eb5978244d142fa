#pragma once

// The start routine of every program: creates the database object gDB, opens the databases
// and shows the login window without waiting.
void Main();
