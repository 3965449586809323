#include "core/app/CommandLine.h"
#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
#include "gui/crosshair/PictureCatalogue.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    const CommandLine commandLine(
        QStringLiteral("grimtide-switch"),
        QStringLiteral(
            "Switches Battlefield 1942 between pure and the Grimtide mod. Reads gtdb.inf "
            "and cons/ in the working directory; takes no arguments."));
    if (const auto status = commandLine.answer(argc, argv))
        return *status;
    QApplication app(argc, argv);
    Program::configureApplication();
    QtTrayBackend tray(PictureCatalogue::programIcon());
    Program program(tray);
    if (!program.start())
        return EXIT_SUCCESS;
    return app.exec();
}
