// "grimtide-switch" on the PATH: starts the installed program in the player's
// own working folder, laying that folder out first (a first start copies the
// delivered files there).
//
// A lone --help or --version is answered here. Any other arguments are the
// program's: it answers them, or refuses them with status 2, before it
// touches a file. So that a refused option leaves nothing behind, a start
// with arguments lays nothing out; it only enters the player's folder (made
// empty if there is none yet), where an option the program knows finds the
// player's own files.

#include "core/app/CommandLine.h"
#include "core/platform/NativeProcess.h"
#include "launcher/UserFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

bool answeredHere(int argc, char* argv[])
{
    if (argc != 2)
        return false;
    for (const char* option : {"-h", "--help", "-v", "--version"})
        if (std::strcmp(argv[1], option) == 0)
            return true;
    return false;
}

int failure(const QString& message)
{
    std::fprintf(stderr, "grimtide-switch: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (answeredHere(argc, argv))
        return *CommandLine(QStringLiteral("grimtide-switch"),
                            QStringLiteral("Starts Grimtide Switch in the player's own folder, "
                                           "$XDG_DATA_HOME/grimtide-switch, laying it out first. "
                                           "Any other options are handed to the program."))
                    .answer(argc, argv);
    const QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QDir bin(QCoreApplication::applicationDirPath());
    const UserFolder folder(UserFolder::defaultLocation(),
                            QDir::cleanPath(bin.filePath(QStringLiteral(GRIMTIDE_DATA_FROM_BIN))));
    try {
        if (arguments.isEmpty())
            folder.prepare();
    } catch (const std::exception& failed) {
        return failure(QString::fromLocal8Bit(failed.what()));
    }
    if (!QDir().mkpath(folder.path()) || !QDir::setCurrent(folder.path()))
        return failure(QStringLiteral("cannot enter ") + folder.path());
    const QString program =
        QDir::cleanPath(bin.filePath(QStringLiteral(GRIMTIDE_PROGRAM_FROM_BIN)));
    NativeProcess::replaceWith(program, arguments);
    return failure(QStringLiteral("cannot start ") + program);
}
