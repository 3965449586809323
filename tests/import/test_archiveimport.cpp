#include "core/common/GamePaths.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/InstanceLock.h"
#include "gui/archives/ArchiveImport.h"
#include "import/ImportFixture.h"
#include "support/Checks.h"
#include "support/RecordingSink.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

QString refusal(const QString& reason)
{
    return u"grimtide-switch: Nothing was imported: "_s + reason + u'\n';
}

// Runs the action on the next modal window of the type once it shows.
template <typename Window> void whenShown(const std::function<void(Window&)>& action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(*window);
    });
    poll->start(10);
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
        const QString menu = s.folder.game() + u"/mods/gtide_base/archives/menu.rfa"_s;
        Checks::writeBytes(menu, "the game's real crosshairs");
        GameFiles files(s.folder.path());
        const auto pickThree = [&] {
            files
                .stage({Catalogue::archiveCopy(Catalogue::Kind::Crosshair, u"3"_s,
                                               GamePaths::modsPath(s.folder.game()))},
                       {})
                .commit();
        };
        const ProgramRun run = s.import({source});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 24);
        QCOMPARE((QStringList{lines.constFirst(), lines.at(22), lines.constLast()}),
                 (QStringList{
                     u"cr/1/menu.rfa: checked (1 of 23)"_s, u"rt/3/game.rfa: checked (23 of 23)"_s,
                     u"23 archives imported into %1."_s.arg(QDir::toNativeSeparators(s.cons()))}));
        for (const QString& archive : ImportFixture::archives())
            QCOMPARE(Checks::bytesOf(QDir(s.cons()).filePath(archive)),
                     ImportFixture::realContent(archive));
        QCOMPARE(Checks::failureOf(pickThree), 0);
        QCOMPARE(Checks::bytesOf(menu), QByteArray("real cr/3/menu.rfa"));
    }

    void anImportWithOneUnfitArchiveChangesNothing_data()
    {
        QTest::addColumn<QString>("spoilt"); // below the mod folder
        QTest::addColumn<QString>("how");    // "link TARGET" links it to that one
        QTest::addColumn<QString>("format"); // packed after the change, or "" for the folder
        QTest::addColumn<QList<ImportFixture::Entry>>("extra"); // more packed entries
        QTest::addColumn<QString>("reason");                    // %1 is the folder or packed file
        const auto row = [](const char* name, const QString& spoilt, const QString& how,
                            const QString& format, const QString& reason,
                            const QList<ImportFixture::Entry>& extra = {}) {
            QTest::newRow(name) << spoilt << how << format << extra << reason;
        };
        const QString placeholder =
            u"cr/7/menu.rfa in %1 is only a placeholder, not the mod's real archive."_s;
        row("placeholder", u"cr/7/menu.rfa"_s, u"placeholder"_s, {}, placeholder);
        row("missing", u"rt/2/game.rfa"_s, u"missing"_s, {}, u"rt/2/game.rfa in %1 is missing."_s);
        row("empty", u"cr/20/menu.rfa"_s, u"empty"_s, {}, u"cr/20/menu.rfa in %1 is empty."_s);
        row("a link to a real one", u"cr/4/menu.rfa"_s, u"link cr/1/menu.rfa"_s, {},
            u"cr/4/menu.rfa in %1 is a link, which the import never follows."_s);
        row("its folder a link", u"cr/9"_s, u"link cr/1"_s, {},
            u"cr/9 in %1 is a link, which the import never follows."_s);
        row("a folder in its place", u"cr/2/menu.rfa"_s, u"folder"_s, {},
            u"cr/2/menu.rfa in %1 is not a plain file."_s);
        row("zip: placeholder", u"cr/7/menu.rfa"_s, u"placeholder"_s, u"zip"_s, placeholder);
        row("zip: a wanted entry that is a link", u"cr/5/menu.rfa"_s, u"missing"_s, u"zip"_s,
            u"cr/5/menu.rfa in %1 is a link, which the import never follows."_s,
            {{u"cr/5/menu.rfa"_s, "../1/menu.rfa", true}});
        row("zip: an entry climbing out from within", {}, {}, u"zip"_s,
            u"cr/../../escaped in %1 climbs out of the archive."_s,
            {{u"cr/../../escaped"_s, "out of the archive"}});
        row("zip: an absolute entry", {}, {}, u"zip"_s,
            u"/tmp/escaped in %1 climbs out of the archive."_s, {{u"/tmp/escaped"_s, "anywhere"}});
    }

    void anImportWithOneUnfitArchiveChangesNothing()
    {
        QFETCH(QString, spoilt);
        QFETCH(QString, how);
        QFETCH(QString, format);
        QFETCH(QList<ImportFixture::Entry>, extra);
        QFETCH(QString, reason);
        ImportFixture s;
        const QString path = QDir(s.mod()).filePath(spoilt);
        if (!spoilt.isEmpty())
            QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        if (how == u"placeholder")
            Checks::writeBytes(path, GameFiles::placeholderMarker() + " cr/7");
        else if (how == u"empty")
            Checks::writeBytes(path, {});
        else if (how.startsWith(u"link "))
            QVERIFY(QFile::link(QDir(s.mod()).filePath(how.mid(5)), path));
        else if (how == u"folder")
            Checks::plant(how, path);
        const QString source = format.isEmpty() ? s.mod() : s.pack(format, {}, extra);
        const auto before = s.consFiles();
        const ProgramRun run = s.import({source});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, refusal(reason.arg(QDir::toNativeSeparators(source))));
        QCOMPARE(s.consFiles(), before);
        QVERIFY(!QFileInfo::exists(QDir(s.folder.path()).filePath(u"../escaped"_s)));
    }

    // Only an import the running program started itself goes ahead.
    void theCommandLineAndTheRunningProgram_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("arguments"); // MOD, SELF: the mod folder, this process
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QString waits = u"grimtide-switch: Grimtide Switch is running in this folder; "
                              "import the archives from its window, or close it first.\n"_s;
        QTest::newRow("started by hand") << true << QStringList{u"MOD"_s} << 2 << waits;
        QTest::newRow("claiming another starter")
            << true << QStringList{u"--started-by"_s, u"1"_s, u"MOD"_s} << 2 << waits;
        QTest::newRow("started by the running program")
            << true << QStringList{u"--started-by"_s, u"SELF"_s, u"MOD"_s} << 0 << QString();
        QTest::newRow("no path") << false << QStringList() << 2
                                 << u"grimtide-switch: --import-archives takes one PATH.\n"_s;
        QTest::newRow("an unknown option") << false << QStringList{u"--bogus"_s, u"a"_s} << 2
                                           << u"grimtide-switch: Unknown option 'bogus'.\n"_s;
    }

    void theCommandLineAndTheRunningProgram()
    {
        QFETCH(bool, running);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, err);
        ImportFixture s;
        InstanceLock lock;
        if (running)
            QCOMPARE(lock.take(s.folder.file(u"gtdb.inf.lock"_s)), InstanceLock::Outcome::Held);
        arguments.replaceInStrings(u"MOD"_s, s.mod())
            .replaceInStrings(u"SELF"_s, QString::number(QCoreApplication::applicationPid()));
        const auto before = s.consFiles();
        const ProgramRun run = s.import(arguments);
        QCOMPARE(run.status, status);
        QCOMPARE(run.err, err);
        QCOMPARE(s.consFiles() == before, status != 0);
    }

    void aFailedImportSaysWhy()
    {
        ImportFixture s;
        Checks::writeBytes(QDir(s.mod()).filePath(u"rt/3/game.rfa"_s),
                           GameFiles::placeholderMarker());
        const auto before = s.consFiles();
        RecordingSink sink;
        QVERIFY(
            !ArchiveImport(sink, nullptr, u"" GRIMTIDE_IMPORT_PROGRAM ""_s).importFrom(s.mod()));
        QVERIFY(
            !ArchiveImport(sink, nullptr, s.folder.file(u"no-such-program"_s)).importFrom(s.mod()));
        QCOMPARE(sink.messages.size(), 2);
        QCOMPARE(sink.messages.constFirst(),
                 u"Nothing was imported: rt/3/game.rfa in %1 is only a placeholder, not the mod's "
                 "real archive."_s.arg(QDir::toNativeSeparators(s.mod())));
        QVERIFY2(sink.messages.constLast().startsWith(
                     u"The import program %1 could not be started: "_s.arg(
                         QDir::toNativeSeparators(s.folder.file(u"no-such-program"_s)))),
                 qPrintable(sink.messages.constLast()));
        QCOMPARE(s.consFiles(), before);
    }

    void theImportAsksWhereTheArchivesAre_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("a folder") << u"&Folder…"_s;
        QTest::newRow("a zip file") << u"&Zip or 7z file…"_s;
        QTest::newRow("cancelled") << u"Cancel"_s;
    }

    void theImportAsksWhereTheArchivesAre()
    {
        QFETCH(QString, answer);
        ImportFixture s;
        const QString zip = s.pack(u"zip"_s, u"cons/"_s);
        RecordingSink sink;
        whenShown<QMessageBox>([&](QMessageBox& question) {
            if (answer != u"Cancel")
                whenShown<QFileDialog>([&](QFileDialog& files) {
                    // Refused, the dialog is closed: a failure, never a hang.
                    const auto closed = qScopeGuard([&files] {
                        if (files.isVisible())
                            files.reject();
                    });
                    if (answer == u"&Folder…")
                        files.setDirectory(s.mod());
                    else // typed, as the player would, into the dialog's name field
                        files.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(zip);
                    QCOMPARE(files.selectedFiles(),
                             QStringList{answer == u"&Folder…" ? s.mod() : zip});
                    static_cast<QDialog&>(files).accept(); // the dialog's own Open
                });
            for (QAbstractButton* button : question.buttons())
                if (button->text() == answer)
                    button->click();
        });
        const bool imported = ArchiveImport(sink, nullptr, u"" GRIMTIDE_IMPORT_PROGRAM ""_s).run();
        QCOMPARE(imported, answer != u"Cancel");
        QCOMPARE(sink.messages, answer == u"Cancel"
                                    ? QStringList()
                                    : QStringList{u"23 archives imported into %1."_s.arg(
                                        QDir::toNativeSeparators(s.cons()))});
        // The file dialog's last folder is kept in the working folder, never in the home.
        QCOMPARE(QFileInfo::exists(s.folder.file(u"QtProject.conf"_s)), answer != u"Cancel");
    }
};

QTEST_MAIN(TestArchiveImport)
#include "test_archiveimport.moc"
