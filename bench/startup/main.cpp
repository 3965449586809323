// The program's own start-up, ended as soon as the main window is shown and
// the tray icon added. It prints the main window's size for the floor's window.
// With the argument "first-start" it ends at a first start's first window,
// "Choose Directory", once that is shown and painted.
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "startup/ReportingTray.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class FirstWindowWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && window && window->isWindow()
            && window->windowTitle() == QStringLiteral("Choose Directory")) {
            window->repaint();
            std::_Exit(EXIT_SUCCESS);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Program::configureApplication();
    FirstWindowWatch firstWindow;
    if (argc == 2 && QByteArray(argv[1]) == "first-start")
        app.installEventFilter(&firstWindow);
    QtTrayBackend realTray(PictureCatalogue::programIcon());
    Program* program = nullptr;
    ReportingTray tray(realTray, [&program] {
        const QSize size = program->module().mainWindow().size();
        std::printf("%d %d\n", size.width(), size.height());
        std::fflush(stdout);
        std::_Exit(EXIT_SUCCESS);
    });
    Program started(tray);
    program = &started;
    started.start();
    return app.exec();
}
