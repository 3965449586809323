#pragma once

#include <QString>
#include <QStringList>

// Starting another program in place of this one.
class NativeProcess {
public:
    // Runs the program with these arguments in this process and its working
    // directory. Returns only if it could not be started.
    static void replaceWith(const QString& program, const QStringList& arguments = {});
};
