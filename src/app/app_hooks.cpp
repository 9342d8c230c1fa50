#include "app/app_hooks.h"

AppHooks& appHooks()
{
    static AppHooks hooks;
    return hooks;
}
