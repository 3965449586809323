#include "core/platform/PathResolver.h"

#include "core/common/Failure.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString inFolder(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QString PathResolver::entryIn(const QString& folder, const QString& name)
{
    const QString exact = inFolder(folder, name);
    return QFileInfo::exists(exact) ? exact : matchIn(folder, name);
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
    for (const QString& name : names) {
        // One look at the exact name; the folder is read only when it misses.
        QFileInfo next(inFolder(current, name));
        if (!next.exists())
            next = QFileInfo(matchIn(current, name));
        current = next.filePath();
        if (!next.isDir())
            throw Failure(FailureNumber::PathNotFound, QDir::toNativeSeparators(current));
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

QString PathResolver::folderIn(const QString& resolved, const QString& relative)
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
        throw Failure(FailureNumber::WrongKind, QDir::toNativeSeparators(path));
}

QString PathResolver::existingFile(const QString& path)
{
    QString folderPart;
    QString name;
    splitLast(path, folderPart, name);
    const QFileInfo file(entryIn(folder(folderPart), name));
    const QString shown = QDir::toNativeSeparators(file.filePath());
    if (!file.exists())
        throw Failure(FailureNumber::FileNotFound, shown);
    if (!file.isFile())
        throw Failure(FailureNumber::WrongKind, shown);
    return file.filePath();
}

QString PathResolver::fileToWrite(const QString& path)
{
    QString folderPart;
    QString name;
    splitLast(path, folderPart, name);
    const QFileInfo file(entryIn(folder(folderPart), name));
    if (file.exists() && !file.isFile())
        throw Failure(FailureNumber::WrongKind, QDir::toNativeSeparators(file.filePath()));
    return file.filePath();
}
