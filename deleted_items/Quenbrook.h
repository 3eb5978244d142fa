#pragma once

// Plugs Quenbrook's own windows into the framework (the parameters window the login hands
// over to, and the save dialog and pictures the export tools use) and sets its title.
void instalaQuenbrook();
