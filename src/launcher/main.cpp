// Starts the installed program in the player's own working folder, laying
// that folder down first on a first start.

#include "core/app/CommandLine.h"
#include "core/platform/NativeProcess.h"
#include "launcher/UserFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    const CommandLine commandLine(
        QStringLiteral("grimtide-switch-launcher"),
        QStringLiteral("Starts grimtide-switch in the player's own folder, "
                       "$XDG_DATA_HOME/grimtide-switch, laying it out first on a first start."));
    if (const auto status = commandLine.answer(argc, argv))
        return *status;
    const QCoreApplication app(argc, argv);
    const QDir bin(QCoreApplication::applicationDirPath());
    const UserFolder folder(UserFolder::defaultLocation(),
                            QDir::cleanPath(bin.filePath(QStringLiteral(GRIMTIDE_DATA_FROM_BIN))));
    try {
        folder.prepare();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "grimtide-switch-launcher: %s\n", failure.what());
        return 1;
    }
    if (!QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "grimtide-switch-launcher: cannot enter %s\n",
                     qPrintable(folder.path()));
        return 1;
    }
    const QString program = bin.filePath(QStringLiteral(GRIMTIDE_PROGRAM_FILE));
    NativeProcess::replaceWith(program);
    std::fprintf(stderr, "grimtide-switch-launcher: cannot start %s\n", qPrintable(program));
    return 1;
}
