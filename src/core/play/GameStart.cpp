#include "core/play/GameStart.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace {

GameStart::Outcome failed(const QString& reason)
{
    return {false, reason, 0};
}

// The program's path: a command looked up on the plan's PATH, as the started
// program would have it, or a path (relative ones from the working folder).
QString programPath(const PlayPlan& plan, const QProcessEnvironment& environment)
{
    if (!plan.program.contains(u'/')) {
        const QStringList path = environment.value(QStringLiteral("PATH"))
                                     .split(QDir::listSeparator(), Qt::SkipEmptyParts);
        return path.isEmpty() ? QString() : QStandardPaths::findExecutable(plan.program, path);
    }
    const QFileInfo program(QDir(plan.workingFolder), plan.program);
    return program.isFile() && program.isExecutable() ? program.absoluteFilePath() : QString();
}

} // namespace

GameStart::Outcome GameStart::start(const PlayPlan& plan)
{
    if (!plan.canStart())
        return failed(plan.problem);
    if (!QFileInfo(plan.workingFolder).isDir()) {
        return failed(QStringLiteral("The folder \"%1\" to start the game in is not there.")
                          .arg(plan.workingFolder));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : plan.environment)
        environment.insert(name, value);
    const QString program = programPath(plan, environment);
    if (program.isEmpty()) {
        return failed(
            plan.program.contains(u'/')
                ? QStringLiteral("\"%1\" is no program that can be run.").arg(plan.program)
                : QStringLiteral("\"%1\" is not installed: no such command is on the PATH.")
                      .arg(plan.program));
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(plan.arguments);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(plan.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 processId = 0;
    if (!process.startDetached(&processId)) {
        return failed(
            QStringLiteral("\"%1\" could not be started: %2.").arg(program, process.errorString()));
    }
    return {true, {}, processId};
}
