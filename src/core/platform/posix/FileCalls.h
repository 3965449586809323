#pragma once

#include <QString>

#include <sys/types.h>

// What the POSIX half of core/platform does the same way at every open and
// failure: a player or another program may have put anything where a file
// belongs.
namespace FileCalls {
// Opens without waiting, so that a named pipe, a device or a terminal at the
// path never hangs us (nor becomes our terminal), and keeps the descriptor
// only when it is a plain file; close-on-exec. -1 with errno otherwise, ENXIO
// for something there that is no plain file, as the system says of a socket.
int openPlain(const char* path, int flags, mode_t mode = 0);
// The failure number that an operating-system error code stands for.
int failureNumber(int errorCode);
[[noreturn]] void failAt(const QString& path, int errorCode);
} // namespace FileCalls
