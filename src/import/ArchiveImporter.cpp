#include "import/ArchiveImporter.h"

#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameUpdate.h"
#include "core/gamefiles/GameFiles.h"
#include "core/gamefiles/UpdateJournal.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "import/ImportRefusal.h"
#include "import/PackedArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>

namespace {

const QString cons = QStringLiteral("cons");

// The first of the path's names below the folder that is a link, if any.
QString firstLink(const QString& folder, const QString& archive)
{
    QString walked;
    for (const QString& name : archive.split(u'/')) {
        walked += (walked.isEmpty() ? QString() : QStringLiteral("/")) + name;
        if (QFileInfo(QDir(folder).filePath(walked)).isSymLink())
            return walked;
    }
    return {};
}

// Reads the file to its end, so that a file the disk can't give back whole
// is found before anything is copied; false when it holds nothing.
bool readsWhole(NativeFile& file, bool& placeholder)
{
    std::array<char, 64 * 1024> buffer{};
    const QByteArray marker = GameFiles::placeholderMarker();
    qint64 total = 0;
    QByteArray head;
    for (qint64 got = 0; (got = file.read(buffer.data(), buffer.size())) > 0; total += got) {
        if (head.size() < marker.size())
            head.append(buffer.data(), qMin(got, qint64(marker.size() - head.size())));
    }
    placeholder = head == marker;
    return total > 0;
}

} // namespace

ArchiveImporter::ArchiveImporter(QString workingFolder) : m_workingFolder(std::move(workingFolder))
{
}

QStringList ArchiveImporter::archiveNames()
{
    QStringList names;
    for (const Catalogue::Kind kind : {Catalogue::Kind::Crosshair, Catalogue::Kind::Reticle}) {
        for (int choice = 1; choice <= Catalogue::count(kind); ++choice) {
            const QString source =
                QDir::fromNativeSeparators(Catalogue::archiveSource(kind, QString::number(choice)));
            names << source.mid(cons.size() + 1); // below "cons/"
        }
    }
    return names;
}

QString ArchiveImporter::consFolder() const
{
    return QDir(m_workingFolder).filePath(cons);
}

void ArchiveImporter::importFrom(const QString& path, const Progress& progress) const
{
    const QFileInfo source(path);
    const QString shown = QDir::toNativeSeparators(source.absoluteFilePath());
    if (source.isDir()) {
        importFolder(source.absoluteFilePath(), shown, progress);
        return;
    }
    if (!source.exists())
        throw ImportRefusal(QStringLiteral("%1 does not exist.").arg(shown));
    if (!source.isFile())
        throw ImportRefusal(
            QStringLiteral("%1 is neither a folder nor a .zip or .7z file.").arg(shown));
    const QTemporaryDir unpacked;
    if (!unpacked.isValid())
        throw ImportRefusal(QStringLiteral("No temporary folder to unpack %1 into.").arg(shown));
    PackedArchive(source.absoluteFilePath(), shown).extract(archiveNames(), unpacked.path());
    importFolder(unpacked.path(), shown, progress);
}

void ArchiveImporter::importFolder(const QString& folder, const QString& shown,
                                   const Progress& progress) const
{
    // An import cut short left its journal: its archives go back first, so
    // that the one now brings in all of its own or none.
    UpdateJournal journal(QDir(m_workingFolder).filePath(QStringLiteral("archive-import.journal")));
    if (const std::optional<UpdateJournal::Content> cutShort = journal.read()) {
        GameUpdate::putBack(cutShort->entries);
        journal.clear();
    }
    const QStringList names = archiveNames();
    QList<GameUpdate::Step> steps;
    for (const QString& archive : names) {
        check(folder, archive, shown);
        progress(archive, int(steps.size()) + 1, int(names.size()));
        const QString destination = QDir(consFolder()).filePath(archive);
        steps.append(
            {QDir(folder).filePath(archive), destination, NativeFileSystem::status(destination)});
    }
    for (const QString& archive : names)
        QDir().mkpath(QFileInfo(QDir(consFolder()).filePath(archive)).absolutePath());
    LeftoverSweep sweep;
    GameUpdate(steps, &journal, sweep, {}).commit();
}

void ArchiveImporter::check(const QString& folder, const QString& archive, const QString& shown)
{
    const auto refuse = [&](const QString& name, const QString& what) {
        throw ImportRefusal(QStringLiteral("%1 in %2 %3.").arg(name, shown, what));
    };
    if (const QString link = firstLink(folder, archive); !link.isEmpty())
        refuse(link, QStringLiteral("is a link, which the import never follows"));
    const QString path = QDir(folder).filePath(archive);
    const QFileInfo info(path);
    if (!info.exists())
        refuse(archive, QStringLiteral("is missing"));
    if (!info.isFile())
        refuse(archive, QStringLiteral("is not a plain file"));
    NativeFile file = NativeFile::openForReading(path);
    // A link put in its place since the look above is not followed either.
    if (NativeFileSystem::identity(path) != file.identity())
        refuse(archive, QStringLiteral("is a link, which the import never follows"));
    bool placeholder = false;
    if (!readsWhole(file, placeholder))
        refuse(archive, QStringLiteral("is empty"));
    if (placeholder)
        refuse(archive, QStringLiteral("is only a placeholder, not the mod's real archive"));
}
