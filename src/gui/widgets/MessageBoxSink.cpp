#include "gui/widgets/MessageBoxSink.h"

#include <QMessageBox>

void MessageBoxSink::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Grimtide Switch"), text, QMessageBox::Ok);
    box.exec();
}
