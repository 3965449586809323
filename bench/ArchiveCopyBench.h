#pragma once

class ResultTable;

// The rows "archive copy": the program's copier installing an archive of
// 1, 16, 64 and 256 MiB against cp and sync of the same file, and a note on
// how the time per MiB holds from 16 MiB up.
namespace ArchiveCopyBench {
void run(ResultTable& table);
} // namespace ArchiveCopyBench
