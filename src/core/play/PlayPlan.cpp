#include "core/play/PlayPlan.h"

PlayPlan PlayPlan::refused(const QString& problem)
{
    PlayPlan plan;
    plan.problem = problem;
    return plan;
}

void PlayPlan::runThroughFlatpak(const QString& app, bool otherThanItsOwn)
{
    QStringList words{QStringLiteral("run")};
    if (otherThanItsOwn)
        words.append(QStringLiteral("--command=") + program);
    arguments = words + QStringList{app} + arguments;
    program = QStringLiteral("flatpak");
}

QString PlayPlan::dryRunText() const
{
    if (!canStart())
        return problem + u'\n';
    QStringList lines{QStringLiteral("# ") + description, QStringLiteral("program=") + program};
    for (const QString& argument : arguments)
        lines.append(QStringLiteral("argument=") + argument);
    for (const auto& [name, value] : environment)
        lines.append(QStringLiteral("environment=%1=%2").arg(name, value));
    lines.append(QStringLiteral("folder=") + workingFolder);
    return lines.join(u'\n') + u'\n';
}
