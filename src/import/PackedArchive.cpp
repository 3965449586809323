#include "import/PackedArchive.h"

#include "import/ImportRefusal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <memory>

#include <archive.h>
#include <archive_entry.h>

namespace {

// One pass through the archive's entries.
class Reader {
public:
    Reader(const QString& path, const QString& shown)
        : m_archive(archive_read_new(), &archive_read_free), m_shown(shown)
    {
        archive_read_support_format_zip(m_archive.get());
        archive_read_support_format_7zip(m_archive.get());
        if (archive_read_open_filename(m_archive.get(), QFile::encodeName(path).constData(),
                                       blockSize)
            != ARCHIVE_OK)
            fail();
    }

    // The next entry, or none at the end.
    archive_entry* next()
    {
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(m_archive.get(), &entry);
        if (status == ARCHIVE_EOF)
            return nullptr;
        if (status < ARCHIVE_WARN)
            fail();
        return entry;
    }

    // The entry's name with "/" between its parts and no leading "./".
    static QString nameOf(archive_entry* entry)
    {
        const char* utf8 = archive_entry_pathname_utf8(entry);
        QString name =
            utf8 ? QString::fromUtf8(utf8) : QFile::decodeName(archive_entry_pathname(entry));
        name.replace(u'\\', u'/');
        while (name.startsWith(QStringLiteral("./")))
            name.remove(0, 2);
        return name;
    }

    void copyTo(QFile& file)
    {
        std::array<char, blockSize> buffer{};
        la_ssize_t got = 0;
        while ((got = archive_read_data(m_archive.get(), buffer.data(), buffer.size())) > 0) {
            if (file.write(buffer.data(), got) != got)
                throw ImportRefusal(
                    QStringLiteral("Unpacking %1 failed: %2.").arg(m_shown, file.errorString()));
        }
        if (got < 0)
            fail();
    }

private:
    static constexpr size_t blockSize = 64 * 1024;

    [[noreturn]] void fail() const
    {
        const char* error = archive_error_string(m_archive.get());
        throw ImportRefusal(QStringLiteral("%1 can't be read as a .zip or .7z file: %2.")
                                .arg(m_shown, error ? QString::fromLocal8Bit(error)
                                                    : QStringLiteral("its format is unknown")));
    }

    std::unique_ptr<archive, decltype(&archive_read_free)> m_archive;
    QString m_shown;
};

bool climbsOut(const QString& name)
{
    return name.startsWith(u'/') || (name.size() > 1 && name.at(1) == u':')
           || name.split(u'/').contains(QStringLiteral(".."));
}

} // namespace

PackedArchive::PackedArchive(QString path, QString shown)
    : m_path(std::move(path)), m_shown(std::move(shown))
{
}

void PackedArchive::refuse(const QString& entry, const QString& what) const
{
    throw ImportRefusal(QStringLiteral("%1 in %2 %3.").arg(entry, m_shown, what));
}

QString PackedArchive::prefix(const QStringList& wanted) const
{
    Reader reader(m_path, m_shown);
    QString found;
    bool atTop = false;
    while (archive_entry* entry = reader.next()) {
        const QString name = Reader::nameOf(entry);
        if (climbsOut(name))
            refuse(name, QStringLiteral("climbs out of the archive"));
        const qsizetype slash = name.indexOf(u'/');
        atTop = atTop || wanted.contains(name);
        if (found.isEmpty() && slash > 0 && wanted.contains(name.mid(slash + 1)))
            found = name.left(slash + 1);
    }
    return atTop ? QString() : found;
}

void PackedArchive::extract(const QStringList& wanted, const QString& into) const
{
    const QString folder = prefix(wanted);
    Reader reader(m_path, m_shown);
    while (archive_entry* entry = reader.next()) {
        const QString name = Reader::nameOf(entry);
        if (!name.startsWith(folder) || !wanted.contains(name.mid(folder.size())))
            continue;
        if (archive_entry_hardlink(entry) || archive_entry_filetype(entry) == AE_IFLNK)
            refuse(name, QStringLiteral("is a link, which the import never follows"));
        if (archive_entry_filetype(entry) != AE_IFREG)
            refuse(name, QStringLiteral("is not a plain file"));
        const QString target = QDir(into).filePath(name.mid(folder.size()));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile file(target);
        if (!file.open(QIODevice::WriteOnly))
            throw ImportRefusal(
                QStringLiteral("Unpacking %1 failed: %2.").arg(m_shown, file.errorString()));
        reader.copyTo(file);
    }
}
