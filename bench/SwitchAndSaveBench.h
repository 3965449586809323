#pragma once

class ResultTable;

// The rows "mode switch" and "save", on the program loaded from one bench
// folder against bare work on another:
// - msetu then msetp with both packs "yes" (six copies, two saves), against
//   the same copies by std::filesystem::copy_file and two bare one-row
//   SQLite transactions;
// - one msaveset, against one bare transaction that inserts a row and
//   deletes the other.
namespace SwitchAndSaveBench {
void run(ResultTable& table);
} // namespace SwitchAndSaveBench
