#include "support/Checks.h"

#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "core/platform/StagedFile.h"

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
    sqlite3* db = nullptr;
    const bool done = sqlite3_open_v2(QFile::encodeName(databaseFile).constData(), &db,
                                      SQLITE_OPEN_READWRITE, nullptr)
                          == SQLITE_OK
                      && sqlite3_exec(db, sql.constData(), keep, &found, nullptr) == SQLITE_OK;
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

QString Checks::message(const QString& first, int number, const QString& place)
{
    return first + u'\n' + FailureText::sentence(Failure(number, QDir::toNativeSeparators(place)));
}

void Checks::plant(const QString& kind, const QString& path)
{
    QFile::remove(path);
    if (kind == u"/dev/zero")
        QFile::link(kind, path);
    else if (kind == u"folder")
        QDir().mkdir(path);
    else
        ::mknod(QFile::encodeName(path).constData(), (kind == u"pipe" ? S_IFIFO : S_IFSOCK) | 0600,
                0);
}

QString Checks::report(const QString& tag, int number, const QString& place)
{
    return message(ErrorReport::text(tag, number), number, place);
}
