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
    // Changes to this process's environment for the child: "NAME=value" sets
    // a variable, a bare "NAME" removes it.
    using Environment = std::vector<std::string>;

    // Runs the program in the folder and waits for it; a failed run throws.
    static Outcome run(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& folder, const Environment& changes = {});
    // The program of that name in a folder of PATH; throws if there is none.
    static std::string onPath(const std::string& name);

private:
    static std::vector<std::string> environmentWith(const Environment& changes);
    [[noreturn]] static void becomeProgram(const std::vector<char*>& argv,
                                           const std::vector<char*>& envp,
                                           const std::string& folder, int outputPipe);
    static std::string readAll(int descriptor);
};
