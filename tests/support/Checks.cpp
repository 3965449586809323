#include "support/Checks.h"

#include "core/common/Failure.h"
#include "core/platform/StagedFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <sqlite3.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

int Checks::failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

QByteArray Checks::bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Checks::writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QList<QStringList> Checks::rows(const QString& databaseFile, const QByteArray& sql, bool* ok)
{
    QList<QStringList> found;
    const auto keep = [](void* out, int columns, char** values, char**) {
        QStringList& row = static_cast<QList<QStringList>*>(out)->emplaceBack();
        for (int column = 0; column < columns; ++column)
            row.append(QString::fromUtf8(values[column]));
        return 0;
    };
    sqlite3* db = nullptr; // a file that won't open leaves a handle whose calls fail
    sqlite3_open_v2(QFile::encodeName(databaseFile).constData(), &db, SQLITE_OPEN_READWRITE, {});
    const bool done = sqlite3_exec(db, sql.constData(), keep, &found, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (ok)
        *ok = done;
    return done ? found : QList<QStringList>();
}

void Checks::exec(const QString& databaseFile, const char* sql)
{
    bool ok = false;
    rows(databaseFile, sql, &ok);
    if (!ok)
        qFatal("sqlite failed: %s", sql);
}

Checks::SettingsLock::SettingsLock(const QString& databaseFile) : db(nullptr, sqlite3_close)
{
    sqlite3* opened = nullptr;
    sqlite3_open(QFile::encodeName(databaseFile).constData(), &opened);
    db.reset(opened); // a file that won't open leaves a handle whose calls fail
    if (sqlite3_exec(opened, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("cannot lock %s", qPrintable(databaseFile));
}

bool Checks::integrityOk(const QString& databaseFile)
{
    return rows(databaseFile, "PRAGMA integrity_check") == QList<QStringList>{{u"ok"_s}};
}

QStringList Checks::installedModes(const QString& game)
{
    const QDir cons(QStringLiteral(GRIMTIDE_CONS_DIR));
    QHash<QByteArray, QString> names; // by content
    for (const QString& file : cons.entryList({u"*.con"_s}))
        names.insert(bytesOf(cons.filePath(file)), file.chopped(4));
    QStringList installed;
    for (const char* pack : {"bf1942", "xpack1", "xpack2"})
        installed << names.value(bytesOf(game + u"/mods/%1/init.con"_s.arg(QLatin1String(pack))));
    return installed;
}

QMap<QString, QByteArray> Checks::filesIn(const QString& folder)
{
    QMap<QString, QByteArray> found;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        found.insert(QDir(folder).relativeFilePath(path), bytesOf(path));
    }
    return found;
}

QStringList Checks::copierTemporariesIn(const QString& folder)
{
    QStringList found = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    found.removeIf([](const QString& name) { return !StagedFile::isTemporaryName(name); });
    return found;
}

QString Checks::sentence(int number, const QString& place, const QString& advice)
{
    // the sentence with %1 for the place | what stands for an unnamed place
    static const QMap<int, const char*> sentences{
        {13, "%1 holds a text where a number belongs|A crosshair or reticle setting in gtdb.inf"},
        {53, "The file %1 is missing|that was to be copied"},
        {57, "Reading or writing %1 failed: the disk or device reported an error|a file"},
        {61, "The disk holding %1 is full|the file"},
        {70, "%1 may not be changed: it is write-protected, read-only or in use|A file"},
        {71, "The drive of %1 is not ready|that folder"},
        {75, "%1 is not a plain file: a folder, a pipe or a device stands in its place|"
             "A file the program needs"},
        {76, "The folder %1 does not exist|on the copy's path"},
        {91, "A crosshair and a reticle must both be chosen in the lists"},
        {94, "A setting in %1 holds no value|gtdb.inf"},
        {3021, "The table \"Options\" in %1 holds no row|gtdb.inf"},
        {3024, "The settings file %1 does not exist|gtdb.inf"},
        {3078, "%1 has no table \"Options\"|gtdb.inf"},
        {3218, "%1 is locked by another program|gtdb.inf"},
        {3265, "The table \"Options\" in %1 lacks one of its seven fields|gtdb.inf"},
        {3343, "%1 is not a settings database this program can read|gtdb.inf"},
        {4001, "Nothing was written to the game; it runs as %1|a process"},
        {4002, "Nothing was written; put the Grimtide mod's real archives into %1|"
               "the numbered folders of cons"},
        {4003, "Nothing was written to the game, which runs as %1; the update of its files that "
               "was cut short will be finished at the next start or switch once the game has "
               "ended|a process"},
        {4004, "It was refused at %1|game-files.journal"},
        {4005, "It was refused at %1|kept-game-files"},
    };
    if (!sentences.contains(number))
        qFatal("no sentence written out for %d", number);
    const QStringList parts = QString::fromUtf8(sentences.value(number)).split(u'|');
    const QString written =
        parts.size() == 1
            ? parts[0]
            : parts[0].arg(place.isEmpty() ? parts[1] : QDir::toNativeSeparators(place));
    return written + (advice.isEmpty() ? QString() : u": "_s + advice) + u'.';
}

void Checks::plant(const QString& kind, const QString& path)
{
    QFile::remove(path);
    if (kind == u"/dev/zero")
        QFile::link(kind, path);
    else if (kind == u"folder")
        QDir().mkdir(path);
    else
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
}

QByteArray Checks::journalOf(const QByteArray& body)
{
    return body + '\n' + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + '\n';
}
