#include "core/platform/NativeProcess.h"

#include <QFile>

#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

void NativeProcess::replaceWith(const QString& program, const QStringList& arguments)
{
    const QStringList words = QStringList{program} + arguments; // the first is the program's name
#ifdef _WIN32
    std::vector<const wchar_t*> argv;
    for (const QString& word : words)
        argv.push_back(reinterpret_cast<const wchar_t*>(word.utf16()));
    argv.push_back(nullptr);
    _wexecv(argv.front(), argv.data());
#else
    std::vector<QByteArray> encoded;
    for (const QString& word : words)
        encoded.push_back(QFile::encodeName(word));
    std::vector<char*> argv;
    for (QByteArray& word : encoded)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv.front(), argv.data());
#endif
}
