#include "core/platform/NativeProcess.h"

#include <QFile>

#include <unistd.h>

void NativeProcess::replaceWith(const QString& program)
{
    const QByteArray path = QFile::encodeName(program);
    ::execl(path.constData(), path.constData(), static_cast<char*>(nullptr));
}
