#pragma once

#include <string>

// What `cp source destination` and then `sync destination` do, without the
// cost of starting two programs: copy_file_range into the truncated
// destination, as cp does on Linux, then fsync of that file.
namespace BareCopy {
void copyAndSync(const std::string& source, const std::string& destination);
} // namespace BareCopy
