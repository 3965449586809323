#pragma once

#include <chrono>
#include <functional>

// Runs work in a forked child process and kills it with SIGKILL after a
// delay, as a power cut or a crash would end the program. The work never
// returns on its own; it reports each step it has finished through report.
namespace KilledChild {
using Report = std::function<void(int step)>;
struct Outcome {
    bool killed = false; // ended by the kill, not by failing on its own
    int lastStep = -1;   // none
};
Outcome run(const std::function<void(const Report& report)>& work, std::chrono::microseconds delay);
} // namespace KilledChild
