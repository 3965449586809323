#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
#include "gui/crosshair/PictureCatalogue.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Program::configureApplication();
    QtTrayBackend tray(PictureCatalogue::programIcon());
    Program program(tray);
    if (!program.start())
        return EXIT_SUCCESS;
    return app.exec();
}
