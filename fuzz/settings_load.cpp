// Any bytes as "gtdb.inf": the load ends with a row or a failure number, and
// the file is left exactly as it was.
#include "core/common/Failure.h"
#include "core/settings/SettingsStore.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(SettingsStore::defaultFileName());
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    {
        SettingsStore store(path);
        try {
            store.load();
        } catch (const Failure&) {
        }
    }
    if (contentsOf(path) != bytes || QFile::exists(path + QStringLiteral("-journal")))
        std::abort();
    return 0;
}
