#include "SwitchAndSaveBench.h"

#include "BareSettingsFile.h"
#include "BenchFolder.h"
#include "BenchMedium.h"
#include "DurableFile.h"
#include "LoadedProgram.h"
#include "ResultTable.h"
#include "core/common/GamePaths.h"
#include "core/mode/ModeFiles.h"

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int switchRounds = 21;
constexpr int saveRounds = 31;
constexpr double saveLimit = 1.5;

// On a tmpfs the syncs cost nothing, so the rest of the work weighs more.
double switchLimit(const BenchMedium& medium)
{
    return medium.name == "tmpfs" ? 2.0 : 1.15;
}

using FileCopies = std::vector<std::pair<std::string, std::string>>;

FileCopies floorCopies(const BenchFolder& folder, GameMode mode)
{
    const QString yes = QStringLiteral("yes");
    FileCopies copies;
    for (const GameFileCopy& copy : modeCopies(mode, yes, yes, GamePaths::modsPath(folder.game())))
        copies.emplace_back(folder.file(copy.source).toStdString(),
                            copy.destination().toStdString());
    return copies;
}

// One switch as the floor makes it: the mode's files, then the save.
void floorSwitch(const FileCopies& copies, BareSettingsFile& settings)
{
    for (const auto& [source, target] : copies)
        DurableFile::replace(source, target);
    settings.replaceRow();
}

void benchOn(const BenchMedium& medium, ResultTable& table)
{
    const BenchFolder oursFolder(medium.folder);
    oursFolder.enter();
    LoadedProgram program(oursFolder);
    Module1& module = program.module();

    const BenchFolder floorFolder(medium.folder);
    BareSettingsFile settings(floorFolder.databaseFile());
    const FileCopies toGrimtide = floorCopies(floorFolder, GameMode::Grimtide);
    const FileCopies toPure = floorCopies(floorFolder, GameMode::Pure);

    const Comparison switches = Comparison::timed(
        switchRounds,
        [&] {
            module.session().switchTo(GameMode::Grimtide);
            module.session().switchTo(GameMode::Pure);
        },
        [&] {
            floorSwitch(toGrimtide, settings);
            floorSwitch(toPure, settings);
        });
    table.addRow("mode switch (msetu+msetp), " + medium.name, "ms", switches, switchLimit(medium));

    const Comparison saves = Comparison::timed(
        saveRounds, [&] { module.session().msaveset(); }, [&] { settings.replaceRow(); });
    table.addRow("save (msaveset), " + medium.name, "ms", saves, saveLimit);
}

} // namespace

void SwitchAndSaveBench::run(ResultTable& table)
{
    for (const BenchMedium& medium : BenchMedium::available())
        benchOn(medium, table);
    table.addNote("mode switch: the floor replaces the six files (temporary, fdatasync, rename, "
                  "folder fsync) and saves after each three; save: BEGIN IMMEDIATE, INSERT, "
                  "DELETE, COMMIT");
}
