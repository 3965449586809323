#pragma once

#include <QString>
#include <QStringList>

// The program run as a player runs it from a terminal, in the folder given,
// with no display to show a box on. This process's events go on meanwhile,
// so that a copy of the program running in it can answer.
struct PlayRun {
    int status = -1; // -1 when it did not end normally within a minute
    QString out;
    QString err;

    static PlayRun in(const QString& folder, const QStringList& arguments);
};
