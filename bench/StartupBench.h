#pragma once

class ResultTable;

// The rows "start-up to main window" and "idle memory": the program's own
// start-up, one process per run, against a minimal Qt window of the same size.
namespace StartupBench {
void run(ResultTable& table);
} // namespace StartupBench
