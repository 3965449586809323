// The start-up floor: a window of the main window's kind and of the given
// size, in the program's font, shown and painted from the event loop, with a
// tray icon where a tray is up, then the same quick exit as the program's.
#include "window/FloorWindow.h"

#include <QApplication>
#include <QFont>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdlib>
#include <memory>

namespace {

// The application set-up the program makes; its font decides what the text costs.
void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Grimtide Switch"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.grimtide_switch"));
    QApplication::setQuitOnLastWindowClosed(false);
    QFont designFont = QApplication::font();
    designFont.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                            QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                            designFont.family()});
    designFont.setPointSize(8);
    QApplication::setFont(designFont);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3)
        return EXIT_FAILURE;
    setUpApplication();
    const QIcon icon(QStringLiteral(":/floor/icon32.png"));
    FloorWindow window(icon, {std::atoi(argv[1]), std::atoi(argv[2])});
    window.show();
    std::unique_ptr<QSystemTrayIcon> tray;
    QTimer::singleShot(0, &window, [&window, &icon, &tray] {
        window.repaint();
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            tray = std::make_unique<QSystemTrayIcon>(icon);
            tray->setToolTip(QStringLiteral("pure"));
            tray->show();
        }
        std::_Exit(EXIT_SUCCESS);
    });
    return app.exec();
}
