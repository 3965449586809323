#include "core/platform/NativeProcess.h"

#include <QFile>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

void NativeProcess::replaceWith(const QString& program)
{
#ifdef _WIN32
    const auto* path = reinterpret_cast<const wchar_t*>(program.utf16());
    _wexecl(path, path, nullptr);
#else
    const QByteArray path = QFile::encodeName(program);
    ::execl(path.constData(), path.constData(), static_cast<char*>(nullptr));
#endif
}
