#pragma once

#include <QString>

// Starting another program in place of this one.
class NativeProcess {
public:
    // Runs the program, without arguments, in this process and its working
    // directory. Returns only if it could not be started.
    static void replaceWith(const QString& program);
};
