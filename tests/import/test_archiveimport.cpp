#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/InstanceLock.h"
#include "import/ImportFixture.h"
#include "support/Checks.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What the program says on its one line of standard error when it refuses.
QString refusal(const QString& reason)
{
    return u"grimtide-switch: Nothing was imported: "_s + reason + u'\n';
}

QString nativeFile(const ImportFixture& s, const QString& name)
{
    return QDir::toNativeSeparators(s.folder.file(name));
}

} // namespace

class TestArchiveImport : public QObject {
    Q_OBJECT
private slots:
    void anImportFillsConsAndAPickThenInstallsTheRealArchive_data()
    {
        QTest::addColumn<QString>("format"); // "" for the folder itself
        QTest::addColumn<QString>("top");
        QTest::newRow("folder") << QString() << QString();
        QTest::newRow("zip, the layout at its top") << u"zip"_s << QString();
        QTest::newRow("7z, the layout in a folder") << u"7zip"_s << u"grimtide archives/"_s;
    }

    void anImportFillsConsAndAPickThenInstallsTheRealArchive()
    {
        QFETCH(QString, format);
        QFETCH(QString, top);
        ImportFixture s;
        const QString source = format.isEmpty() ? s.mod() : s.pack(format, top);
        // The game holds the mod's real archive: a placeholder never replaces it.
        const QString game = GamePaths::modsPath(s.folder.game());
        Checks::writeBytes(s.folder.game() + u"/mods/gtide_base/archives/menu.rfa"_s,
                           "the game's real crosshairs");
        GameFiles files(s.folder.path());
        const auto pickThree = [&] {
            files.stage({Catalogue::archiveCopy(Catalogue::Kind::Crosshair, u"3"_s, game)}, {})
                .commit();
        };
        QCOMPARE(Checks::failureOf(pickThree), FailureNumber::PlaceholderArchive);

        const ProgramRun run = s.import({source});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 24);
        QCOMPARE(lines.constFirst(), u"cr/1/menu.rfa: checked (1 of 23)"_s);
        QCOMPARE(lines.at(22), u"rt/3/game.rfa: checked (23 of 23)"_s);
        QCOMPARE(lines.constLast(),
                 u"23 archives imported into %1."_s.arg(nativeFile(s, u"cons"_s)));
        for (const QString& archive : ImportFixture::archives())
            QCOMPARE(Checks::bytesOf(QDir(s.cons()).filePath(archive)),
                     ImportFixture::realContent(archive));

