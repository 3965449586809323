#include "gui/widgets/ProgramWindow.h"

#include <QCloseEvent>

void ProgramWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
    emit closedForGood();
}
