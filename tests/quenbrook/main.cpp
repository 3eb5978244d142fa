#include "support/GuiTestMain.h"
