#include "core/app/CommandLine.h"
#include "core/app/GamePlay.h"
#include "core/app/GameRestore.h"
#include "core/platform/Terminal.h"
#include "core/platform/TerminationSignals.h"
#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
#include "gui/archives/ArchiveImport.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/widgets/MessageBoxSink.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

bool hasScreen()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Started from the desktop's menu, nobody reads standard output: the text is
// shown in a message box too, where there is a screen to show it on.
void showWithoutTerminal(int& argc, char* argv[], const QString& text)
{
    if (Terminal::outputIsOne() || !hasScreen())
        return;
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")
        || QGuiApplication::platformName() == QStringLiteral("minimal"))
        return;
    Program::configureApplication();
    MessageBoxSink().show(text.trimmed());
}

// A terminal's line says whose it is; the box's title does that already.
void print(int exitStatus, const QString& text)
{
    const bool done = exitStatus == EXIT_SUCCESS;
    std::fputs(
        ((done ? QString() : QStringLiteral("grimtide-switch: ")) + text).toLocal8Bit().constData(),
        done ? stdout : stderr);
    std::fflush(nullptr);
}

int restoreGame(int& argc, char* argv[])
{
    const GameRestore::Outcome outcome = GameRestore::run(QDir::currentPath());
    print(outcome.exitStatus, outcome.text);
    showWithoutTerminal(argc, argv, outcome.text);
    return outcome.exitStatus;
}

const QString dryRun = QStringLiteral("dry-run");

// A game that starts is news enough; what kept it from starting is shown
// where no terminal shows it, unless the running copy's window has.
int play(int& argc, char* argv[], const CommandLine::Request& request)
{
    const GamePlay::Outcome outcome =
        request.flags.contains(dryRun)
            ? GamePlay::dryRun(QDir::currentPath())
            : GamePlay::run(QDir::currentPath(), GamePlay::modeNamed(request.argument));
    print(outcome.exitStatus, outcome.text);
    if (outcome.exitStatus != EXIT_SUCCESS && !outcome.toldInWindow)
        showWithoutTerminal(argc, argv, outcome.text);
    return outcome.exitStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    const CommandLine commandLine(
        QStringLiteral("grimtide-switch"),
        QStringLiteral(
            "Switches Battlefield 1942 between pure and the Grimtide mod. Reads gtdb.inf "
            "and cons/ in the working directory; the command on the PATH works in the "
            "player's own folder, $XDG_DATA_HOME/grimtide-switch."),
        {{.option = QStringLiteral("restore-game"),
          .description = QStringLiteral("Puts back the game's own files, as they were before "
                                        "the program first replaced them, and exits."),
          .run = [&](const CommandLine::Request&) { return restoreGame(argc, argv); }},
         {.option = QStringLiteral("import-archives"),
          .description = QStringLiteral("Copies the mod's real archives from PATH into cons/, "
                                        "all or nothing, and exits; without PATH, asks for it "
                                        "in a window."),
          .argument = QStringLiteral("PATH"),
          .argumentDescription = QStringLiteral(
              "With --import-archives: a folder laid out as cr/1..20/menu.rfa and "
              "rt/1..3/game.rfa (the cons/ of an earlier install), or a .zip or .7z of one."),
          .refuses =
              [](const CommandLine::Request& request) {
                  return request.argument.isEmpty() && !hasScreen()
                             ? QStringLiteral("--import-archives needs a PATH where no window "
                                              "can open.")
                             : QString();
              },
          .run =
              [&](const CommandLine::Request& request) {
                  return ArchiveImport::fromCommandLine(argc, argv, request.argumentPath(),
                                                        &Program::configureApplication);
              }},
         {.option = QStringLiteral("play"),
          .description = QStringLiteral(
              "Switches the game to MODE as the window's option would, starts Battlefield 1942 "
              "through the runner it is installed in (Wine, Lutris, Bottles, Heroic, Steam or "
              "play.conf) and exits, never waiting for the game; while the program runs in "
              "this folder, that copy switches and starts it."),
          .argument = QStringLiteral("MODE"),
          .argumentDescription =
              QStringLiteral("With --play: pure or grimtide; without it, the mode gtdb.inf holds."),
          .argumentWords = GamePlay::modeWords(),
          .flags = {{dryRun, QStringLiteral("With --play: prints the command, environment and "
                                            "folder it would start the game with, and changes "
                                            "and starts nothing.")}},
          .run = [&](const CommandLine::Request& request) { return play(argc, argv, request); }}});
    if (const auto status = commandLine.answer(argc, argv))
        return *status;
    // Making the application takes a while; a signal meanwhile still ends
    // the program by its own way out.
    TerminationSignals::catchEarly();
    QApplication app(argc, argv);
    Program::configureApplication();
    QtTrayBackend tray(PictureCatalogue::programIcon());
    Program program(tray);
    if (!program.start())
        return EXIT_SUCCESS;
    return app.exec();
}
