#pragma once

#include <QString>
#include <QStringList>

// A .zip or .7z, read with libarchive, out of which the import takes the
// archives it wants. The layout of "cons" may stand at its top or below one
// folder of its own (a "cons/" packed whole).
class PackedArchive {
public:
    // The file, and how messages name it.
    PackedArchive(QString path, QString shown);

    // Writes each wanted entry into the folder under its wanted name. An
    // entry anywhere whose name climbs out of the archive (an absolute
    // name, a "..") refuses the whole of it, and so does a wanted entry that
    // is a link or not a plain file. A wanted entry that isn't there is not
    // written. Throws ImportRefusal.
    void extract(const QStringList& wanted, const QString& into) const;

private:
    // "" or the one folder, with its "/", that the wanted names stand in.
    QString prefix(const QStringList& wanted) const;
    void refuse(const QString& entry, const QString& what) const;

    QString m_path;
    QString m_shown;
};
