#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QRadioButton>
#include <QTest>

namespace {

struct Started {
    TestFolder folder;
    std::unique_ptr<TestProgram> program;

    Started(const QString& status, const QString& rtr = QStringLiteral("no"),
            const QString& sw = QStringLiteral("no")) {
        TestFolder::Row row = folder.gameRow();
        row.status = status;
        row.rtr = rtr;
        row.sw = sw;
        folder.writeSettings(row);
        program = std::make_unique<TestProgram>(folder);
        program->start();
    }
    Form2& main() { return program->main(); }
    SettingsRecord& settings() { return program->module.state.settings; }
    QStringList& messages() { return program->sink.messages; }
    QString stored(QString SettingsRecord::*field) const {
        return folder.storedRows().value(0).*field;
    }
    // The cons file each game's init.con holds, base game first; "" for none.
    QStringList installed() const {
        QStringList names;
        for (const char* pack : {"bf1942", "xpack1", "xpack2"}) {
            const QString content =
                folder.readFile(QStringLiteral("game/mods/%1/init.con").arg(QLatin1String(pack)));
            QString name;
            for (const char* file : {"unbf", "unx1", "unx2", "purebf", "purex1", "purex2"})
                if (!content.isEmpty() &&
                    content ==
                        folder.readFile(QStringLiteral("cons/%1.con").arg(QLatin1String(file))))
                    name = QLatin1String(file);
            names << name;
        }
        return names;
    }
    // The mode the window shows: its caption, which option is set, which menu command is offered.
    QString shownMode() {
        return QStringLiteral("%1 %2%3 %4%5")
            .arg(main().Label4->text())
            .arg(main().Option1->isChecked())
            .arg(main().Option2->isChecked())
            .arg(main().mpopunpure->isVisible())
            .arg(main().mpoppure->isVisible());
    }
};

const QString grimtideShown = QStringLiteral("Grimtide 01 01");
const QString pureShown = QStringLiteral("Pure 10 10");

} // namespace

class TestModeSwitch : public QObject {
    Q_OBJECT
private slots:
    void switchesCopyTheModeFilesOfThePacksMarkedYes_data() {
        QTest::addColumn<bool>("withFirst");
        QTest::addColumn<bool>("withSecond");
        QTest::newRow("no packs") << false << false;
        QTest::newRow("RTR") << true << false;
        QTest::newRow("SW") << false << true;
        QTest::newRow("both") << true << true;
    }

    void switchesCopyTheModeFilesOfThePacksMarkedYes() {
        QFETCH(bool, withFirst);
        QFETCH(bool, withSecond);
        const auto yesNo = [](bool yes) {
            return yes ? QStringLiteral("yes") : QStringLiteral("no");
        };
        Started s(QStringLiteral("Pure"), yesNo(withFirst), yesNo(withSecond));
        const auto only = [](bool with, const char* name) {
            return with ? QString::fromLatin1(name) : QString();
        };

        s.main().Option2->click();
        QStringList sources{QStringLiteral("cons/unbf.con")};
        for (const QString& name : {only(withFirst, "unx1"), only(withSecond, "unx2")})
            if (!name.isEmpty())
                sources << QStringLiteral("cons/%1.con").arg(name);
        QCOMPARE(s.program->copier.sources, sources);
        QCOMPARE(s.installed(), (QStringList{QStringLiteral("unbf"), only(withFirst, "unx1"),
                                             only(withSecond, "unx2")}));
        QCOMPARE(s.shownMode(), grimtideShown);
        QCOMPARE(s.folder.storedRows(), QList<SettingsRecord>{s.settings()});
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Grimtide"));

        s.main().mpoppure->trigger();
        QCOMPARE(s.installed(), (QStringList{QStringLiteral("purebf"), only(withFirst, "purex1"),
                                             only(withSecond, "purex2")}));
        QCOMPARE(s.shownMode(), pureShown);
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Pure"));
        QVERIFY(s.messages().isEmpty());
    }

    void aClickOnACaptionClicksItsBox() {
        Started s(QStringLiteral("Pure"));
        QTest::mouseClick(s.main().Label6, Qt::LeftButton);
        QCOMPARE(s.shownMode(), grimtideShown);
        QTest::mouseClick(s.main().Label2, Qt::LeftButton);
        QVERIFY(s.main().Check1->isChecked());
        QCOMPARE(s.stored(&SettingsRecord::rtr), QStringLiteral("yes"));
    }

