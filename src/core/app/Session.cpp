#include "core/app/Session.h"

#include "core/common/GamePaths.h"
#include "core/settings/SettingsValues.h"

#include <QDir>

Session::Session(GameFileWriter& gameFiles, QString settingsFile)
    : m_gameFiles(gameFiles), m_settingsFile(std::move(settingsFile))
{
}

SettingsStore& Session::store()
{
    if (!m_store)
        m_store.emplace(m_settingsFile, m_lockWaitMs);
    return *m_store;
}

void Session::setLockWait(int milliseconds)
{
    m_lockWaitMs = milliseconds;
    if (m_store)
        m_store->setLockWait(milliseconds);
}

void Session::failWithSettingsFile(const Failure& failure) const
{
    // The settings file's own failures name it where the player finds it.
    throw failure.at(
        QDir::toNativeSeparators(QDir(QDir::currentPath()).absoluteFilePath(m_settingsFile)));
}

bool Session::load()
{
    SettingsStore::Loaded loaded;
    try {
        loaded = store().load();
    } catch (const Failure& failure) {
        // An empty table has nothing to lose; the first save gives it its row.
        if (failure.number() != FailureNumber::NoCurrentRecord)
            m_saveRefusal = failure;
        failWithSettingsFile(failure);
    }
    m_record = loaded.record;
    // The packs' boxes are clear only for "no", and a ticked box means "yes".
    for (QString* pack : {&m_record.rtr, &m_record.sw})
        *pack = SettingsValues::packValue(!SettingsValues::isPackOff(*pack));
    m_modsPath = GamePaths::modsPath(m_record.path);
    try {
        finishInterrupted();
    } catch (const Failure& failure) {
        // The game's folder may be out of reach for now; the next change
        // finishes the update first, and fails with the reason if it can't.
        if (failure.number() == FailureNumber::JournalRefused
            || failure.number() == FailureNumber::UpdateWaitsForGame)
            m_updateNotice = failure;
    }
    return loaded.hadEmptyField;
}

void Session::reinstallSecureArchives()
{
    GameUpdate files =
        stageArchives(QString::number(Catalogue::secureCrosshair),
                      QString::number(Catalogue::secureReticle), SettingsValues::secureValue(true));
    files.commit();
}

bool Session::switchTo(GameMode mode)
{
    const bool switching = m_record.status == modeStatus(otherMode(mode));
    GameUpdate files;
    if (switching)
        files = stage(modeCopies(mode, m_record.rtr, m_record.sw, m_modsPath),
                      {{SettingsValues::statusField(), modeStatus(mode)}});
    keep(files, [&](SettingsRecord& record) {
        if (switching)
            record.status = modeStatus(mode);
    });
    return switching;
}

void Session::setPack(ExpansionPack pack, bool installed)
{
    GameUpdate noFiles;
    keep(noFiles, [&](SettingsRecord& record) {
        (pack == ExpansionPack::Rtr ? record.rtr : record.sw) =
            SettingsValues::packValue(installed);
    });
}

void Session::pick(Catalogue::Kind kind, int choice)
{
    const QString text = QString::number(choice);
    const QString field = kind == Catalogue::Kind::Crosshair ? SettingsValues::crosshairField()
                                                             : SettingsValues::reticleField();
    Deciding picked = m_picked;
    picked.removeIf([&field](const DecidingSetting& setting) { return setting.field == field; });
    picked.append({field, text});
    finishInterrupted();
    m_gameFiles.stageInto(m_picks, {Catalogue::archiveCopy(kind, text, m_modsPath)}, picked);
    m_picked = picked;
}

void Session::dropPicks()
{
    m_picks = GameUpdate();
    m_picked.clear();
}

void Session::keepChoices(int crosshair, int reticle)
{
    keepPicksAs([&](SettingsRecord& record) {
        record.cr = QString::number(crosshair);
        record.rt = QString::number(reticle);
    });
}

void Session::keepPicks()
{
    keepPicksAs([this](SettingsRecord& record) {
        for (const DecidingSetting& setting : std::as_const(m_picked))
            (setting.field == SettingsValues::crosshairField() ? record.cr : record.rt) =
                setting.value;
    });
}

void Session::keepPicksAs(const Edit& edit)
{
    try {
        keep(m_picks, edit);
    } catch (const Failure&) {
        dropPicks();
        throw;
    }
    dropPicks(); // committed: nothing goes back
}

void Session::setSecure(bool on)
{
    const QString secure = SettingsValues::secureValue(on);
    GameUpdate files = on ? stageArchives(QString::number(Catalogue::secureCrosshair),
                                          QString::number(Catalogue::secureReticle), secure)
                          : stageArchives(m_record.cr, m_record.rt, secure);
    keep(files, [&](SettingsRecord& record) { record.secure = secure; });
}

void Session::setInstallPath(const QString& path, bool packsFollowTheGame)
{
    const QString modsPath = GamePaths::modsPath(path);
    GameUpdate noFiles;
    keep(noFiles, [&](SettingsRecord& record) {
        record.path = path;
        if (packsFollowTheGame) {
            record.rtr = SettingsValues::packValue(hasPackFolder(modsPath, ExpansionPack::Rtr));
            record.sw = SettingsValues::packValue(hasPackFolder(modsPath, ExpansionPack::Sw));
        }
    });
    m_modsPath = modsPath;
}

GameFileWriter::RestoreReport Session::restoreGame()
{
    finishInterrupted();
    GameFileWriter::Restoring restoring = m_gameFiles.restoreOriginals(
        m_modsPath, {{SettingsValues::statusField(), SettingsValues::pure()},
                     {SettingsValues::secureField(), SettingsValues::secureValue(false)}});
    if (restoring.report.modsFolder.isEmpty())
        return restoring.report;
    keep(restoring.update, [](SettingsRecord& record) {
        record.status = SettingsValues::pure();
        record.secure = SettingsValues::secureValue(false);
    });
    return restoring.report;
}

void Session::msaveset()
{
    save(m_record);
    emit recordChanged();
}

void Session::keep(GameUpdate& files, const Edit& edit)
{
    SettingsRecord edited = m_record;
    edit(edited);
    save(edited);
    m_record = edited;
    files.commit();
    emit recordChanged();
}

GameUpdate Session::stage(const QList<GameFileCopy>& copies, const Deciding& deciding)
{
    finishInterrupted();
    return m_gameFiles.stage(copies, deciding);
}

void Session::finishInterrupted()
{
    // The settings file holds the record's mode and Secure Mode: a command
    // that changes either saves it or puts the files back.
    m_gameFiles.finishInterrupted(
        [this](const QString& field) { return SettingsValues::valueOf(m_record, field); });
}

GameUpdate Session::stageArchives(const QString& crosshair, const QString& reticle,
                                  const QString& secure)
{
    using Catalogue::Kind;
    return stage({Catalogue::archiveCopy(Kind::Crosshair, crosshair, m_modsPath),
                  Catalogue::archiveCopy(Kind::Reticle, reticle, m_modsPath)},
                 {{SettingsValues::secureField(), secure}});
}

void Session::save(const SettingsRecord& record)
{
    try {
        if (m_saveRefusal)
            throw *m_saveRefusal;
        store().save(record);
    } catch (const Failure& failure) {
        failWithSettingsFile(failure);
    }
}
