#pragma once

#include <QString>
#include <QStringList>

// A program run as a player runs it from a terminal, in the folder given,
// with no display to show a box on; with a home, HOME and XDG_DATA_HOME are
// that folder. This process's events go on meanwhile, so that a copy of the
// program running in it can answer.
struct ProgramRun {
    int status = -1; // -1 when it did not end normally within a minute
    QString out;
    QString err;

    static ProgramRun in(const QString& folder, const QString& program,
                         const QStringList& arguments, const QString& home = {});
};
