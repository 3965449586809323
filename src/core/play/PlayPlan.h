#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// What starting the game runs: a program with its arguments (never through
// a shell), the environment entries it sets over this program's own, and the
// folder it starts in; or, where nothing can start the game, why.
class PlayPlan {
public:
    QString description; // how it starts, a sentence: "Battlefield 1942 starts under Wine, ..."
    QString program;     // a command on the PATH, or a program's path
    QStringList arguments;
    QList<std::pair<QString, QString>> environment; // name, value; in the order set
    QString workingFolder;
    QString problem; // where set, nothing else is

    static PlayPlan refused(const QString& problem);
    bool canStart() const { return problem.isEmpty(); }

    // The same start through the launcher's Flatpak, "flatpak run APP ...";
    // with "--command=PROGRAM" where the program is not the app's own.
    void runThroughFlatpak(const QString& app, bool otherThanItsOwn = false);

    // What --play --dry-run shows, one item a line: the description as a
    // comment, then the program, each argument, each environment entry and
    // the folder, as the player's settings file writes them (PlayerCommand);
    // or the problem.
    QString dryRunText() const;
};
