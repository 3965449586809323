#include "core/gamefiles/FileDigest.h"

#include "core/platform/NativeFile.h"

#include <QCryptographicHash>

FileDigest FileDigest::of(NativeFile& file)
{
    constexpr qint64 chunk = 1 << 16;
    QByteArray buffer(chunk, '\0');
    QCryptographicHash hash(QCryptographicHash::Sha256);
    FileDigest digest;
    for (qint64 got; (got = file.read(buffer.data(), chunk)) > 0;) {
        hash.addData(QByteArrayView(buffer).first(got));
        digest.size += got;
    }
    digest.sha256 = hash.result().toHex();
    return digest;
}

std::optional<FileDigest> FileDigest::ofPresent(const QString& path)
{
    std::optional<NativeFile> file = NativeFile::openIfPresent(path);
    if (!file)
        return std::nullopt;
    return of(*file);
}
