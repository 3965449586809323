#include "gui/app/Form2.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "gui/installdir/Form4.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestForm4 : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        folder = std::make_unique<TestFolder>();
        folder->writeSettings(folder->gameRow());
        program = std::make_unique<TestProgram>(*folder);
        program->start();
        program->main().msetup->trigger();
    }

    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void setupOpensBesideTheMainWindowAtTheWorkingFolder()
    {
        Form4& chooser = program->module.form4();
        QVERIFY(chooser.isVisible());
        QVERIFY(program->main().isVisible());
        QVERIFY(chooser.Command2->isVisible());
        QCOMPARE(chooser.Dir1->path(), QDir::toNativeSeparators(folder->path()));
        QCOMPARE(chooser.Label1->text(), QStringLiteral("Please choose your Battlefield 1942 directory"));
    }

    void browsingThenCancelChangesNothing()
    {
        Form4& chooser = program->module.form4();
        const SettingsRecord before = program->module.state.settings;
        const QString modsBefore = program->module.state.modsPath();
        const QString other = folder->file(QStringLiteral("Other Game – Ü"));
        QDir().mkpath(other);
        chooser.Dir1->setPath(other);
        QCOMPARE(chooser.Label1->text(), QDir::toNativeSeparators(other));
        chooser.Command2->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(program->module.state.settings, before);
        QCOMPARE(program->module.state.modsPath(), modsBefore);

        program->main().msetup->trigger();
        chooser.Dir1->setPath(other);
        chooser.close(); // the close box after start-up: no message, nothing kept
        QCOMPARE(program->ends, 0);
        QVERIFY(program->sink.messages.isEmpty());
        QCOMPARE(program->module.state.settings, before);
        program->main().msetup->trigger();
        QCOMPARE(program->module.form4().Dir1->path(), QDir::toNativeSeparators(folder->path()));
    }

    void okStoresTheFolderDerivesTheModsPathAndSaves()
    {
        Form4& chooser = program->module.form4();
        const QString other = folder->file(QStringLiteral("Battlefield 1942"));
        QDir().mkpath(other);
        chooser.Dir1->setPath(other);
        chooser.Command1->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(program->module.state.settings.path, QDir::toNativeSeparators(other));
        QCOMPARE(program->module.state.modsPath(),
                 QDir::toNativeSeparators(other) + QDir::separator() + QStringLiteral("mods") + QDir::separator());
        QCOMPARE(folder->storedRows().value(0).path, QDir::toNativeSeparators(other));

        program->main().msetup->trigger();
        chooser.Dir1->setPath(QDir::rootPath());
        chooser.Command1->click();
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(program->module.state.settings.path, root);
        QCOMPARE(program->module.state.modsPath(), root + QDir::separator() + QStringLiteral("mods") + QDir::separator());
    }

    void aWinePrefixIsPickedLikeAnyDrive()
    {
        const QString driveC = folder->file(QStringLiteral("home/.wine/drive_c"));
        const QString game = driveC + QStringLiteral("/Games/Battlefield 1942");
        QVERIFY(QDir().mkpath(game));
        qputenv("HOME", QFile::encodeName(folder->file(QStringLiteral("home"))));
        Form4& chooser = program->module.form4();
        chooser.Drive1->setDrives(DriveList::machineDrives());
        QTest::keyClick(chooser.Drive1, Qt::Key_End);
        QCOMPARE(chooser.Drive1->currentText(), QStringLiteral("C: (~/.wine)"));
        QCOMPARE(chooser.Dir1->path(), QDir::toNativeSeparators(driveC));
        chooser.Dir1->setPath(game);
        chooser.Command1->click();
        QCOMPARE(folder->storedRows().value(0).path, QDir::toNativeSeparators(game));
    }

private:
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<TestProgram> program;
};

QTEST_MAIN(TestForm4)
#include "test_form4.moc"
