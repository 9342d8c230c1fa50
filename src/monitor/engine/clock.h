#pragma once
// The clock interface lives in common/ now, where the command channel uses it too.
#include "common/clock.h"
