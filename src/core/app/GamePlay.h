#pragma once

#include "core/mode/ModeFiles.h"
#include "core/settings/SettingsRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// "--play": the game put in the mode asked for, as a click on the main
// window's option would put it, then Battlefield 1942 started through the
// runner it lies in and never waited for. Where the program runs in the
// working folder, that copy is asked to do both; else it is done here,
// without a window, under the folder's lock.
class GamePlay {
public:
    static constexpr int started = 0;
    static constexpr int notStarted = 1;
    // Nothing switched and nothing started: the switch was refused, or the
    // copy running in the folder could not be asked.
    static constexpr int refused = 2;

    struct Outcome {
        int exitStatus;
        // Ends with a line break. For standard output when it started, for
        // standard error else, where the caller names the program in front.
        QString text;
        // The copy running in the folder has told the player in its window.
        bool toldInWindow = false;

        // The one line that carries it back from the running copy, and that
        // line read; nothing for a line of another form.
        QByteArray line() const;
        static std::optional<Outcome> fromLine(const QByteArray& line);
    };
    // What a later copy asks the running one.
    struct Request {
        std::optional<GameMode> mode; // none: the mode the row holds

        QByteArray line() const;
        // Nothing for a line that asks for no play.
        static std::optional<Request> fromLine(const QByteArray& line);
    };

    // The words --play takes: "pure", "grimtide".
    static QStringList modeWords();
    static std::optional<GameMode> modeNamed(const QString& word);

    static Outcome run(const QString& workingFolder, std::optional<GameMode> mode);
    // "--play --dry-run": what would be run for the row's game; nothing is
    // switched, started or written.
    static Outcome dryRun(const QString& workingFolder);
    // The start alone, the game in its mode already: refused while the game
    // runs.
    static Outcome start(const QString& workingFolder, const SettingsRecord& record);

private:
    static Outcome askRunningCopy(const QString& workingFolder, std::optional<GameMode> mode);
    static Outcome playAlone(const QString& workingFolder, std::optional<GameMode> mode);
};
