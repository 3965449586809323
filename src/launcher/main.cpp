// "grimtide-switch" on the PATH: starts the installed program in the player's
// own working folder, laying that folder out first (a first start copies the
// delivered files there).
//
// Any arguments, --help and --version too, are the program's: it answers
// them, or refuses them with status 2, before it touches a file. So that a
// refused option leaves nothing behind, a start with arguments lays nothing
// out and makes no folder here; it hands the player's folder to the program,
// which makes it and works in it once it has accepted its arguments.

#include "core/app/LauncherFolder.h"
#include "core/platform/NativeProcess.h"
#include "launcher/UserFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

namespace {

int failure(const QString& message)
{
    std::fprintf(stderr, "grimtide-switch: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QDir bin(QCoreApplication::applicationDirPath());
    const UserFolder folder(UserFolder::defaultLocation(),
                            QDir::cleanPath(bin.filePath(QStringLiteral(GRIMTIDE_DATA_FROM_BIN))));
    if (arguments.isEmpty()) {
        try {
            folder.prepare();
        } catch (const std::exception& failed) {
            return failure(QString::fromLocal8Bit(failed.what()));
        }
        if (!QDir::setCurrent(folder.path()))
            return failure(QStringLiteral("cannot enter ") + folder.path());
    } else {
        LauncherFolder::handDown(folder.path());
    }
    const QString program =
        QDir::cleanPath(bin.filePath(QStringLiteral(GRIMTIDE_PROGRAM_FROM_BIN)));
    NativeProcess::replaceWith(program, arguments);
    return failure(QStringLiteral("cannot start ") + program);
}
