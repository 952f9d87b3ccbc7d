#include "system/Utility.h"

#include "platform/Sandbox.h"

bool Utility::isSandboxed()
{
    return platform::Sandbox::isActive();
}
