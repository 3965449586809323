#pragma once

class ResultTable;

// The rows "mode switch" and "save", on disk and on a tmpfs, on the program
// loaded from one bench folder against bare work on another:
// - msetu then msetp with both packs "yes" (six copies, two saves), against
//   the same six files each replaced durably (temporary, fdatasync, rename,
//   folder fsync) and the same save after each three;
// - one msaveset, against the same save: one transaction that inserts a row
//   and deletes the other.
namespace SwitchAndSaveBench {
void run(ResultTable& table);
} // namespace SwitchAndSaveBench
