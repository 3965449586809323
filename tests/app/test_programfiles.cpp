#include "gui/app/Program.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    void argumentsAreAnsweredInAnEmptyFolderAndLeaveItEmpty_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>(
            "output"); // on stdout, or else the one line on stderr with status 2
        for (const char* program : {GRIMTIDE_SWITCH_PROGRAM, GRIMTIDE_PATH_COMMAND})
            for (const auto& [argument, output] :
                 {std::pair{"--version", "GPLv3+: GNU GPL version 3 or later"},
                  {"--help", "--version"},
                  {"--platform", ""},
                  {"gtdb.inf", ""}})
                QTest::addRow("%s %s", program, argument)
                    << QString::fromUtf8(program) << QString::fromLatin1(argument)
                    << QString::fromLatin1(output);
    }

    void argumentsAreAnsweredInAnEmptyFolderAndLeaveItEmpty()
    {
        QFETCH(QString, program);
        QFETCH(QString, argument);
        QFETCH(QString, output);
        QTemporaryDir folder;
        QProcess run;
        run.setWorkingDirectory(folder.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) // a window opened by mistake fails
            environment.remove(QString::fromLatin1(name));
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            environment.insert(QString::fromLatin1(name), folder.path());
        run.setProcessEnvironment(environment);
        run.start(program, {argument});
        QVERIFY(run.waitForFinished(30000));
        QVERIFY(run.exitStatus() == QProcess::NormalExit
                && run.exitCode() == (output.isEmpty() ? 2 : 0));
        // Success speaks on stdout only; a refusal names the argument on one line of stderr.
        const QString out = QString::fromLocal8Bit(run.readAllStandardOutput()),
                      err = QString::fromLocal8Bit(run.readAllStandardError());
        QVERIFY2(output.isEmpty()
                     ? out.isEmpty() && err.count(u'\n') == 1
                           && err.contains(argument.mid(argument.lastIndexOf(u'-') + 1))
                     : out.contains(output) && err.isEmpty(),
                 qPrintable(out + err));
        // Nothing is laid out, and no player's folder is made for an answer or a refusal.
        const auto entries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        QCOMPARE(QDir(folder.path()).entryList(entries), QStringList());
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