        QCOMPARE(Checks::failureOf(pickThree), 0);
        QCOMPARE(Checks::bytesOf(s.folder.game() + u"/mods/gtide_base/archives/menu.rfa"_s),
                 QByteArray("real cr/3/menu.rfa"));
    }

    void anImportWithOneUnfitArchiveChangesNothing_data()
    {
        QTest::addColumn<QString>("spoilt"); // below the mod folder
        QTest::addColumn<QString>("how");    // "link TARGET" links it to that one
        QTest::addColumn<QString>("format"); // packed after the change, or "" for the folder
        QTest::addColumn<QString>("reason"); // %1 is the folder or packed file
        const QString placeholder =
            u"cr/7/menu.rfa in %1 is only a placeholder, not the mod's real archive."_s;
        QTest::newRow("placeholder")
            << u"cr/7/menu.rfa"_s << u"placeholder"_s << QString() << placeholder;
        QTest::newRow("missing") << u"rt/2/game.rfa"_s << u"missing"_s << QString()
                                 << u"rt/2/game.rfa in %1 is missing."_s;
        QTest::newRow("empty") << u"cr/20/menu.rfa"_s << u"empty"_s << QString()
                               << u"cr/20/menu.rfa in %1 is empty."_s;
        QTest::newRow("a link to a real one")
            << u"cr/4/menu.rfa"_s << u"link cr/1/menu.rfa"_s << QString()
            << u"cr/4/menu.rfa in %1 is a link, which the import never follows."_s;
        QTest::newRow("its folder a link")
            << u"cr/9"_s << u"link cr/1"_s << QString()
            << u"cr/9 in %1 is a link, which the import never follows."_s;
        QTest::newRow("a folder in its place") << u"cr/2/menu.rfa"_s << u"folder"_s << QString()
                                               << u"cr/2/menu.rfa in %1 is not a plain file."_s;
        QTest::newRow("zip: placeholder")
            << u"cr/7/menu.rfa"_s << u"placeholder"_s << u"zip"_s << placeholder;
    }

    void anImportWithOneUnfitArchiveChangesNothing()
    {
        QFETCH(QString, spoilt);
        QFETCH(QString, how);
        QFETCH(QString, format);
        QFETCH(QString, reason);
        ImportFixture s;
        const QString path = QDir(s.mod()).filePath(spoilt);
        QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        if (how == u"placeholder")
            Checks::writeBytes(path, GameFiles::placeholderMarker() + " cr/7");
        else if (how == u"empty")
            Checks::writeBytes(path, {});
        else if (how.startsWith(u"link "))
            QVERIFY(QFile::link(QDir(s.mod()).filePath(how.mid(5)), path));
        else if (how == u"folder")
            Checks::plant(how, path);
        const QString source = format.isEmpty() ? s.mod() : s.pack(format, {});
        const auto before = s.consFiles();
        const ProgramRun run = s.import({source});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, refusal(reason.arg(QDir::toNativeSeparators(source))));
        QCOMPARE(s.consFiles(), before);
    }

    void aPackedEntryThatIsALinkOrClimbsOutIsRefused_data()
    {
        QTest::addColumn<ImportFixture::Entry>("extra");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a wanted entry that is a link")
            << ImportFixture::Entry{u"cr/5/menu.rfa"_s, "../1/menu.rfa", true}
            << u"cr/5/menu.rfa in %1 is a link, which the import never follows."_s;
        QTest::newRow("an entry climbing out from within")
            << ImportFixture::Entry{u"cr/../../escaped"_s, "out of the archive"}
            << u"cr/../../escaped in %1 climbs out of the archive."_s;
        QTest::newRow("an absolute entry") << ImportFixture::Entry{u"/tmp/escaped"_s, "anywhere"}
                                           << u"/tmp/escaped in %1 climbs out of the archive."_s;
    }

    void aPackedEntryThatIsALinkOrClimbsOutIsRefused()
    {
        QFETCH(ImportFixture::Entry, extra);
        QFETCH(QString, reason);
        ImportFixture s;
        const QString zip = s.pack(u"zip"_s, {}, {extra});
        const auto before = s.consFiles();
        const ProgramRun run = s.import({zip});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, refusal(reason.arg(QDir::toNativeSeparators(zip))));
        QCOMPARE(s.consFiles(), before);
        QVERIFY(!QFileInfo::exists(QDir(s.folder.path()).filePath(u"../escaped"_s)));
    }

    void aFileThatIsNoArchiveIsRefused()
    {
        ImportFixture s;
        const QString text = s.folder.file(u"notes.zip"_s);
        Checks::writeBytes(text, "not an archive at all\n");
        const auto before = s.consFiles();
        const ProgramRun run = s.import({text});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith(refusal(u"%1 can't be read as a .zip or .7z file: "_s.arg(
                                                QDir::toNativeSeparators(text)))
                                        .chopped(1)),
                 qPrintable(run.err));
        QCOMPARE(s.consFiles(), before);
    }

    // The running program holds the folder's lock; only an import it started
    // itself goes ahead.
    void theImportWaitsForTheRunningProgramUnlessItStartedIt_data()
    {
        QTest::addColumn<QString>("startedBy"); // "" for nobody, "self" for this test
        QTest::addColumn<int>("status");
        QTest::newRow("started by hand") << QString() << 2;
        QTest::newRow("claiming another starter") << u"1"_s << 2;
        QTest::newRow("started by the running program") << u"self"_s << 0;
    }

    void theImportWaitsForTheRunningProgramUnlessItStartedIt()
    {
        QFETCH(QString, startedBy);
        QFETCH(int, status);
        ImportFixture s;
        InstanceLock running;
        QCOMPARE(running.take(s.folder.file(u"gtdb.inf.lock"_s)), InstanceLock::Outcome::Held);
        QStringList arguments{s.mod()};
        if (!startedBy.isEmpty())
            arguments.prepend(startedBy == u"self"
                                  ? QString::number(QCoreApplication::applicationPid())
                                  : startedBy);
        if (!startedBy.isEmpty())
            arguments.prepend(u"--started-by"_s);
        const auto before = s.consFiles();
        const ProgramRun run = s.import(arguments);
        QCOMPARE(run.status, status);
        QCOMPARE(run.err, status == 0 ? QString()
                                      : u"grimtide-switch: Grimtide Switch is running in this "
                                        "folder; import the archives from its window, or close "
                                        "it first.\n"_s);
        QCOMPARE(s.consFiles() == before, status != 0);
    }

    void aBadCommandLineIsRefusedWithOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");
        QTest::newRow("no path") << QStringList()
                                 << u"grimtide-switch: --import-archives takes one PATH.\n"_s;
        QTest::newRow("two paths") << QStringList{u"a"_s, u"b"_s}
                                   << u"grimtide-switch: --import-archives takes one PATH.\n"_s;
        QTest::newRow("an unknown option")
            << QStringList{u"--bogus"_s, u"a"_s} << u"grimtide-switch: Unknown option 'bogus'.\n"_s;
    }

    void aBadCommandLineIsRefusedWithOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        ImportFixture s;
        const auto before = s.consFiles();
        const ProgramRun run = s.import(arguments);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, err);
        QCOMPARE(s.consFiles(), before);
    }
};

QTEST_MAIN(TestArchiveImport)
#include "test_archiveimport.moc"
