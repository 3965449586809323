#include "core/platform/StagedFile.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

const QString temporaryPrefix = QStringLiteral(".grimtide-switch-");
const QString temporarySuffix = QStringLiteral(".part");
constexpr int creationAttempts = 3;

} // namespace

StagedFile::StagedFile(const QString& destination, int permissions)
    : m_destination(destination),
      m_file(createIn(QFileInfo(destination).absolutePath(), permissions, m_path))
{
    m_file.nameFailuresAfter(QDir::toNativeSeparators(destination));
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : m_destination(std::move(other.m_destination)), m_path(std::move(other.m_path)),
      m_file(std::move(other.m_file)), m_placed(other.m_placed)
{
    other.m_placed = true;
}

StagedFile::~StagedFile()
{
    if (!m_placed)
        NativeFileSystem::removeQuietly(m_path);
}

bool StagedFile::isTemporaryName(const QString& fileName)
{
    return fileName.startsWith(temporaryPrefix) && fileName.endsWith(temporarySuffix);
}

NativeFile StagedFile::createIn(const QString& folder, int permissions, QString& path)
{
    // Another program's clean-up may take a new file before we lock it; then
    // another name is as good.
    for (int attempt = 0; attempt < creationAttempts; ++attempt) {
        const QString unique = QString::number(QRandomGenerator::global()->generate64(), 36);
        const QString candidate = QDir(folder).filePath(temporaryPrefix + unique + temporarySuffix);
        try {
            if (std::optional<NativeFile> file = NativeFile::createLocked(candidate, permissions)) {
                path = candidate;
                return std::move(*file);
            }
        } catch (const Failure& failure) {
            // The player knows the folder, not our temporary's name.
            throw Failure(failure.number(), QDir::toNativeSeparators(folder));
        }
    }
    throw Failure(FailureNumber::DeviceIo, QDir::toNativeSeparators(folder));
}

void StagedFile::write(const QString& source)
{
    NativeFile in = NativeFile::openForReading(source);
    write(in);
}

void StagedFile::write(NativeFile& source)
{
    m_file.copyFrom(source);
    m_file.syncData();
}

void StagedFile::writeBytes(const QByteArray& bytes)
{
    m_file.writeAll(bytes.constData(), bytes.size());
    m_file.syncData();
}

void StagedFile::putInPlace()
{
    // Still locked while it moves, so no sweep can take it half-way.
    NativeFileSystem::replace(m_path, m_destination);
    m_placed = true;
    m_file.close();
}

void LeftoverSweep::sweepOnce(const QString& folder)
{
    if (m_swept.contains(folder))
        return;
    m_swept.insert(folder);
    const QDir dir(folder);
    const QStringList names = dir.entryList({temporaryPrefix + QLatin1Char('*') + temporarySuffix},
                                            QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        NativeFile::removeUnlocked(dir.filePath(name));
}
