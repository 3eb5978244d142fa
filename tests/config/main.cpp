#include "support/CoreTestMain.h"