    void onlyLowerCaseYesTakesPart() {
        Started s(QStringLiteral("Grimtide"));
        s.settings().rtr = QStringLiteral("Yes");
        s.main().Option1->click();
        QCOMPARE(s.program->copier.sources, QStringList{QStringLiteral("cons/purebf.con")});
    }

    void alreadyInTheModeCopiesNothingButSaves() {
        Started s(QStringLiteral("Pure"));
        s.settings().cr = QStringLiteral("4");
        s.program->module.msetp();
        QCOMPARE(s.messages(), QStringList{QStringLiteral("you are already in pure mode")});
        s.settings().status = QStringLiteral("Grimtide");
        s.program->module.msetu(); // silent
        QCOMPARE(s.messages().size(), 1);
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("4"));
        QVERIFY(s.main().Option2->isChecked());
    }

    void aFailedSwitchKeepsTheOldModeAndCanBeTriedAgain() {
        Started s(QStringLiteral("Pure"), QStringLiteral("yes"), QStringLiteral("yes"));
        const QString xpack2 = s.folder.game() + QStringLiteral("/mods/xpack2");
        QDir(xpack2).removeRecursively();
        s.main().Option2->click();
        QCOMPARE(s.messages(), QStringList{QStringLiteral("Please check your options")});
        QCOMPARE(s.installed(),
                 (QStringList{QStringLiteral("unbf"), QStringLiteral("unx1"), QString()}));
        // Everything still shows the mode the switch did not reach, the
        // option button the player clicked included.
        QCOMPARE(s.settings().status, QStringLiteral("Pure"));
        QCOMPARE(s.shownMode(), pureShown);
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Pure"));
        // Once the folder is there, the same command runs the whole switch.
        QVERIFY(QDir().mkpath(xpack2));
        s.main().mpopunpure->trigger();
        QCOMPARE(s.installed(), (QStringList{QStringLiteral("unbf"), QStringLiteral("unx1"),
                                             QStringLiteral("unx2")}));
        QCOMPARE(s.shownMode(), grimtideShown);
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Grimtide"));
    }

    void otherFailuresGetTheReportWithTheirNumber() {
        Started s(QStringLiteral("Grimtide"));
        QFile::remove(s.folder.file(QStringLiteral("cons/purebf.con")));
        s.main().Option1->click();
        QCOMPARE(s.messages(), QStringList{ErrorReport::text(QStringLiteral("msetp"),
                                                             FailureNumber::FileNotFound)});
        QCOMPARE(s.installed(), QStringList(3));
        QCOMPARE(s.settings().status, QStringLiteral("Grimtide"));

        Started t(QStringLiteral("Pure"));
        const QString target = t.folder.file(QStringLiteral("game/mods/bf1942/init.con"));
        QFile::copy(t.folder.file(QStringLiteral("cons/purebf.con")), target);
        QFile::setPermissions(target, QFileDevice::ReadOwner);
        t.main().Option2->click();
        QCOMPARE(t.messages(), QStringList{ErrorReport::text(QStringLiteral("msetu"),
                                                             FailureNumber::PermissionDenied)});
        QCOMPARE(t.installed().value(0), QStringLiteral("purebf"));
    }

    void whileLoadingNothingSwitchesOrSaves() {
        Started s(QStringLiteral("Pure"));
        const QList<SettingsRecord> stored = s.folder.storedRows();
        s.program->module.state.loadingFlag = QStringLiteral("1");
        s.main().Option2->click();
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.settings().status, QStringLiteral("Pure"));
        s.main().Check1->click();
        QCOMPARE(s.settings().rtr, QStringLiteral("yes"));
        QCOMPARE(s.main().Label7->text(), QStringLiteral("yes"));
        QCOMPARE(s.folder.storedRows(), stored);
        s.program->module.state.loadingFlag = QStringLiteral("0");
        s.main().Check1->click(); // unticked, and now saved with the pack "no"
        QCOMPARE(s.stored(&SettingsRecord::rtr), QStringLiteral("no"));
    }

    void aFailedPackSaveIsReportedUnderTheBox() {
        Started s(QStringLiteral("Pure"));
        QFile::remove(s.folder.databaseFile());
        s.program->module.form1Holder().close(); // the next save reopens the file
        s.main().Check2->click();
        QCOMPARE(s.messages(), QStringList{ErrorReport::text(QStringLiteral("check2"),
                                                             FailureNumber::DatabaseMissing)});
        QCOMPARE(s.settings().sw, QStringLiteral("yes"));
        QVERIFY(!QFile::exists(s.folder.databaseFile()));
    }
};

QTEST_MAIN(TestModeSwitch)
#include "test_modeswitch.moc"
