#pragma once

#include "support/ProgramRun.h"
#include "support/TestFolder.h"

#include <QMap>
#include <QString>
#include <QStringList>

// A working folder whose "cons" holds the delivered placeholders, and beside
// it a folder "mod" laid out as "cons" is with the mod's real archives, each
// with a content of its own; .zip and .7z files of it are made on demand.
class ImportFixture {
public:
    ImportFixture();

    TestFolder folder;

    QString mod() const { return folder.file(QStringLiteral("mod")); }
    QString cons() const { return folder.file(QStringLiteral("cons")); }
    // "real cr/7/menu.rfa" and so on.
    static QByteArray realContent(const QString& archive);
    static QStringList archives();
    QMap<QString, QByteArray> consFiles() const;

    // An entry of a packed file: a plain file, or a link to `content`.
    struct Entry {
        QString name;
        QByteArray content;
        bool link = false;
    };
    // The archives the mod folder holds, below `top` ("" or "cons/"), then
    // the extra entries, in a "zip" or "7zip" file.
    QString pack(const QString& format, const QString& top, const QList<Entry>& extra = {}) const;

    // The import program on the path, in the working folder.
    ProgramRun import(const QStringList& arguments) const;
};
