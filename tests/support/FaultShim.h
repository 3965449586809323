#pragma once

#include <dlfcn.h>

// The switch of tests/reliability/faultshim.cpp, which ctest preloads (a run by hand skips): the
// call fails with the error (-SIGKILL kills) after `allowed` calls, once or from then on.
struct FaultShim {
    using Arm = void (*)(const char* call, int allowed, int error, bool once);
    static Arm armed() { return reinterpret_cast<Arm>(dlsym(RTLD_DEFAULT, "grimtide_fault_arm")); }
    static bool isLoaded() { return armed() != nullptr; }
    static void arm(const char* call, int allowed, int error, bool once = false)
    {
        armed()(call, allowed, error, once);
    }
};
