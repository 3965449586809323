#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

const QString base = QStringLiteral("game/mods/bf1942/init.con");
const QString first = QStringLiteral("game/mods/xpack1/init.con");
const QString second = QStringLiteral("game/mods/xpack2/init.con");

struct Started {
    std::unique_ptr<TestFolder> folder = std::make_unique<TestFolder>();
    std::unique_ptr<TestProgram> program;

    Started(const QString& status, const QString& rtr, const QString& sw)
    {
        TestFolder::Row row = folder->gameRow();
        row.status = status;
        row.rtr = rtr;
        row.sw = sw;
        folder->writeSettings(row);
        program = std::make_unique<TestProgram>(*folder);
        program->start();
    }
    Form2& main() { return program->main(); }
    QString game(const QString& file) const { return folder->readFile(file); }
    QString cons(const QString& file) const { return folder->readFile(QStringLiteral("cons/") + file); }
};

} // namespace

class TestModeSwitch : public QObject {
    Q_OBJECT
private slots:
    void switchesCopyTheModeFilesOfThePacksMarkedYes_data()
    {
        QTest::addColumn<QString>("rtr");
        QTest::addColumn<QString>("sw");
        QTest::newRow("no packs") << QStringLiteral("no") << QStringLiteral("no");
        QTest::newRow("RTR") << QStringLiteral("yes") << QStringLiteral("no");
        QTest::newRow("SW") << QStringLiteral("no") << QStringLiteral("yes");
        QTest::newRow("both") << QStringLiteral("yes") << QStringLiteral("yes");
    }

    void switchesCopyTheModeFilesOfThePacksMarkedYes()
    {
        QFETCH(QString, rtr);
        QFETCH(QString, sw);
        Started s(QStringLiteral("Pure"), rtr, sw);
        const bool withFirst = rtr == QStringLiteral("yes");
        const bool withSecond = sw == QStringLiteral("yes");

        s.main().Option2->click();
        QStringList expected{QStringLiteral("cons/unbf.con")};
        if (withFirst)
            expected.append(QStringLiteral("cons/unx1.con"));
        if (withSecond)
            expected.append(QStringLiteral("cons/unx2.con"));
        QCOMPARE(s.program->copier.sources, expected);
        QCOMPARE(s.game(base), s.cons(QStringLiteral("unbf.con")));
        QCOMPARE(s.game(first), withFirst ? s.cons(QStringLiteral("unx1.con")) : QString());
        QCOMPARE(s.game(second), withSecond ? s.cons(QStringLiteral("unx2.con")) : QString());
        QCOMPARE(s.main().Label4->text(), QStringLiteral("Grimtide"));
        QVERIFY(s.main().Option2->isChecked());
        QVERIFY(!s.main().Option1->isChecked());
        QVERIFY(s.main().mpoppure->isVisible());
        QVERIFY(!s.main().mpopunpure->isVisible());
        QCOMPARE(s.folder->storedRows(), QList<SettingsRecord>{s.program->module.state.settings});
        QCOMPARE(s.folder->storedRows().value(0).status, QStringLiteral("Grimtide"));

        s.main().mpoppure->trigger();
        QCOMPARE(s.game(base), s.cons(QStringLiteral("purebf.con")));
        QCOMPARE(s.game(first), withFirst ? s.cons(QStringLiteral("purex1.con")) : QString());
        QCOMPARE(s.game(second), withSecond ? s.cons(QStringLiteral("purex2.con")) : QString());
        QVERIFY(s.main().Option1->isChecked());
        QVERIFY(s.main().mpopunpure->isVisible());
        QCOMPARE(s.folder->storedRows().value(0).status, QStringLiteral("Pure"));
        QVERIFY(s.program->sink.messages.isEmpty());
    }

    void aClickOnACaptionClicksItsBox()
    {
        Started s(QStringLiteral("Pure"), QStringLiteral("no"), QStringLiteral("no"));
        QTest::mouseClick(s.main().Label6, Qt::LeftButton);
        QCOMPARE(s.program->module.state.settings.status, QStringLiteral("Grimtide"));
        QVERIFY(s.main().Option2->isChecked());
        QTest::mouseClick(s.main().Label2, Qt::LeftButton);
        QVERIFY(s.main().Check1->isChecked());
        QCOMPARE(s.folder->storedRows().value(0).rtr, QStringLiteral("yes"));
    }

    void onlyLowerCaseYesTakesPart()
    {
        Started s(QStringLiteral("Grimtide"), QStringLiteral("no"), QStringLiteral("no"));
        s.program->module.state.settings.rtr = QStringLiteral("Yes");
        s.main().Option1->click();
        QCOMPARE(s.program->copier.sources, QStringList{QStringLiteral("cons/purebf.con")});
    }

