#pragma once

#include <QProcess>
#include <QTest>

// A program run from a terminal in the folder, with no display; with a home, HOME and
// XDG_DATA_HOME are that folder. This process's events go on, so that a program in it can answer.
struct ProgramRun {
    int status = -1; // -1 when it did not end normally within a minute
    QString out;
    QString err;

    static ProgramRun in(const QString& folder, const QString& program,
                         const QStringList& arguments, const QString& home = {})
    {
        QProcess run;
        run.setWorkingDirectory(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            if (!home.isEmpty())
                environment.insert(QString::fromLatin1(name), home);
        run.setProcessEnvironment(environment);
        run.start(program, arguments);
        ProgramRun result;
        if (QTest::qWaitFor([&] { return run.state() == QProcess::NotRunning; }, 60000)
            && run.exitStatus() == QProcess::NormalExit)
            result.status = run.exitCode();
        result.out = QString::fromLocal8Bit(run.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(run.readAllStandardError());
        return result;
    }
};
