#include "gui/app/Program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString desktopEntryValue(const QString& key)
{
    QFile entry(QStringLiteral(GRIMTIDE_DESKTOP_ENTRY));
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString prefix = key + QLatin1Char('=');
    for (const QString& line : QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

} // namespace

// The built programs as a terminal user meets them, and the desktop entry
// that starts them.
class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    void argumentsAreAnsweredInAnEmptyFolderAndLeaveItEmpty_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        const QString gui = QStringLiteral(GRIMTIDE_SWITCH_PROGRAM);
        const QString launcher = QStringLiteral(GRIMTIDE_LAUNCHER_PROGRAM);
        for (const QString& program : {gui, launcher}) {
            const QByteArray name = QFileInfo(program).fileName().toUtf8();
            QTest::newRow(name + " --version")
                << program << QStringLiteral("--version") << 0
                << QStringLiteral("GPLv3+: GNU GPL version 3 or later");
            QTest::newRow(name + " --help") << program << QStringLiteral("--help") << 0
                                            << QStringLiteral("--version");
            QTest::newRow(name + " -h") << program << QStringLiteral("-h") << 0
                                        << QStringLiteral("--help");
            QTest::newRow(name + " unknown option")
                << program << QStringLiteral("--platform") << 2 << QString();
            QTest::newRow(name + " argument") << program << QStringLiteral("gtdb.inf") << 2
                                              << QString();
        }
    }

    void argumentsAreAnsweredInAnEmptyFolderAndLeaveItEmpty()
    {
        QFETCH(QString, program);
        QFETCH(QString, argument);
        QFETCH(int, status);
        QFETCH(QString, output);
        QTemporaryDir folder;
        QProcess run;
        run.setWorkingDirectory(folder.path());
        // No display at all: a window opened by mistake ends the program.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), folder.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
        run.setProcessEnvironment(environment);
        run.start(program, {argument});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), status);
        const QString out = QString::fromLocal8Bit(run.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(run.readAllStandardError());
        if (status == 0) {
            QVERIFY2(out.contains(output), qPrintable(out));
            QVERIFY2(err.isEmpty(), qPrintable(err));
        } else {
            QVERIFY(out.isEmpty());
            QCOMPARE(err.count(QLatin1Char('\n')), 1);
            QVERIFY2(err.contains(argument.mid(argument.lastIndexOf(QLatin1Char('-')) + 1)),
                     qPrintable(err));
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void theWindowNamesItsDesktopEntry()
    {
        Program::configureApplication();
        QCOMPARE(QGuiApplication::desktopFileName() + QStringLiteral(".desktop"),
                 QFileInfo(QStringLiteral(GRIMTIDE_DESKTOP_ENTRY)).fileName());
        // X11 window managers match the window class, which Qt takes from
        // the application name.
        QCOMPARE(desktopEntryValue(QStringLiteral("StartupWMClass")),
                 QCoreApplication::applicationName());
    }
};

QTEST_MAIN(TestProgramFiles)
#include "test_programfiles.moc"
