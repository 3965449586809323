#include "core/app/CommandLine.h"
#include "core/app/GameRestore.h"
#include "core/platform/Terminal.h"
#include "core/platform/TerminationSignals.h"
#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
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
    std::fputs(outcome.text.toLocal8Bit().constData(),
               outcome.exitStatus == EXIT_SUCCESS ? stdout : stderr);
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
            "and cons/ in the working directory."),
        CommandLine::Action{QStringLiteral("restore-game"),
                            QStringLiteral("Puts back the game's own files, as they were before "
                                           "the program first replaced them, and exits."),
                            [&] { return restoreGame(argc, argv); }});
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
