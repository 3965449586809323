#pragma once

#include <exception>

// The failure numbers that error reports show. 76, 91 and 94 are tested by
// commands and keep their meaning; the rest are this program's own, fixed so
// that a report from a player can be read back.
namespace FailureNumber {
inline constexpr int TypeMismatch = 13;     // a value that must read as a number does not
inline constexpr int FileNotFound = 53;     // a copy's source file does not exist (its folder does)
inline constexpr int DeviceIo = 57;         // a read or write failed part-way
inline constexpr int DiskFull = 61;         // the disk is full
inline constexpr int PermissionDenied = 70; // write-protected, read-only or in use
inline constexpr int DriveNotReady = 71;    // a drive is not ready
inline constexpr int WrongKind = 75;        // a folder where a file is expected
inline constexpr int PathNotFound = 76;     // a folder on a copy's path does not exist
inline constexpr int NoItemChosen = 91;     // no item is chosen in a list that is read
inline constexpr int NoValue = 94;          // a settings field holds no value
inline constexpr int NoCurrentRecord = 3021; // the table "Options" has no row
inline constexpr int DatabaseMissing = 3024; // "gtdb.inf" does not exist
inline constexpr int TableMissing = 3078;    // the table "Options" does not exist
inline constexpr int DatabaseLocked = 3218;  // locked by another program past the busy timeout
inline constexpr int FieldMissing = 3265;    // one of the seven fields is missing
inline constexpr int NotADatabase = 3343;    // "gtdb.inf" is not a database we can read
} // namespace FailureNumber

// Thrown by anything that fails inside a command; the command's trap turns it
// into the error report.
class Failure : public std::exception {
public:
    explicit Failure(int number) : m_number(number) {}
    int number() const { return m_number; }
    const char* what() const noexcept override { return "Grimtide Switch failure"; }

private:
    int m_number;
};
