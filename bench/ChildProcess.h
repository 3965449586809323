#pragma once

#include <string>
#include <vector>

// One run of another program, as the system saw it: from the start of the
// process to its end, and the most memory it ever held resident.
class ChildProcess {
public:
    struct Outcome {
        double milliseconds;
        double peakResidentMiB;
        std::string output; // what it wrote to its standard output
    };

    // Runs the program in the folder and waits for it; a failed run throws.
    static Outcome run(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& folder);

private:
    [[noreturn]] static void becomeProgram(const std::vector<char*>& argv,
                                           const std::string& folder, int outputPipe);
    static std::string readAll(int descriptor);
};
