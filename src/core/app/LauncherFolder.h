#pragma once

#include <QString>

// The player's own folder, as the command on the PATH hands it to the
// program it starts with arguments. The command does not make or enter the
// folder itself: only an argument the program accepts may leave something
// behind, so the program makes and enters it once its arguments are read.
namespace LauncherFolder {
// In the command on the PATH, before it starts the program.
void handDown(const QString& folder);
// In the program, once it has accepted its arguments: makes the folder
// handed down if it is missing and makes it current; true when none was
// handed down. False, with one line on standard error, when it can't. The
// program's own children are not handed the folder.
bool enter();
} // namespace LauncherFolder
