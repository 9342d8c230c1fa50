#pragma once
// The virtual clock lives in common/ now, where the command channel's tests use it too.
#include "common/virtual_clock.h"
