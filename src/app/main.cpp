#include "app/Program.h"
#include "app/QtTrayBackend.h"
#include "crosshair/PictureCatalogue.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Program::configureApplication();
    QtTrayBackend tray(PictureCatalogue::programIcon());
    Program program(tray);
    program.start();
    return app.exec();
}
