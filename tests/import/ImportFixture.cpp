#include "import/ImportFixture.h"

#include <archive.h>
#include <archive_entry.h>

using namespace Qt::StringLiterals;

ImportFixture::ImportFixture()
{
    for (const QString& archive : archives())
        Checks::writeBytes(QDir(mod()).filePath(archive), realContent(archive));
}

QStringList ImportFixture::archives()
{
    QStringList names;
    for (int n = 1; n <= 20; ++n)
        names << u"cr/%1/menu.rfa"_s.arg(n);
    for (int n = 1; n <= 3; ++n)
        names << u"rt/%1/game.rfa"_s.arg(n);
    return names;
}

QString ImportFixture::pack(const QString& format, const QString& top,
                            const QList<Entry>& extra) const
{
    const QString path = folder.file(u"mod."_s + (format == u"zip" ? u"zip"_s : u"7z"_s));
    QList<Entry> entries;
    for (const QString& archive : archives()) {
        const QString file = QDir(mod()).filePath(archive);
        if (QFileInfo(file).isFile())
            entries.append({top + archive, Checks::bytesOf(file)});
    }
    entries += extra;
    archive* writer = archive_write_new();
    archive_write_set_format_by_name(writer, format.toLatin1().constData());
    if (archive_write_open_filename(writer, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        qFatal("cannot write %s: %s", qPrintable(path), archive_error_string(writer));
    for (const Entry& entry : std::as_const(entries)) {
        archive_entry* header = archive_entry_new();
        archive_entry_set_pathname(header, entry.name.toUtf8().constData());
        archive_entry_set_perm(header, 0644);
        archive_entry_set_filetype(header, entry.link ? AE_IFLNK : AE_IFREG);
        entry.link ? archive_entry_set_symlink(header, entry.content.constData())
                   : archive_entry_set_size(header, entry.content.size());
        archive_write_header(writer, header);
        if (!entry.link)
            archive_write_data(writer, entry.content.constData(), size_t(entry.content.size()));
        archive_entry_free(header);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    return path;
}
