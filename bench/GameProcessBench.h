#pragma once

class ResultTable;

// The row "game running check": the check that runs before every switch and
// archive install, with 500 processes on the machine (sleeping children
// make up the number), against listing /proc and reading each process's
// name, the least any such check reads.
namespace GameProcessBench {
void run(ResultTable& table);
} // namespace GameProcessBench
