#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The caption, the option set, the menu command offered.
QString shownMode(Form2& main)
{
    return u"%1 %2%3 %4%5"_s.arg(main.Label4->text())
        .arg(main.Option1->isChecked())
        .arg(main.Option2->isChecked())
        .arg(main.mpopunpure->isVisible())
        .arg(main.mpoppure->isVisible());
}

const QString grimtideShown = u"Grimtide 01 01"_s;
const QString pureShown = u"Pure 10 10"_s;

} // namespace

class TestModeSwitch : public QObject {
    Q_OBJECT
private slots:
    void switchesCopyTheModeFilesOfThePacksMarkedYes_data()
    {
        QTest::addColumn<QString>("rtr");
        QTest::addColumn<QString>("sw");
        QTest::addColumn<QStringList>("installed");
        QTest::newRow("RTR") << u"yes"_s << u"no"_s << QStringList{u"unbf"_s, u"unx1"_s, {}};
        QTest::newRow("SW; Yes is not yes")
            << u"Yes"_s << u"yes"_s << QStringList{u"unbf"_s, {}, u"unx2"_s};
    }

    void switchesCopyTheModeFilesOfThePacksMarkedYes()
    {
        QFETCH(QString, rtr);
        QFETCH(QString, sw);
        QFETCH(QStringList, installed);
        TestProgram s;
        s.settings().rtr = rtr; // after the start, which reads any other than "no" as "yes"
        s.settings().sw = sw;
        QTest::mouseClick(s.main().Label6, Qt::LeftButton); // the caption clicks its button
        QStringList sources;
        for (const QString& name : installed)
            if (!name.isEmpty())
                sources << u"cons/%1.con"_s.arg(name);
        QCOMPARE(s.copier.sources, sources);
        QCOMPARE(Checks::installedModes(s.folder.game()), installed);
        s.settings().cr = u"4"_s;
        s.module.msetu(); // already there: nothing copied, nothing said, but saved
        QCOMPARE(s.copier.sources, sources);
        QCOMPARE(s.stored(&SettingsRecord::cr), u"4"_s);

        s.main().mpoppure->trigger();
        QCOMPARE(Checks::installedModes(s.folder.game()),
                 installed.replaceInStrings(u"un"_s, u"pure"_s));
        QCOMPARE(shownMode(s.main()), pureShown);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        QVERIFY(s.messages().isEmpty());
    }

    void aFailedSwitchKeepsTheOldModeAndCanBeTriedAgain()
    {
        TestProgram s({.rtr = u"yes"_s, .sw = u"yes"_s});
        const QStringList all{u"unbf"_s, u"unx1"_s, u"unx2"_s};
        const QString xpack2 = s.mods(u"xpack2"_s);
        QDir(xpack2).removeRecursively();
        s.main().Option2->click(); // checked before anything is written: nothing is
        QCOMPARE(Checks::installedModes(s.folder.game()), QStringList(3, QString()));
        QCOMPARE(shownMode(s.main()), pureShown);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        QVERIFY(QDir().mkpath(xpack2));
        s.main().mpopunpure->trigger();
        QCOMPARE(Checks::installedModes(s.folder.game()), all);
        QCOMPARE(shownMode(s.main()), grimtideShown);
        QFile::remove(s.folder.file(u"cons/purebf.con"_s)); // other failures
        s.main().Option1->click();
        s.settings().status = u"Pure"_s;
        QFile::remove(s.folder.file(u"cons/unbf.con"_s));
        s.module.msetu();
        QCOMPARE(s.messages(),
                 (QStringList{Checks::message(u"Please check your options"_s,
                                              FailureNumber::PathNotFound, xpack2)
                                      .chopped(1)
                                  + u": untick SW if Secret Weapons is not installed."_s,
                              Checks::report(u"msetp"_s, FailureNumber::FileNotFound,
                                             s.folder.file(u"cons/purebf.con"_s)),
                              Checks::report(u"msetu"_s, FailureNumber::FileNotFound,
                                             s.folder.file(u"cons/unbf.con"_s))}));
        QCOMPARE(Checks::installedModes(s.folder.game()), all);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Grimtide"_s);
    }

    void whileLoadingNothingSwitchesOrSavesAFailedPackSaveIsReported()
    {
        TestProgram s;
        s.module.state.setLoading(true);
        s.main().Option2->click();
        QTest::mouseClick(s.main().Label2, Qt::RightButton); // only a left click clicks
        QVERIFY(!s.main().Check1->isChecked());
        QTest::mouseClick(s.main().Label2, Qt::LeftButton);
        QVERIFY(s.copier.sources.isEmpty());
        QCOMPARE(s.main().Label7->text(), u"yes"_s);
        QCOMPARE(s.stored(&SettingsRecord::rtr), u"no"_s);
        s.module.state.setLoading(false);
        s.main().Check2->click();
        QCOMPARE(s.stored(&SettingsRecord::sw), u"yes"_s);
        QFile::remove(s.folder.databaseFile());
        s.module.form1Holder().close(); // the next save reopens the file
        s.main().Check2->click();
        QCOMPARE(s.messages(),
                 QStringList{Checks::report(u"check2"_s, FailureNumber::DatabaseMissing,
                                            s.folder.databaseFile())});
        QCOMPARE(s.settings().sw, u"no"_s);
    }
};

QTEST_MAIN(TestModeSwitch)
#include "test_modeswitch.moc"
