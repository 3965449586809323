#include "core/gamefiles/GameFiles.h"
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

class TestImportDialog : public QObject {
    Q_OBJECT
private slots:
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

QTEST_MAIN(TestImportDialog)
#include "test_importdialog.moc"
