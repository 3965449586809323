#pragma once

#include <QString>
#include <QStringList>

// Starting another program in place of this one, and this one's parent.
class NativeProcess {
public:
    // The process that started this one.
    static qint64 parentId();
    // Runs the program with these arguments in this process and its working
    // directory. Returns only if it could not be started.
    static void replaceWith(const QString& program, const QStringList& arguments = {});
};
