#include "core/platform/PathResolver.h"

#include "core/common/Failure.h"

#include <QDir>
#include <QFileInfo>

QString PathResolver::entryIn(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (name == QStringLiteral(".") || name == QStringLiteral("..") || dir.exists(name))
        return dir.filePath(name);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

QString PathResolver::folder(const QString& path)
{
    const QString generic = QDir::fromNativeSeparators(path);
    const bool absolute = QDir::isAbsolutePath(generic);
    QStringList names = generic.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString start;
    if (absolute) {
        // "/" on this system, "C:/" on a system with drive letters.
        start = generic.startsWith(QLatin1Char('/')) ? QStringLiteral("/")
                                                     : names.takeFirst() + QLatin1Char('/');
    } else {
        start = QDir::currentPath();
    }
    return folderBelow(start, names.join(QLatin1Char('/')));
}

QString PathResolver::folderBelow(const QString& base, const QString& relative)
{
    QString current = base;
    for (const QString& name :
         QDir::fromNativeSeparators(relative).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        // The exact name, as a folder, takes one look; any other case a listing.
        const QString exact =
            current.endsWith(QLatin1Char('/')) ? current + name : current + QLatin1Char('/') + name;
        current = QFileInfo(exact).isDir() ? exact : entryIn(current, name);
        if (!QFileInfo(current).isDir())
            throw Failure(FailureNumber::PathNotFound);
    }
    return current;
}

void PathResolver::splitLast(const QString& path, QString& folderPart, QString& name)
{
    const QString generic = QDir::fromNativeSeparators(path);
    const qsizetype cut = generic.lastIndexOf(QLatin1Char('/'));
    folderPart = cut < 0 ? QString() : generic.left(cut + 1);
    name = generic.mid(cut + 1);
    if (name.isEmpty())
        throw Failure(FailureNumber::WrongKind);
}

QString PathResolver::existingFile(const QString& path)
{
    QString folderPart;
    QString name;
    splitLast(path, folderPart, name);
    const QFileInfo file(entryIn(folder(folderPart), name));
    if (!file.exists())
        throw Failure(FailureNumber::FileNotFound);
    if (!file.isFile())
        throw Failure(FailureNumber::WrongKind);
    return file.filePath();
}

QString PathResolver::fileToWrite(const QString& path)
{
    QString folderPart;
    QString name;
    splitLast(path, folderPart, name);
    const QFileInfo file(entryIn(folder(folderPart), name));
    if (file.exists() && !file.isFile())
        throw Failure(FailureNumber::WrongKind);
    return file.filePath();
}
