// "grimtide-switch-import PATH": brings the mod's real archives from PATH
// into the working folder's "cons", all or nothing, with one line for each
// archive checked and a closing count on standard output. The program's
// "--import-archives" and its "Import…" button start it, so that only an
// import loads the library that reads .zip and .7z files.

#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "core/platform/InstanceLock.h"
#include "core/platform/NativeProcess.h"
#include "core/platform/SingleInstance.h"
#include "import/ArchiveImporter.h"
#include "import/ImportRefusal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int refused = 2; // a bad command line, or the program runs in the folder

void say(std::FILE* stream, const QString& line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The one line a terminal shows for a refusal, named after the command the
// player typed.
int fail(int status, const QString& line)
{
    say(stderr, QStringLiteral("grimtide-switch: ") + line);
    return status;
}

// The running program that holds the folder's lock may start an import
// itself: it waits for it behind a modal dialog and touches nothing meanwhile.
bool startedByTheRunningProgram(const QCommandLineParser& parser)
{
    bool isNumber = false;
    const qint64 starter = parser.value(QStringLiteral("started-by")).toLongLong(&isNumber);
    return isNumber && starter == NativeProcess::parentId();
}

} // namespace

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("grimtide-switch-import"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Copies the mod's real archives from PATH into cons/ of the working "
                       "directory, all or nothing."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("started-by"),
                      QStringLiteral("The running Grimtide Switch that started the import."),
                      QStringLiteral("PID")});
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("A folder laid out as cr/1..20/menu.rfa and rt/1..3/game.rfa, or a "
                       ".zip or .7z of one."));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(refused, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        say(stdout, parser.helpText().trimmed());
        return EXIT_SUCCESS;
    }
    if (parser.positionalArguments().size() != 1)
        return fail(refused, QStringLiteral("--import-archives takes one PATH."));

    // Held for the whole import, so that the program does not start on half
    // of it.
    const QString working = QDir::currentPath();
    InstanceLock lock;
    if (SingleInstance::lockFolder(lock, working) == InstanceLock::Outcome::HeldByAnother
        && !startedByTheRunningProgram(parser))
        return fail(refused, QStringLiteral("Grimtide Switch is running in this folder; import "
                                            "the archives from its window, or close it first."));
    const ArchiveImporter importer(working);
    try {
        importer.importFrom(parser.positionalArguments().constFirst(), [](const QString& archive,
                                                                          int number, int total) {
            say(stdout,
                QStringLiteral("%1: checked (%2 of %3)").arg(archive).arg(number).arg(total));
        });
    } catch (const ImportRefusal& refusal) {
        return fail(EXIT_FAILURE, QStringLiteral("Nothing was imported: ") + refusal.reason());
    } catch (const Failure& failure) {
        return fail(EXIT_FAILURE,
                    QStringLiteral("Nothing was imported: %1").arg(FailureText::sentence(failure)));
    }
    say(stdout, QStringLiteral("%1 archives imported into %2.")
                    .arg(ArchiveImporter::archiveNames().size())
                    .arg(QDir::toNativeSeparators(importer.consFolder())));
    return EXIT_SUCCESS;
}
