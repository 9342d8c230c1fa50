#pragma once
// The system clock lives in common/ now, where the command channel uses it too.
#include "common/system_clock.h"
