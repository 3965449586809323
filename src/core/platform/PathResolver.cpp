#include "core/platform/PathResolver.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFileSystem.h"

#include <QDir>

namespace {

using Kind = NativeFileSystem::Kind;

QString inFolder(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

Kind kindOf(const QString& path)
{
    return NativeFileSystem::status(path).kind;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString PathResolver::entryIn(const QString& folder, const QString& name,
                              NativeFileSystem::Status* status)
{
    QString entry = inFolder(folder, name);
    NativeFileSystem::Status found = NativeFileSystem::status(entry);
    if (found.kind == Kind::None) {
        entry = matchIn(folder, name);
        found = NativeFileSystem::status(entry);
    }
    if (status)
        *status = found;
    return entry;
}

QString PathResolver::matchIn(const QString& folder, const QString& name)
{
    const QString exact = inFolder(folder, name);
    if (name == QStringLiteral(".") || name == QStringLiteral(".."))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden
                                                       | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return inFolder(folder, entry);
    }
    return exact;
}

QString PathResolver::walk(QString current, const QStringList& names)
{
    // Spelt as on disk, the whole path is one look; only where it is not is
    // each name looked up, and a folder read only where its exact name misses.
    const QString whole = names.isEmpty() ? current : inFolder(current, names.join(u'/'));
    if (kindOf(whole) == Kind::Folder)
        return whole;
    for (const QString& name : names) {
        NativeFileSystem::Status status;
        current = entryIn(current, name, &status);
        if (status.kind != Kind::Folder)
            throw Failure(FailureNumber::PathNotFound, shown(current));
    }
    return current;
}

QString PathResolver::folder(const QString& path)
{
    const QString generic = QDir::fromNativeSeparators(path);
    QStringList names = generic.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!QDir::isAbsolutePath(generic))
        return walk(QDir::currentPath(), names);
    // "/" on this system, "C:/" on a system with drive letters.
    return walk(generic.startsWith(QLatin1Char('/')) ? QStringLiteral("/")
                                                     : names.takeFirst() + QLatin1Char('/'),
                names);
}

QString PathResolver::folderBelow(const QString& resolved, const QString& relative)
{
    return walk(resolved,
                QDir::fromNativeSeparators(relative).split(QLatin1Char('/'), Qt::SkipEmptyParts));
}

void PathResolver::splitLast(const QString& path, QString& folderPart, QString& name)
{
    const QString generic = QDir::fromNativeSeparators(path);
    const qsizetype cut = generic.lastIndexOf(QLatin1Char('/'));
    folderPart = cut < 0 ? QString() : generic.left(cut + 1);
    name = generic.mid(cut + 1);
    if (name.isEmpty())
        throw Failure(FailureNumber::WrongKind, shown(path));
}

QString PathResolver::existingFile(const QString& path)
{
    QString folderPart;
    QString name;
    splitLast(path, folderPart, name);
    NativeFileSystem::Status status;
    const QString file = entryIn(folder(folderPart), name, &status);
    const Kind kind = status.kind;
    if (kind == Kind::None)
        throw Failure(FailureNumber::FileNotFound, shown(file));
    if (kind != Kind::File)
        throw Failure(FailureNumber::WrongKind, shown(file));
    return file;
}

QString PathResolver::fileToWrite(const QString& path)
{
    QString folderPart;
    QString name;
    splitLast(path, folderPart, name);
    NativeFileSystem::Status status;
    const QString file = entryIn(folder(folderPart), name, &status);
    const Kind kind = status.kind;
    if (kind != Kind::None && kind != Kind::File)
        throw Failure(FailureNumber::WrongKind, shown(file));
    return file;
}
