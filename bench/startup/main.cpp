// The program's own start-up, ended as soon as the main window is shown and
// the tray icon added. It prints the main window's size for the floor's window.
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "startup/ReportingTray.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Program::configureApplication();
    QtTrayBackend realTray(PictureCatalogue::programIcon());
    Program* program = nullptr;
    ReportingTray tray(realTray, [&program] {
        const QSize size = program->module().form2().size();
        std::printf("%d %d\n", size.width(), size.height());
        std::fflush(stdout);
        std::_Exit(EXIT_SUCCESS);
    });
    Program started(tray);
    program = &started;
    started.start();
    return app.exec();
}
