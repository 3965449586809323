#include "SwitchAndSaveBench.h"

#include "BareSettingsFile.h"
#include "BenchFolder.h"
#include "LoadedProgram.h"
#include "ResultTable.h"
#include "core/common/GamePaths.h"
#include "core/mode/ModeFiles.h"

#include <filesystem>

namespace {

constexpr int switchRounds = 20;
constexpr int saveRounds = 30;

using FileCopies = std::vector<std::pair<std::filesystem::path, std::filesystem::path>>;

FileCopies floorCopies(const BenchFolder& folder, GameMode mode)
{
    const QString yes = QStringLiteral("yes");
    FileCopies copies;
    for (const GameFileCopy& copy : modeCopies(mode, yes, yes, GamePaths::modsPath(folder.game())))
        copies.emplace_back(folder.file(copy.source).toStdString(),
                            copy.destination().toStdString());
    return copies;
}

void copyAll(const FileCopies& copies)
{
    for (const auto& [source, destination] : copies)
        std::filesystem::copy_file(source, destination,
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace

void SwitchAndSaveBench::run(ResultTable& table)
{
    const BenchFolder oursFolder;
    oursFolder.enter();
    LoadedProgram program(oursFolder);
    Module1& module = program.module();

    const BenchFolder floorFolder;
    BareSettingsFile settings(floorFolder.databaseFile());
    const FileCopies toGrimtide = floorCopies(floorFolder, GameMode::Grimtide);
    const FileCopies toPure = floorCopies(floorFolder, GameMode::Pure);

    const Comparison switches = Comparison::timed(
        switchRounds,
        [&] {
            module.msetu();
            module.msetp();
        },
        [&] {
            copyAll(toGrimtide);
            settings.writeOneRow();
            copyAll(toPure);
            settings.writeOneRow();
        });
    table.addRow("mode switch (msetu+msetp)", "ms", switches, 1.5);

    const Comparison saves = Comparison::timed(
        saveRounds, [&] { module.msaveset(); }, [&] { settings.replaceRow(); });
    table.addRow("save (msaveset)", "ms", saves, 1.5);
}
