#include "gui/app/Program.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The built programs as a terminal user meets them, and the desktop entry
// that starts them.
class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    void argumentsAreAnsweredInAnEmptyFolderAndLeaveItEmpty_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("output"); // on stdout, or else the one line on stderr with status 2
        for (const char* program : {GRIMTIDE_SWITCH_PROGRAM, GRIMTIDE_LAUNCHER_PROGRAM}) {
            const auto row = [program](const char* argument, const char* output) {
                QTest::addRow("%s %s", program, argument)
                    << QString::fromUtf8(program) << QString::fromLatin1(argument) << QString::fromLatin1(output);
            };
            row("--version", "GPLv3+: GNU GPL version 3 or later");
            row("--help", "--version");
            row("-h", "--help");
            row("--platform", "");
            row("gtdb.inf", "");
        }
    }

    void argumentsAreAnsweredInAnEmptyFolderAndLeaveItEmpty()
    {
        QFETCH(QString, program);
        QFETCH(QString, argument);
        QFETCH(QString, output);
        QTemporaryDir folder;
        QProcess run;
        run.setWorkingDirectory(folder.path());
        // No display at all: a window opened by mistake ends the program.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            environment.insert(QString::fromLatin1(name), folder.path());
        run.setProcessEnvironment(environment);
        run.start(program, {argument});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), output.isEmpty() ? 2 : 0);
        const QString out = QString::fromLocal8Bit(run.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(run.readAllStandardError());
        if (output.isEmpty()) {
            QVERIFY(out.isEmpty());
            QCOMPARE(err.count(QLatin1Char('\n')), 1);
            QVERIFY2(err.contains(argument.mid(argument.lastIndexOf(QLatin1Char('-')) + 1)), qPrintable(err));
        } else {
            QVERIFY2(out.contains(output), qPrintable(out));
            QVERIFY2(err.isEmpty(), qPrintable(err));
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    void theWindowNamesItsDesktopEntry()
    {
        Program::configureApplication();
        QFile entry(QStringLiteral(GRIMTIDE_DESKTOP_ENTRY));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(entry.readAll());
        QCOMPARE(QGuiApplication::desktopFileName() + QStringLiteral(".desktop"), QFileInfo(entry).fileName());
        // X11 window managers match the window class, which Qt takes from
        // the application name.
        QVERIFY2(text.contains(QStringLiteral("\nStartupWMClass=") + QCoreApplication::applicationName() + QLatin1Char('\n')),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestProgramFiles)
#include "test_programfiles.moc"
