#pragma once

#include <dlfcn.h>

// The switch of the fault shim (tests/reliability/faultshim.cpp), which ctest preloads into the
// tests that need it: the chosen call fails with the error (or, with -SIGKILL, kills the
// process) once it has gone through `allowed` times, that once or from then on; nullptr disarms.
namespace FaultShim {
using Arm = void (*)(const char* call, int allowed, int error, bool once);
inline Arm armed()
{
    return reinterpret_cast<Arm>(dlsym(RTLD_DEFAULT, "grimtide_fault_arm"));
}
// False where the shim is not preloaded (a test run by hand): skip then.
inline bool isLoaded()
{
    return armed() != nullptr;
}
inline void arm(const char* call, int allowed, int error, bool once = false)
{
    armed()(call, allowed, error, once);
}
} // namespace FaultShim
