#include "core/app/CommandLine.h"
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

// Started from the desktop's menu, nobody reads standard output: the text is
// shown in a message box too, where there is a screen to show it on.
void showWithoutTerminal(int& argc, char* argv[], const QString& text)
{
    if (Terminal::outputIsOne()
        || (qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")))
        return;
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")
        || QGuiApplication::platformName() == QStringLiteral("minimal"))
        return;
    Program::configureApplication();
    MessageBoxSink().show(text.trimmed());
}

int restoreGame(int& argc, char* argv[])
{
    const GameRestore::Outcome outcome = GameRestore::run(QDir::currentPath());
    // A terminal's line says whose it is; the box's title does that already.
    const bool done = outcome.exitStatus == EXIT_SUCCESS;
    std::fputs(((done ? QString() : QStringLiteral("grimtide-switch: ")) + outcome.text)
                   .toLocal8Bit()
                   .constData(),
               done ? stdout : stderr);
    std::fflush(nullptr);
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
          .run = [&](const CommandLine::Request& request) {
              return ArchiveImport::fromCommandLine(argc, argv, request.argumentPath(),
                                                    &Program::configureApplication);
          }}});
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
