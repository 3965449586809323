#include "core/play/LutrisRunner.h"

#include <QUrl>

LutrisRunner::LutrisRunner(QString slug, bool flatpak, QString gameFolder)
    : m_slug(std::move(slug)), m_flatpak(flatpak), m_gameFolder(std::move(gameFolder))
{
}

PlayPlan LutrisRunner::plan() const
{
    if (m_slug.isEmpty())
        return PlayPlan::refused(QStringLiteral("Lutris's record of the game names no game."));
    PlayPlan plan;
    plan.description =
        QStringLiteral("Battlefield 1942 starts through Lutris%1, as its game \"%2\".")
            .arg(m_flatpak ? QStringLiteral(" (Flatpak)") : QString(), m_slug);
    plan.program = QStringLiteral("lutris");
    plan.arguments = QStringList{QStringLiteral("lutris:rungame/")
                                 + QString::fromUtf8(QUrl::toPercentEncoding(m_slug))};
    plan.workingFolder = m_gameFolder;
    if (m_flatpak)
        plan.runThroughFlatpak(QStringLiteral("net.lutris.Lutris"));
    return plan;
}
