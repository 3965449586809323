#pragma once

// The switches of the fault shim (tests/reliability/faultshim.cpp), which
// ctest preloads into the tests that need it: the chosen call fails (or, with
// -SIGKILL, kills the process) once it has gone through `allowed` times.
namespace FaultShim {
// False where the shim is not preloaded (a test run by hand): skip then.
bool isLoaded();
// Fails the call from then on; nullptr disarms.
void arm(const char* call, int allowed, int error);
// Fails the call that once only.
void armOnce(const char* call, int allowed, int error);
} // namespace FaultShim
