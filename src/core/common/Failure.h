#pragma once

#include <QString>

#include <exception>

// The failure numbers that error reports show. 76, 91 and 94 are tested by
// commands and keep their meaning; the rest are this program's own, fixed so
// that a report from a player can be read back. FailureText says each in
// plain words.
namespace FailureNumber {
inline constexpr int TypeMismatch = 13;     // a value that must read as a number does not
inline constexpr int FileNotFound = 53;     // a copy's source file does not exist (its folder does)
inline constexpr int DeviceIo = 57;         // a read or write failed part-way
inline constexpr int DiskFull = 61;         // the disk is full
inline constexpr int PermissionDenied = 70; // write-protected, read-only or in use
inline constexpr int DriveNotReady = 71;    // a drive is not ready
inline constexpr int WrongKind = 75;    // a folder (or a pipe, a device) where a file is expected
inline constexpr int PathNotFound = 76; // a folder on a copy's path does not exist
inline constexpr int NoItemChosen = 91; // no item is chosen in a list that is read
inline constexpr int NoValue = 94;      // a settings field holds no value
inline constexpr int NoCurrentRecord = 3021;    // the table "Options" has no row
inline constexpr int DatabaseMissing = 3024;    // "gtdb.inf" does not exist
inline constexpr int TableMissing = 3078;       // the table "Options" does not exist
inline constexpr int DatabaseLocked = 3218;     // locked by another program past the busy timeout
inline constexpr int FieldMissing = 3265;       // one of the seven fields is missing
inline constexpr int NotADatabase = 3343;       // "gtdb.inf" is not a database we can read
inline constexpr int GameRunning = 4001;        // Battlefield 1942 runs: its files are not touched
inline constexpr int PlaceholderArchive = 4002; // a placeholder would replace a real archive
inline constexpr int UpdateWaitsForGame =
    4003;                                    // an update cut short is finished once the game ends
inline constexpr int JournalRefused = 4004;  // the update journal names what it may not
inline constexpr int KeptFileRefused = 4005; // a kept game file is not as the program kept it
} // namespace FailureNumber

// Thrown by anything that fails inside a command; the command's trap turns it
// into the error report. The place is the file or folder that failed, as the
// player would look for it; the advice, when there is one, says what to do.
class Failure : public std::exception {
public:
    explicit Failure(int number, QString place = {}, QString advice = {})
        : m_number(number), m_place(std::move(place)), m_advice(std::move(advice))
    {
    }
    int number() const { return m_number; }
    const QString& place() const { return m_place; }
    const QString& advice() const { return m_advice; }
    // The same failure, named at the place where none was named yet.
    Failure at(const QString& place) const
    {
        return Failure(m_number, m_place.isEmpty() ? place : m_place, m_advice);
    }
    Failure withAdvice(const QString& advice) const { return Failure(m_number, m_place, advice); }
    const char* what() const noexcept override { return "Grimtide Switch failure"; }

private:
    int m_number;
    QString m_place;
    QString m_advice;
};
