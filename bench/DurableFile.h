#pragma once

#include <string>

// The plain system calls that make a file's new content survive a power cut,
// as the floors of the copies use them.
namespace DurableFile {
// The folder that holds the file: the path up to its last slash.
std::string folderOf(const std::string& file);
// fdatasync of the file.
void syncData(const std::string& file);
// fsync of the folder, which makes a rename or a new name in it durable.
void syncFolder(const std::string& folder);
// The least a durable, all-or-nothing replacement costs: the source written
// into a temporary beside the target, fdatasync, rename over the target,
// fsync of its folder.
void replace(const std::string& source, const std::string& target);
} // namespace DurableFile
