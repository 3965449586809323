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
        return QStringLiteral("removed (the program had added it)");
    case GameFileWriter::Restored::AlreadyOwn:
        return QStringLiteral("left as it is: already the game's own");
    case GameFileWriter::Restored::RealArchiveLeft:
        return QStringLiteral("left as it is: a real archive, where the game had a placeholder");
    case GameFileWriter::Restored::ChangedSince:
        return QStringLiteral("left as it is: changed since this program last wrote it");
    }
    return {};
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString leftText(const GameFileWriter::LeftSet& set)
{
    if (set.modsFolder.isEmpty())
        return QStringLiteral("Left as it is: %1, which holds no record of the game it was kept "
                              "for.\n")
            .arg(shown(set.keptIn));
    return QStringLiteral("Left for you: %1 holds the game's own files of %2, %3.\n")
        .arg(shown(set.keptIn), shown(set.modsFolder),
             set.gameGone ? QStringLiteral("a folder that no longer exists")
                          : QStringLiteral("a game gtdb.inf does not name"));
}

QString describe(const GameFileWriter::RestoreReport& report)
{
    QString text;
    if (report.modsFolder.isEmpty())
        text = QStringLiteral("Nothing to restore: no game file has been replaced in the game "
                              "gtdb.inf names since its own were last put back.\n");
    else
        text = QStringLiteral("The game's own files in %1:\n").arg(shown(report.modsFolder));
    for (const GameFileWriter::RestoredFile& file : report.files)
        text += QStringLiteral("  %1: %2\n").arg(file.file, howText(file.how));
    for (const GameFileWriter::LeftSet& set : report.left)
        text += leftText(set);
    if (!report.modsFolder.isEmpty())
        text += QStringLiteral("gtdb.inf: the status is Pure and Secure Mode is off.\n");
    return text;
}

// A failure's headline, when it has one, and its sentence, each on a line.
QString failureLines(const Failure& failure)
{
    const QString headline = FailureText::headline(failure.number());
    return (headline.isEmpty() ? QString() : headline + QLatin1Char('\n'))
           + FailureText::sentence(failure) + QLatin1Char('\n');
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
        // A refused record of an interrupted update did nothing; it is told
        // before what the restore does.
        const std::optional<Failure> notice = session.interruptedUpdateNotice();
        const QString told = notice ? failureLines(*notice) : QString();
        return {EXIT_SUCCESS, told + describe(session.restoreGame())};
    } catch (const Failure& failure) {
        return {failed, QStringLiteral("Nothing was restored.\n") + failureLines(failure)};
    }
}
