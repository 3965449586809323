#include "core/app/LauncherFolder.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

constexpr char variable[] = "GRIMTIDE_SWITCH_PLAYER_FOLDER";

} // namespace

void LauncherFolder::handDown(const QString& folder)
{
    qputenv(variable, QFile::encodeName(folder));
}

bool LauncherFolder::enter()
{
    if (!qEnvironmentVariableIsSet(variable))
        return true;
    const QString folder = QFile::decodeName(qgetenv(variable));
    qunsetenv(variable);
    if (QDir().mkpath(folder) && QDir::setCurrent(folder))
        return true;
    std::fprintf(stderr, "grimtide-switch: cannot enter %s\n",
                 qPrintable(QDir::toNativeSeparators(folder)));
    return false;
}
