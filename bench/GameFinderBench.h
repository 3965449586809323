#pragma once

class ResultTable;

// The rows "game finder": the search that "Choose Directory" runs when it
// opens, over a home holding 50 and then 500 Lutris prefixes, each with a
// system.reg of a real prefix's size, against GameFinderFloor's plain search
// of the same home; and a first start's first window in the larger home
// against one in an empty home.
namespace GameFinderBench {
void run(ResultTable& table);
} // namespace GameFinderBench
