#pragma once

#include <QString>

#include <optional>

// The arguments of a program that otherwise takes none: --help and
// --version are answered on standard output, anything else is refused on
// standard error. Read before the program opens a window, a file or a lock.
class CommandLine {
public:
    static constexpr int usageError = 2;

    CommandLine(QString programName, QString description);

    // The exit status when the program is to end at once without running;
    // nothing when it was started without arguments.
    std::optional<int> answer(int argc, char* argv[]) const;

private:
    QString versionText() const;

    QString m_programName;
    QString m_description;
};
