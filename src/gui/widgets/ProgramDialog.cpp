#include "gui/widgets/ProgramDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

// Not QDialog's close, which goes through reject(): the close box always
// runs the unload and destroys the dialog.
void ProgramDialog::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
    emit closedForGood();
}

void ProgramDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel))
        event->ignore();
    else
        QDialog::keyPressEvent(event);
}

// Placed where the window system puts new windows, not centred by QDialog.
void ProgramDialog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
}
