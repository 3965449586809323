#include "gui/archives/ArchiveImport.h"

#include "core/common/MessageSink.h"
#include "core/platform/NativeProcess.h"
#include "gui/widgets/MessageBoxSink.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>

#include <cstdio>
#include <cstdlib>

namespace {

const QString title = QStringLiteral("Import the mod's archives");

// What the import program says on standard error is a terminal's line; a box
// has the program's name in its title already.
QString withoutProgramName(const QString& text)
{
    QString plain = text.trimmed();
    plain.replace(QRegularExpression(QStringLiteral("^grimtide-switch: "),
                                     QRegularExpression::MultilineOption),
                  QString());
    return plain;
}

} // namespace

ArchiveImport::ArchiveImport(MessageSink& sink, QWidget* parent, QString program)
    : m_sink(sink), m_parent(parent), m_program(std::move(program))
{
}

QString ArchiveImport::besideThisProgram()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("grimtide-switch-import"));
}

bool ArchiveImport::run()
{
    const QString path = pick();
    return !path.isEmpty() && importFrom(path);
}

QString ArchiveImport::pick() const
{
    QMessageBox question(QMessageBox::NoIcon, title,
                         QStringLiteral("Where are the Grimtide mod's real archives? In a folder "
                                        "laid out as cr/1…20/menu.rfa and rt/1…3/game.rfa (the "
                                        "cons folder of an earlier install), or in a .zip or "
                                        ".7z file of one."),
                         QMessageBox::Cancel, m_parent);
    const QPushButton* folder =
        question.addButton(QStringLiteral("&Folder…"), QMessageBox::AcceptRole);
    const QPushButton* packed =
        question.addButton(QStringLiteral("&Zip or 7z file…"), QMessageBox::AcceptRole);
    question.exec();
    // Qt's file dialog keeps its last folder in the user's QSettings file:
    // in the working folder, the one place beside the game and the runtime
    // folder the program writes to.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::currentPath());
    if (question.clickedButton() == folder)
        return QFileDialog::getExistingDirectory(
            m_parent, QStringLiteral("The folder of the mod's archives"), QDir::homePath());
    if (question.clickedButton() == packed)
        return QFileDialog::getOpenFileName(
            m_parent, QStringLiteral("The .zip or .7z of the mod's archives"), QDir::homePath(),
            QStringLiteral("Zip or 7z files (*.zip *.7z *.ZIP *.7Z)"));
    return {};
}

bool ArchiveImport::importFrom(const QString& path)
{
    static const QRegularExpression checked(
        QStringLiteral("^(.+): checked \\((\\d+) of (\\d+)\\)$"));
    QProgressDialog progress(QStringLiteral("Checking the mod's archives…"),
                             QStringLiteral("Cancel"), 0, 1, m_parent);
    progress.setWindowTitle(title);
    // Wide enough for its title on a window manager's bold title bar.
    progress.setMinimumWidth(3 * progress.fontMetrics().horizontalAdvance(title));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    QProcess import;
    QString closing;
    QObject::connect(&import, &QProcess::readyReadStandardOutput, &progress, [&] {
        while (import.canReadLine()) {
            const QString line = QString::fromLocal8Bit(import.readLine()).trimmed();
            const QRegularExpressionMatch match = checked.match(line);
            if (!match.hasMatch()) {
                closing = line;
                continue;
            }
            // One more step than there are archives: the copy after the checks.
            progress.setMaximum(match.captured(3).toInt() + 1);
            progress.setValue(match.captured(2).toInt());
            progress.setLabelText(match.captured(2) == match.captured(3)
                                      ? QStringLiteral("Copying the archives into cons…")
                                      : QStringLiteral("Checked %1").arg(match.captured(1)));
        }
    });
    QEventLoop waiting;
    QObject::connect(&import, &QProcess::finished, &waiting, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &import, &QProcess::kill);
    import.setWorkingDirectory(QDir::currentPath());
    import.start(m_program, {QStringLiteral("--started-by"),
                             QString::number(QCoreApplication::applicationPid()), path});
    if (!import.waitForStarted()) {
        m_sink.show(QStringLiteral("The import program %1 could not be started: %2.")
                        .arg(QDir::toNativeSeparators(m_program), import.errorString()));
        return false;
    }
    progress.show();
    if (import.state() != QProcess::NotRunning)
        waiting.exec();
    progress.hide();
    const bool imported = import.exitStatus() == QProcess::NormalExit && import.exitCode() == 0;
    if (progress.wasCanceled())
        m_sink.show(QStringLiteral("The import was cancelled. Each archive in cons is whole, "
                                   "old or new; an import run again brings them all in."));
    else if (imported)
        m_sink.show(closing);
    else if (const QString said =
                 withoutProgramName(QString::fromLocal8Bit(import.readAllStandardError()));
             !said.isEmpty())
        m_sink.show(said);
    else
        m_sink.show(QStringLiteral("The import program ended before it was done. Each archive "
                                   "in cons is whole, old or new; an import run again brings "
                                   "them all in."));
    return imported && !progress.wasCanceled();
}

int ArchiveImport::fromCommandLine(int& argc, char* argv[], const QString& path,
                                   const std::function<void()>& configureApplication)
{
    if (!path.isEmpty()) {
        QString program;
        {
            const QCoreApplication locating(argc, argv);
            program = besideThisProgram();
        }
        NativeProcess::replaceWith(program, {path});
        std::fprintf(stderr, "grimtide-switch: cannot start %s\n", qPrintable(program));
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    configureApplication();
    MessageBoxSink boxes;
    return ArchiveImport(boxes, nullptr).run() ? EXIT_SUCCESS : EXIT_FAILURE;
}
