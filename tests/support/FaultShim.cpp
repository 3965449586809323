#include "support/FaultShim.h"

#include <QtGlobal>

#include <dlfcn.h>

namespace {

using Arm = void (*)(const char* call, int allowed, int error);

Arm lookUp(const char* name)
{
    return reinterpret_cast<Arm>(dlsym(RTLD_DEFAULT, name));
}

void call(const char* name, const char* armed, int allowed, int error)
{
    const Arm arm = lookUp(name);
    if (!arm)
        qFatal("the fault shim is not preloaded");
    arm(armed, allowed, error);
}

} // namespace

bool FaultShim::isLoaded()
{
    return lookUp("grimtide_fault_arm") && lookUp("grimtide_fault_arm_once");
}

void FaultShim::arm(const char* armed, int allowed, int error)
{
    call("grimtide_fault_arm", armed, allowed, error);
}

void FaultShim::armOnce(const char* armed, int allowed, int error)
{
    call("grimtide_fault_arm_once", armed, allowed, error);
}
