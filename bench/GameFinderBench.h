#pragma once

class ResultTable;

// The row "game finder, 50 prefixes": the search that "Choose Directory"
// runs when it opens, over a home holding 50 Lutris prefixes, each with a
// system.reg of a real prefix's size, against reading those registry files
// and nothing else.
namespace GameFinderBench {
void run(ResultTable& table);
} // namespace GameFinderBench
