#pragma once

class ResultTable;

// The rows "start-up" and "idle memory": the program's own start-up to its
// main window, one process per run, against a window of the main window's
// kind and size (bench-startup-window), offscreen and on the X screen of
// DISPLAY; and offscreen against an empty window of that size
// (bench-startup-bare), for reference.
namespace StartupBench {
void run(ResultTable& table);
} // namespace StartupBench
