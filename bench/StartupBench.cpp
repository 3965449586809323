#include "StartupBench.h"

#include "BenchFolder.h"
#include "ChildProcess.h"
#include "ResultTable.h"

#include <sstream>

namespace {

constexpr int rounds = 20;

struct Starter {
    std::string program;
    std::vector<std::string> arguments;
};

void startOnce(const Starter& starter, const std::string& folder, Samples& time, Samples& memory)
{
    const ChildProcess::Outcome outcome =
        ChildProcess::run(starter.program, starter.arguments, folder);
    time.add(outcome.milliseconds);
    memory.add(outcome.peakResidentMiB);
}

} // namespace

void StartupBench::run(ResultTable& table)
{
    const BenchFolder folder;
    const std::string where = folder.path().toStdString();
    const Starter ours{GRIMTIDE_STARTUP_OURS, {}};
    // The first run, unrecorded, also tells the main window's size.
    std::istringstream size(ChildProcess::run(ours.program, {}, where).output);
    Starter floor{GRIMTIDE_STARTUP_FLOOR, {"", ""}};
    size >> floor.arguments[0] >> floor.arguments[1];
    ChildProcess::run(floor.program, floor.arguments, where);

    Comparison time;
    Comparison memory;
    Comparison::alternate(
        rounds, [&] { startOnce(ours, where, time.ours, memory.ours); },
        [&] { startOnce(floor, where, time.floor, memory.floor); });
    table.addRow("start-up to main window", "ms", time, 1.25);
    table.addRow("idle memory (peak RSS)", "MiB", memory, 1.30);
}
