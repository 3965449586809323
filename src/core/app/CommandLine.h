#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QCommandLineParser;

// The arguments of a program that otherwise takes none: --help and
// --version are answered on standard output, one of the program's actions
// runs instead of the program, anything else is refused on standard error.
// Read before the program opens a window, a file or a lock.
class CommandLine {
public:
    static constexpr int usageError = 2;

    // An option that only goes with one action ("--dry-run").
    struct Flag {
        QString name; // without its dashes
        QString description;
    };
    // What the command line gave the chosen action.
    struct Request {
        QString argument;  // the one argument it takes; empty when none was given
        QStringList flags; // those of its flags that were given
        QString startedIn; // the working directory the command was given in

        // The argument as a path from where the command was given: the
        // action may run in the player's folder instead.
        QString argumentPath() const;
    };
    struct Action {
        QString option; // without its dashes
        QString description;
        QString argument = {}; // names the one optional argument it takes, if any
        QString argumentDescription = {};
        QStringList argumentWords = {}; // where given, the only words the argument may be
        QList<Flag> flags = {};
        // Why a request can't run at all, told before the player's folder is made; empty: it can.
        std::function<QString(const Request&)> refuses = {};
        std::function<int(const Request&)> run; // gives the exit status
    };

    CommandLine(QString programName, QString description, QList<Action> actions = {});

    // The exit status when the program is to end at once without running;
    // nothing when it was started without arguments. An action runs in the
    // player's folder when the command on the PATH handed one down.
    std::optional<int> answer(int argc, char* argv[]) const;

private:
    // The exit status of an answered or refused command line, or else the
    // chosen action and what it was given.
    struct Choice {
        std::optional<int> status;
        const Action* action = nullptr;
        Request request;
    };
    Choice read(int argc, char* argv[]) const;
    // Why the parsed line is refused, or the chosen action's request.
    QString refusal(const QCommandLineParser& parser, Choice& choice) const;
    QString versionText() const;

    QString m_programName;
    QString m_description;
    QList<Action> m_actions;
};
