#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "support/Checks.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QRadioButton>
#include <QTest>

namespace {

struct Started {
    TestFolder folder;
    std::unique_ptr<TestProgram> program;

    explicit Started(const QString& status, const QString& packs = QStringLiteral("no"))
    {
        TestFolder::Row row = folder.gameRow();
        row.status = status;
        row.rtr = row.sw = packs;
        folder.writeSettings(row);
        program = std::make_unique<TestProgram>(folder);
        program->start();
    }
    Form2& main() { return program->main(); }
    SettingsRecord& settings() { return program->module.state.settings; }
    QStringList& messages() { return program->sink.messages; }
    QString stored(QString SettingsRecord::*field) const
    {
        return folder.storedRows().value(0).*field;
    }
    QStringList installed() const
    { // each game's init.con as its cons file; "" for none

        const QDir cons(QStringLiteral(GRIMTIDE_CONS_DIR));
        QHash<QByteArray, QString> names; // by content
        for (const QString& file : cons.entryList({QStringLiteral("*.con")}))
            names.insert(Checks::bytesOf(cons.filePath(file)), file.chopped(4));
        QStringList shown;
        for (const char* pack : {"bf1942", "xpack1", "xpack2"})
            shown << names.value(Checks::bytesOf(
                folder.game() + QStringLiteral("/mods/%1/init.con").arg(QLatin1String(pack))));
        return shown;
    }
    QString shownMode()
    { // the caption, the option set, the menu command offered
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
    void switchesCopyTheModeFilesOfThePacksMarkedYes_data()
    {
        QTest::addColumn<QString>("rtr");
        QTest::addColumn<QString>("sw");
        QTest::addColumn<QStringList>("installed");
        QTest::newRow("RTR") << QStringLiteral("yes") << QStringLiteral("no")
                             << QStringList{QStringLiteral("unbf"), QStringLiteral("unx1"), {}};
        QTest::newRow("SW; Yes is not yes")
            << QStringLiteral("Yes") << QStringLiteral("yes")
            << QStringList{QStringLiteral("unbf"), {}, QStringLiteral("unx2")};
    }

    void switchesCopyTheModeFilesOfThePacksMarkedYes()
    {
        QFETCH(QString, rtr);
        QFETCH(QString, sw);
        QFETCH(QStringList, installed);
        Started s(QStringLiteral("Pure"));
        s.settings().rtr = rtr; // after the start, which reads any other than "no" as "yes"
        s.settings().sw = sw;
        QTest::mouseClick(s.main().Label6, Qt::LeftButton); // the caption clicks its button
        QStringList sources;
        for (const QString& name : installed)
            if (!name.isEmpty())
                sources << QStringLiteral("cons/%1.con").arg(name);
        QCOMPARE(s.program->copier.sources, sources);
        QCOMPARE(s.installed(), installed);
        QCOMPARE(s.shownMode(), grimtideShown);
        s.settings().cr = QStringLiteral("4");
        s.program->module.msetu(); // already there: nothing copied, nothing said, but saved
        QCOMPARE(s.program->copier.sources, sources);
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("4"));

        s.main().mpoppure->trigger();
        QCOMPARE(s.installed(),
                 installed.replaceInStrings(QStringLiteral("un"), QStringLiteral("pure")));
        QCOMPARE(s.shownMode(), pureShown);
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Pure"));
        QVERIFY(s.messages().isEmpty());
    }

    void aFailedSwitchKeepsTheOldModeAndCanBeTriedAgain()
    {
        Started s(QStringLiteral("Pure"), QStringLiteral("yes"));
        const QStringList all = QStringLiteral("unbf unx1 unx2").split(u' ');
        const QString xpack2 = s.folder.game() + QStringLiteral("/mods/xpack2");
        QDir(xpack2).removeRecursively();
        s.main().Option2->click(); // checked before anything is written: nothing is
        QCOMPARE(s.installed(), QStringList(3, QString()));
        QCOMPARE(s.shownMode(), pureShown);
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Pure"));
        QVERIFY(QDir().mkpath(xpack2));
        s.main().mpopunpure->trigger();
        QCOMPARE(s.installed(), all);
        QCOMPARE(s.shownMode(), grimtideShown);
        QFile::remove(s.folder.file(QStringLiteral("cons/purebf.con"))); // other failures
        s.main().Option1->click();
        s.settings().status = QStringLiteral("Pure");
        QFile::remove(s.folder.file(QStringLiteral("cons/unbf.con")));
        s.program->module.msetu();
        const auto cons = [&](const char* name) { return s.folder.file(QLatin1String(name)); };
        QCOMPARE(
            s.messages(),
            (QStringList{Checks::message(QStringLiteral("Please check your options"),
                                         FailureNumber::PathNotFound, xpack2)
                                 .chopped(1)
                             + QStringLiteral(": untick SW if Secret Weapons is not installed."),
                         Checks::report(QStringLiteral("msetp"), FailureNumber::FileNotFound,
                                        cons("cons/purebf.con")),
                         Checks::report(QStringLiteral("msetu"), FailureNumber::FileNotFound,
                                        cons("cons/unbf.con"))}));
        QCOMPARE(s.installed(), all);
        QCOMPARE(s.stored(&SettingsRecord::status), QStringLiteral("Grimtide"));
    }

    void whileLoadingNothingSwitchesOrSavesAFailedPackSaveIsReported()
    {
        Started s(QStringLiteral("Pure"));
        s.program->module.state.setLoading(true);
        s.main().Option2->click();
        QTest::mouseClick(s.main().Label2, Qt::RightButton); // only a left click clicks
        QVERIFY(!s.main().Check1->isChecked());
        QTest::mouseClick(s.main().Label2, Qt::LeftButton);
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.main().Label7->text(), QStringLiteral("yes"));
        QCOMPARE(s.stored(&SettingsRecord::rtr), QStringLiteral("no"));
        s.program->module.state.setLoading(false);
        s.main().Check2->click();
        QCOMPARE(s.stored(&SettingsRecord::sw), QStringLiteral("yes"));
        QFile::remove(s.folder.databaseFile());
        s.program->module.form1Holder().close(); // the next save reopens the file
        s.main().Check2->click();
        QCOMPARE(s.messages(), QStringList{Checks::report(QStringLiteral("check2"),
                                                          FailureNumber::DatabaseMissing,
                                                          s.folder.databaseFile())});
        QCOMPARE(s.settings().sw, QStringLiteral("no"));
    }
};

QTEST_MAIN(TestModeSwitch)
#include "test_modeswitch.moc"
