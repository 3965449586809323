#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The mod's real archives brought into a working folder's "cons", from a
// folder laid out as "cons" is (cr/1..20/menu.rfa, rt/1..3/game.rfa) or a
// .zip or .7z of one. Every archive is checked first: there, a plain file
// reached through no link, not empty, not one of the delivered placeholders,
// readable to its end. Only then are all of them copied, each staged beside
// its place and renamed over it, all or nothing: a failure puts the old ones
// back, and whatever cuts the copy short leaves each archive whole, old or
// new, and a journal by which the next import puts the old ones back before
// it brings in its own.
class ArchiveImporter {
public:
    // Told of each archive once it has passed its check.
    using Progress = std::function<void(const QString& archive, int number, int total)>;

    explicit ArchiveImporter(QString workingFolder);

    // Throws ImportRefusal when an archive is missing or unfit, with nothing
    // changed, and Failure when the copy fails.
    void importFrom(const QString& path, const Progress& progress) const;

    // The archives below "cons", as "cr/1/menu.rfa".
    static QStringList archiveNames();
    QString consFolder() const;

private:
    // The source is a folder laid out as "cons" is, shown as `shown`.
    void importFolder(const QString& folder, const QString& shown, const Progress& progress) const;
    static void check(const QString& folder, const QString& archive, const QString& shown);

    QString m_workingFolder;
};
