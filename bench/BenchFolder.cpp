#include "BenchFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace {

const QString portable = QStringLiteral(GRIMTIDE_PORTABLE_DIR);

void require(bool done, const char* what)
{
    if (!done)
        throw std::runtime_error(what);
}

} // namespace

BenchFolder::BenchFolder(const QString& base, Start start)
    : m_dir(QDir(base).filePath(QStringLiteral("grimtide-bench-XXXXXX")))
{
    require(m_dir.isValid(), "no temporary folder");
    copyCons();
    makeGameFolders();
    require(QFile::copy(portable + QStringLiteral("/gtdb.inf"), databaseFile()),
            "no built gtdb.inf");
    QFile(databaseFile()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (start == Start::Later)
        pointSettingsAtGame();
}

void BenchFolder::enter() const
{
    require(QDir::setCurrent(path()), "cannot enter the bench folder");
}

void BenchFolder::copyCons() const
{
    const QString from = portable + QStringLiteral("/cons");
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = file(QStringLiteral("cons") + source.mid(from.size()));
        QDir().mkpath(QFileInfo(target).absolutePath());
        require(QFile::copy(source, target), "cannot copy cons");
    }
}

void BenchFolder::makeGameFolders() const
{
    for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
        QDir().mkpath(game() + QStringLiteral("/mods/") + QLatin1String(folder));
}

void BenchFolder::pointSettingsAtGame() const
{
    sqlite3* db = nullptr;
    sqlite3_stmt* update = nullptr;
    const QByteArray gamePath = QDir::toNativeSeparators(game()).toUtf8();
    const bool done =
        sqlite3_open(databaseFile().toUtf8().constData(), &db) == SQLITE_OK
        && sqlite3_prepare_v2(db, "UPDATE Options SET rtr = 'yes', sw = 'yes', path = ?", -1,
                              &update, nullptr)
               == SQLITE_OK
        && sqlite3_bind_text(update, 1, gamePath.constData(), -1, SQLITE_TRANSIENT) == SQLITE_OK
        && sqlite3_step(update) == SQLITE_DONE;
    sqlite3_finalize(update);
    sqlite3_close(db);
    require(done, "cannot write the bench settings");
}
