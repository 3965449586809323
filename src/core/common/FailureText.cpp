#include "core/common/FailureText.h"

#include "core/common/Failure.h"

namespace {

struct Entry {
    int number;
    const char* sentence;     // %1 is the place
    const char* placeUnnamed; // stands for %1 where the failure names no place
    const char* headline = nullptr;
};

using namespace FailureNumber;
constexpr Entry table[] = {
    {TypeMismatch, "%1 holds a text where a number belongs",
     "A crosshair or reticle setting in gtdb.inf"},
    {FileNotFound, "The file %1 is missing", "that was to be copied"},
    {DeviceIo, "Reading or writing %1 failed: the disk or device reported an error", "a file"},
    {DiskFull, "The disk holding %1 is full", "the file"},
    {PermissionDenied, "%1 may not be changed: it is write-protected, read-only or in use",
     "A file"},
    {DriveNotReady, "The drive of %1 is not ready", "that folder"},
    {WrongKind, "%1 is not a plain file: a folder, a pipe or a device stands in its place",
     "A file the program needs"},
    {PathNotFound, "The folder %1 does not exist", "on the copy's path"},
    {NoItemChosen, "A crosshair and a reticle must both be chosen in the lists", ""},
    {NoValue, "A setting in %1 holds no value", "gtdb.inf"},
    {NoCurrentRecord, "The table \"Options\" in %1 holds no row", "gtdb.inf"},
    {DatabaseMissing, "The settings file %1 does not exist", "gtdb.inf"},
    {TableMissing, "%1 has no table \"Options\"", "gtdb.inf"},
    {DatabaseLocked, "%1 is locked by another program", "gtdb.inf"},
    {FieldMissing, "The table \"Options\" in %1 lacks one of its seven fields", "gtdb.inf"},
    {NotADatabase, "%1 is not a settings database this program can read", "gtdb.inf"},
    {GameRunning, "Nothing was written to the game; it runs as %1", "a process",
     "Battlefield 1942 is running: please close it first."},
    {PlaceholderArchive, "Nothing was written; put the Grimtide mod's real archives into %1",
     "the numbered folders of cons", "Only a placeholder archive: the game holds the real one."},
    {UpdateWaitsForGame,
     "Nothing was written to the game, which runs as %1; the update of its files that was cut "
     "short will be finished at the next start or switch once the game has ended",
     "a process", "Battlefield 1942 is running: please close it first."},
    {JournalRefused, "It was refused at %1", "game-files.journal",
     "The record of an interrupted update was refused and moved aside to "
     "game-files.journal.rejected; nothing was done by it."},
    {KeptFileRefused, "It was refused at %1", "kept-game-files",
     "The game's own files kept by this program are not as it kept them; nothing was written."},
};

const Entry* entryFor(int number)
{
    for (const Entry& entry : table) {
        if (entry.number == number)
            return &entry;
    }
    return nullptr;
}

} // namespace

QString FailureText::headline(int number)
{
    const Entry* entry = entryFor(number);
    return entry && entry->headline ? QString::fromUtf8(entry->headline) : QString();
}

QString FailureText::sentence(const Failure& failure)
{
    const Entry* entry = entryFor(failure.number());
    const QString place = !failure.place().isEmpty() ? failure.place()
                          : entry                    ? QString::fromUtf8(entry->placeUnnamed)
                                                     : QStringLiteral("a file or folder");
    QString text =
        entry ? QString::fromUtf8(entry->sentence) : QStringLiteral("Something failed at %1");
    if (text.contains(QStringLiteral("%1")))
        text = text.arg(place);
    if (!failure.advice().isEmpty())
        text += QStringLiteral(": ") + failure.advice();
    return text + QLatin1Char('.');
}

bool FailureText::knows(int number)
{
    return entryFor(number) != nullptr;
}
