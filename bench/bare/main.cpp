// The least any Qt Widgets start-up costs: one empty window of the given size,
// shown and painted from the event loop, then the same quick exit as the
// program's.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3)
        return EXIT_FAILURE;
    QWidget window;
    window.setFixedSize(std::atoi(argv[1]), std::atoi(argv[2]));
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        window.repaint();
        std::_Exit(EXIT_SUCCESS);
    });
    return app.exec();
}
