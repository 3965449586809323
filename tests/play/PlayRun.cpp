#include "play/PlayRun.h"

#include <QProcess>
#include <QTest>

PlayRun PlayRun::in(const QString& folder, const QStringList& arguments)
{
    QProcess run;
    run.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    run.setProcessEnvironment(environment);
    run.start(QStringLiteral(GRIMTIDE_SWITCH_PROGRAM), arguments);
    PlayRun result;
    if (QTest::qWaitFor([&] { return run.state() == QProcess::NotRunning; }, 60000)
        && run.exitStatus() == QProcess::NormalExit)
        result.status = run.exitCode();
    result.out = QString::fromLocal8Bit(run.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(run.readAllStandardError());
    return result;
}
