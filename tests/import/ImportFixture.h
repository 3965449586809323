#pragma once

#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/TestFolder.h"

#include <QMap>

// A working folder whose "cons" holds the delivered placeholders, and beside
// it a folder "mod" laid out as "cons" with the mod's real archives, each
// with a content of its own ("real cr/7/menu.rfa"...).
class ImportFixture {
public:
    ImportFixture();

    TestFolder folder;

    QString mod() const { return folder.file(QStringLiteral("mod")); }
    QString cons() const { return folder.file(QStringLiteral("cons")); }
    static QByteArray realContent(const QString& archive);
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
    // The import program, in the working folder.
    ProgramRun import(const QStringList& arguments) const;
};
