#include "core/play/WineRunner.h"

#include <QDir>

WineRunner::WineRunner(QString prefix, QString gameFolder)
    : m_prefix(std::move(prefix)), m_gameFolder(std::move(gameFolder))
{
}

PlayPlan WineRunner::plan() const
{
    PlayPlan plan;
    plan.description =
        QStringLiteral("Battlefield 1942 starts under Wine, in the prefix %1.").arg(m_prefix);
    plan.program = QStringLiteral("wine");
    plan.arguments = QStringList{gameProgram(m_gameFolder)};
    plan.environment = {{QStringLiteral("WINEPREFIX"), m_prefix}};
    plan.workingFolder = m_gameFolder;
    return plan;
}

QString WineRunner::gameProgram(const QString& gameFolder)
{
    const QString program = QStringLiteral("BF1942.exe");
    const QStringList spelt = QDir(gameFolder).entryList({program}, QDir::Files);
    return spelt.isEmpty() ? program : spelt.first();
}
