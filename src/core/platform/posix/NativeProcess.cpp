#include "core/platform/NativeProcess.h"

#include <QFile>

#include <vector>

#include <unistd.h>

qint64 NativeProcess::parentId()
{
    return ::getppid();
}

void NativeProcess::replaceWith(const QString& program, const QStringList& arguments)
{
    const QStringList words = QStringList{program} + arguments; // the first is the program's name
    std::vector<QByteArray> encoded;
    for (const QString& word : words)
        encoded.push_back(QFile::encodeName(word));
    std::vector<char*> argv;
    for (QByteArray& word : encoded)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv.front(), argv.data());
}
