#pragma once

#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/TestFolder.h"

// A working folder with the placeholders in "cons", and "mod" laid out as "cons" with the real
// archives ("real cr/7/menu.rfa"...).
class ImportFixture {
public:
    ImportFixture();

    TestFolder folder;

    QString mod() const { return folder.file(QStringLiteral("mod")); }
    QString cons() const { return folder.file(QStringLiteral("cons")); }
    static QByteArray realContent(const QString& archive) { return "real " + archive.toLatin1(); }
    static QStringList archives();
    QMap<QString, QByteArray> consFiles() const { return Checks::filesIn(cons()); }

    struct Entry { // a packed file, or a link to `content`
        QString name;
        QByteArray content;
        bool link = false;
    };
    // The mod folder's archives below `top` ("" or "cons/"), then the extra
    // entries, in a "zip" or "7zip" file.
    QString pack(const QString& format, const QString& top, const QList<Entry>& extra = {}) const;
    ProgramRun import(const QStringList& arguments) const
    {
        return ProgramRun::in(folder.path(), QStringLiteral(GRIMTIDE_IMPORT_PROGRAM), arguments);
    }
};
