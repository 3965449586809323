#include "core/play/HeroicRunner.h"

#include <QUrl>

HeroicRunner::HeroicRunner(QString appName, QString gameFolder)
    : m_appName(std::move(appName)), m_gameFolder(std::move(gameFolder))
{
}

PlayPlan HeroicRunner::plan() const
{
    if (m_appName.isEmpty())
        return PlayPlan::refused(QStringLiteral("Heroic's record of the game names no game."));
    PlayPlan plan;
    plan.description = QStringLiteral("Battlefield 1942 starts through Heroic, as its game \"%1\".")
                           .arg(m_appName);
    plan.program = QStringLiteral("xdg-open");
    plan.arguments = QStringList{QStringLiteral("heroic://launch/")
                                 + QString::fromUtf8(QUrl::toPercentEncoding(m_appName))};
    plan.workingFolder = m_gameFolder;
    return plan;
}
