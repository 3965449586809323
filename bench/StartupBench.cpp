#include "StartupBench.h"

#include "BenchFolder.h"
#include "ChildProcess.h"
#include "ResultTable.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr int rounds = 21;
constexpr double timeLimit = 1.05;
constexpr double memoryLimit = 1.05;

// Offscreen runs see no display at all, so that neither reaches one for its tray.
const ChildProcess::Environment offscreen{"QT_QPA_PLATFORM=offscreen", "DISPLAY",
                                          "WAYLAND_DISPLAY"};
const ChildProcess::Environment onX{"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY"};

struct Starter {
    std::string program;
    std::vector<std::string> arguments;
    ChildProcess::Environment environment;
};

struct Figures {
    Comparison time;
    Comparison memory;
};

void startOnce(const Starter& starter, const std::string& folder, Samples& time, Samples& memory)
{
    const ChildProcess::Outcome outcome =
        ChildProcess::run(starter.program, starter.arguments, folder, starter.environment);
    time.add(outcome.milliseconds);
    memory.add(outcome.peakResidentMiB);
}

// The first run of each, unrecorded, warms the caches; ours also tells the
// main window's size, which the floor's window takes.
Figures compare(const ChildProcess::Environment& platform, const std::string& floorProgram,
                const std::string& folder)
{
    const Starter ours{GRIMTIDE_STARTUP_OURS, {}, platform};
    std::istringstream size(ChildProcess::run(ours.program, {}, folder, ours.environment).output);
    Starter floor{floorProgram, {"", ""}, platform};
    size >> floor.arguments[0] >> floor.arguments[1];
    ChildProcess::run(floor.program, floor.arguments, folder, floor.environment);

    Figures figures;
    Comparison::alternate(
        rounds, [&] { startOnce(ours, folder, figures.time.ours, figures.memory.ours); },
        [&] { startOnce(floor, folder, figures.time.floor, figures.memory.floor); });
    return figures;
}

struct Row {
    std::string name;
    Figures figures;
    bool reference; // no target
};

double limit(const Row& row, double target)
{
    return row.reference ? ResultTable::noLimit : target;
}

} // namespace

void StartupBench::run(ResultTable& table)
{
    const BenchFolder folder;
    const std::string where = folder.path().toStdString();
    std::vector<Row> rows{{"offscreen", compare(offscreen, GRIMTIDE_STARTUP_WINDOW, where), false}};
    if (std::getenv("DISPLAY"))
        rows.push_back({"Xvfb", compare(onX, GRIMTIDE_STARTUP_WINDOW, where), false});
    else
        table.addNote("start-up on X: left out, no DISPLAY (scripts/bench runs the bench on Xvfb)");
    rows.push_back(
        {"offscreen, bare window", compare(offscreen, GRIMTIDE_STARTUP_BARE, where), true});
    for (const Row& row : rows)
        table.addRow("start-up, " + row.name, "ms", row.figures.time, limit(row, timeLimit));
    for (const Row& row : rows)
        table.addRow("idle memory, " + row.name, "MiB", row.figures.memory,
                     limit(row, memoryLimit));
    table.addNote("start-up: from exec to the main window shown, memory the peak RSS by then; "
                  "the floor is a window of its kind in plain Qt, the bare window an empty one");
}
