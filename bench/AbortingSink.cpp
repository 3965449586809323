#include "AbortingSink.h"

#include <QString>
#include <QtGlobal>

void AbortingSink::show(const QString& text)
{
    qFatal("benchmark stopped by a message: %s", qUtf8Printable(text));
}
