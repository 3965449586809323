#include "gui/app/Program.h"
#include "support/ProgramRun.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    // Refusals are test_commandline's.
    void theVersionIsAnsweredInAnEmptyFolderAndLeavesItEmpty_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("program") << u"" GRIMTIDE_SWITCH_PROGRAM ""_s;
        QTest::newRow("on the PATH") << u"" GRIMTIDE_PATH_COMMAND ""_s;
    }

    void theVersionIsAnsweredInAnEmptyFolderAndLeavesItEmpty()
    {
        QFETCH(QString, program);
        QTemporaryDir folder;
        const ProgramRun run =
            ProgramRun::in(folder.path(), program, {u"--version"_s}, folder.path());
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(u"GPLv3+: GNU GPL version 3 or later"_s), qPrintable(run.out));
        QCOMPARE(run.err, QString());
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
    }

    void theCommandOnThePathStartsTheProgramInThePlayersFolder()
    {
        QTemporaryDir home;
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QString::fromLatin1(name), home.path());
        run.setProcessEnvironment(environment);
        run.start(u"" GRIMTIDE_PATH_COMMAND ""_s, {});
        QVERIFY(run.waitForStarted());
        const QString process = u"/proc/%1/"_s.arg(run.processId());
        QTRY_COMPARE_WITH_TIMEOUT(
            QFileInfo(process + u"exe"_s).canonicalFilePath(),
            QFileInfo(u"" GRIMTIDE_INSTALLED_PROGRAM ""_s).canonicalFilePath(), 30000);
        const QDir own(home.filePath(u"grimtide-switch"_s));
        QCOMPARE(QFileInfo(process + u"cwd"_s).canonicalFilePath(), own.canonicalPath());
        QVERIFY(QFileInfo(own.filePath(u"cons/rt/3/game.rfa"_s)).isFile()); // laid out first
        run.kill();
        run.waitForFinished();
    }

    void theWindowNamesItsDesktopEntry()
    {
        Program::configureApplication();
        QFile entry(u"" GRIMTIDE_DESKTOP_ENTRY ""_s);
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_s, QFileInfo(entry).fileName());
        QVERIFY(QString::fromUtf8(entry.readAll())
                    .contains(u"\nStartupWMClass="_s + QCoreApplication::applicationName()
                              + u'\n')); // the X11 window class
    }
};

QTEST_MAIN(TestProgramFiles)
#include "test_programfiles.moc"
