#pragma once

#include <chrono>
#include <functional>

// Runs work in a forked child process and kills it with SIGKILL after a
// delay, as a power cut or a crash would end the program. The work never
// returns on its own; it reports each step it has finished through report.
class KilledChild {
public:
    using Report = std::function<void(int step)>;
    using Work = std::function<void(const Report& report)>;
    static constexpr int noStep = -1;

    struct Outcome {
        bool killed = false; // ended by the kill, not by failing on its own
        int lastStep = noStep;
    };
    static Outcome run(const Work& work, std::chrono::microseconds delay);
};
