#include "core/play/SteamRunner.h"

SteamRunner::SteamRunner(QString appId, bool flatpak, QString gameFolder)
    : m_appId(std::move(appId)), m_flatpak(flatpak), m_gameFolder(std::move(gameFolder))
{
}

PlayPlan SteamRunner::plan() const
{
    bool isNumber = false;
    const quint64 appId = m_appId.toUInt(&isNumber);
    if (!isNumber || appId == 0) {
        return PlayPlan::refused(
            QStringLiteral("Steam keeps the game's prefix under \"%1\", which is no game's number.")
                .arg(m_appId));
    }
    constexpr quint64 firstShortcut = quint64(1) << 31;
    const bool shortcut = appId >= firstShortcut;
    const quint64 gameId = shortcut ? (appId << 32) | (quint64(1) << 25) : appId;
    PlayPlan plan;
    plan.description = QStringLiteral("Battlefield 1942 starts through Steam%1, as its %2game %3.")
                           .arg(m_flatpak ? QStringLiteral(" (Flatpak)") : QString(),
                                shortcut ? QStringLiteral("non-Steam ") : QString(), m_appId);
    plan.program = QStringLiteral("steam");
    plan.arguments = QStringList{QStringLiteral("steam://rungameid/%1").arg(gameId)};
    plan.workingFolder = m_gameFolder;
    if (m_flatpak)
        plan.runThroughFlatpak(QStringLiteral("com.valvesoftware.Steam"));
    return plan;
}
