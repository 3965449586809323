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
    // Refusals, and the command on the PATH handing its arguments on, are test_commandline's.
    void theVersionIsAnsweredInAnEmptyFolderAndLeavesItEmpty()
    {
        QTemporaryDir folder;
        const ProgramRun run = ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s,
                                              {u"--version"_s}, folder.path());
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains(u"GPLv3+: GNU GPL version 3 or later"_s), qPrintable(run.out));
        QCOMPARE(run.err, QString());
        QVERIFY(
            QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
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
