#include "core/app/GameRestore.h"

#include "core/app/Session.h"
#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/SingleInstance.h"
#include "core/settings/SettingsStore.h"

#include <QDir>

#include <cstdlib>

namespace {

QString howText(GameFileWriter::Restored how)
{
    switch (how) {
    case GameFileWriter::Restored::PutBack:
        return QStringLiteral("put back");
    case GameFileWriter::Restored::Removed:
        return QStringLiteral("removed (the game had none)");
    case GameFileWriter::Restored::AlreadyOwn:
        return QStringLiteral("already the game's own");
    case GameFileWriter::Restored::RealArchiveLeft:
        return QStringLiteral("left as it is: a real archive, where the game had a placeholder");
    }
    return {};
}

QString describe(const QList<GameFileWriter::RestoredGame>& games)
{
    if (games.isEmpty())
        return QStringLiteral("Nothing to restore: no game file has been replaced from this "
                              "folder since the game's own were last put back.\n");
    QString text;
    for (const GameFileWriter::RestoredGame& game : games) {
        text += QStringLiteral("The game's own files in %1:\n")
                    .arg(QDir::toNativeSeparators(game.modsFolder));
        for (const GameFileWriter::RestoredFile& file : game.files)
            text += QStringLiteral("  %1: %2\n").arg(file.file, howText(file.how));
    }
    return text + QStringLiteral("gtdb.inf: the status is Pure.\n");
}

} // namespace

GameRestore::Outcome GameRestore::run(const QString& workingFolder)
{
    // Held for the whole restore, so that the program does not start on the
    // game half-way.
    InstanceLock lock;
    if (SingleInstance::lockFolder(lock, workingFolder) == InstanceLock::Outcome::HeldByAnother)
        return {refused, QStringLiteral("Grimtide Switch is running in this folder; close it, "
                                        "then restore the game's files.\n")};
    const QString settingsFile = QDir(workingFolder).filePath(SettingsStore::defaultFileName());
    try {
        GameFiles files(workingFolder);
        Session session(files, settingsFile);
        session.load();
        return {EXIT_SUCCESS, describe(session.restoreGame())};
    } catch (const Failure& failure) {
        const QString headline = FailureText::headline(failure.number());
        return {failed, QStringLiteral("Nothing was restored.\n")
                            + (headline.isEmpty() ? QString() : headline + QLatin1Char('\n'))
                            + FailureText::sentence(failure) + QLatin1Char('\n')};
    }
}
