#include "core/play/BottlesRunner.h"

#include "core/platform/RegularFile.h"
#include "core/play/BottleFile.h"
#include "core/play/WineRunner.h"

#include <QDir>
#include <QFileInfo>

BottlesRunner::BottlesRunner(QString bottle, bool flatpak, QString gameFolder)
    : m_bottle(std::move(bottle)), m_flatpak(flatpak), m_gameFolder(std::move(gameFolder))
{
}

PlayPlan BottlesRunner::plan() const
{
    const QString bottle = name();
    PlayPlan plan;
    plan.description =
        QStringLiteral("Battlefield 1942 starts through Bottles%1, in its bottle \"%2\".")
            .arg(m_flatpak ? QStringLiteral(" (Flatpak)") : QString(), bottle);
    plan.program = QStringLiteral("bottles-cli");
    plan.arguments =
        QStringList{QStringLiteral("run"), QStringLiteral("-b"), bottle, QStringLiteral("-e"),
                    QDir(m_gameFolder).filePath(WineRunner::gameProgram(m_gameFolder))};
    plan.workingFolder = m_gameFolder;
    if (m_flatpak)
        plan.runThroughFlatpak(QStringLiteral("com.usebottles.bottles"), true);
    return plan;
}

QString BottlesRunner::name() const
{
    QByteArray text;
    const QString file = QDir(m_bottle).filePath(QStringLiteral("bottle.yml"));
    const QString recorded =
        RegularFile::read(file, largestBottleFile, text) ? BottleFile::name(text) : QString();
    return recorded.isEmpty() ? QFileInfo(m_bottle).fileName() : recorded;
}
