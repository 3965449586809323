#pragma once

class ResultTable;

// The rows "archive": the program's durable copy installing an archive of 64 MiB,
// 256 MiB and 1 GiB, on disk and on a tmpfs, against two floors that copy
// the same file to the same place and make it as durable: cp --reflink=never
// and plain cp (which may share the blocks where the file system can), each
// followed by fdatasync of the copy and fsync of its folder.
namespace ArchiveCopyBench {
void run(ResultTable& table);
} // namespace ArchiveCopyBench