    void alreadyInTheModeCopiesNothingButSaves()
    {
        Started s(QStringLiteral("Pure"), QStringLiteral("no"), QStringLiteral("no"));
        s.program->module.state.settings.cr = QStringLiteral("4");
        s.program->module.msetp();
        QCOMPARE(s.program->sink.messages, QStringList{QStringLiteral("you are already in pure mode")});
        s.program->module.state.settings.status = QStringLiteral("Grimtide");
        s.program->module.msetu(); // silent
        QCOMPARE(s.program->sink.messages.size(), 1);
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.folder->storedRows().value(0).cr, QStringLiteral("4"));
        QVERIFY(s.main().Option2->isChecked());
    }

    void aFailedSwitchKeepsTheOldModeAndCanBeTriedAgain()
    {
        Started s(QStringLiteral("Pure"), QStringLiteral("yes"), QStringLiteral("yes"));
        const QString xpack2 = s.folder->game() + QStringLiteral("/mods/xpack2");
        QDir(xpack2).removeRecursively();
        s.main().Option2->click();
        QCOMPARE(s.program->sink.messages, QStringList{QStringLiteral("Please check your options")});
        QCOMPARE(s.game(base), s.cons(QStringLiteral("unbf.con")));
        QCOMPARE(s.game(first), s.cons(QStringLiteral("unx1.con")));
        // Everything still shows the mode the switch did not reach, the
        // option button the player clicked included.
        QCOMPARE(s.program->module.state.settings.status, QStringLiteral("Pure"));
        QCOMPARE(s.main().Label4->text(), QStringLiteral("Pure"));
        QVERIFY(s.main().Option1->isChecked());
        QVERIFY(!s.main().Option2->isChecked());
        QVERIFY(s.main().mpopunpure->isVisible());
        QCOMPARE(s.folder->storedRows().value(0).status, QStringLiteral("Pure"));
        // Once the folder is there, the same command runs the whole switch.
        QVERIFY(QDir().mkpath(xpack2));
        s.program->copier.sources.clear();
        s.main().mpopunpure->trigger();
        QCOMPARE(s.program->copier.sources.size(), 3);
        QCOMPARE(s.game(second), s.cons(QStringLiteral("unx2.con")));
        QVERIFY(s.main().Option2->isChecked());
        QCOMPARE(s.folder->storedRows().value(0).status, QStringLiteral("Grimtide"));
    }

    void otherFailuresGetTheReportWithTheirNumber()
    {
        Started s(QStringLiteral("Grimtide"), QStringLiteral("no"), QStringLiteral("no"));
        QFile::remove(s.folder->file(QStringLiteral("cons/purebf.con")));
        s.main().Option1->click();
        QCOMPARE(s.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("msetp"), FailureNumber::FileNotFound)});
        QCOMPARE(s.game(base), QString());
        QCOMPARE(s.program->module.state.settings.status, QStringLiteral("Grimtide"));

        Started t(QStringLiteral("Pure"), QStringLiteral("no"), QStringLiteral("no"));
        const QString target = t.folder->file(base);
        QFile::copy(t.folder->file(QStringLiteral("cons/purebf.con")), target);
        QFile::setPermissions(target, QFileDevice::ReadOwner);
        t.main().Option2->click();
        QCOMPARE(t.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("msetu"), FailureNumber::PermissionDenied)});
        QCOMPARE(t.game(base), t.cons(QStringLiteral("purebf.con")));
    }

    void whileLoadingNothingSwitchesOrSaves()
    {
        Started s(QStringLiteral("Pure"), QStringLiteral("no"), QStringLiteral("no"));
        const QList<SettingsRecord> stored = s.folder->storedRows();
        s.program->module.state.loadingFlag = QStringLiteral("1");
        s.main().Option2->click();
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.program->module.state.settings.status, QStringLiteral("Pure"));
        s.main().Check1->click();
        QCOMPARE(s.program->module.state.settings.rtr, QStringLiteral("yes"));
        QCOMPARE(s.main().Label7->text(), QStringLiteral("yes"));
        QCOMPARE(s.folder->storedRows(), stored);
        s.program->module.state.loadingFlag = QStringLiteral("0");
        s.main().Check1->click(); // unticked, and now saved with the pack "no"
        QCOMPARE(s.folder->storedRows().value(0).rtr, QStringLiteral("no"));
    }

    void aFailedPackSaveIsReportedUnderTheBox()
    {
        Started s(QStringLiteral("Pure"), QStringLiteral("no"), QStringLiteral("no"));
        QFile::remove(s.folder->databaseFile());
        s.program->module.form1Holder().close(); // the next save reopens the file
        s.main().Check2->click();
        QCOMPARE(s.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("check2"), FailureNumber::DatabaseMissing)});
        QCOMPARE(s.program->module.state.settings.sw, QStringLiteral("yes"));
        QVERIFY(!QFile::exists(s.folder->databaseFile()));
    }
};

QTEST_MAIN(TestModeSwitch)
#include "test_modeswitch.moc"
