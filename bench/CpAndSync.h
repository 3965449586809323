#pragma once

#include <string>
#include <vector>

// A floor of the archive copy: the system's cp run as a child program, with
// its options, then the copy made as durable as the program makes its own
// (fdatasync of the file, fsync of its folder). The whole is what a run costs.
class CpAndSync {
public:
    explicit CpAndSync(std::vector<std::string> options);

    void copy(const std::string& source, const std::string& destination) const;
    // The command line without its files: "cp --reflink=never".
    std::string name() const;

private:
    std::string m_program;
    std::vector<std::string> m_options;
};
