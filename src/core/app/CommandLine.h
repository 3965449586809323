#pragma once

#include <QString>

#include <functional>
#include <optional>

// The arguments of a program that otherwise takes none: --help and
// --version are answered on standard output, an action of the program's own
// runs instead of the program, anything else is refused on standard error.
// Read before the program opens a window, a file or a lock.
class CommandLine {
public:
    static constexpr int usageError = 2;

    struct Action {
        QString option; // without its dashes
        QString description;
        std::function<int()> run; // gives the exit status
    };

    CommandLine(QString programName, QString description, std::optional<Action> action = {});

    // The exit status when the program is to end at once without running;
    // nothing when it was started without arguments.
    std::optional<int> answer(int argc, char* argv[]) const;

private:
    // The exit status of an answered or refused command line; nothing when
    // the action was chosen.
    std::optional<int> read(int argc, char* argv[]) const;
    QString versionText() const;

    QString m_programName;
    QString m_description;
    std::optional<Action> m_action;
};
