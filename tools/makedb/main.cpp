// makedb <sql file> <output db>: builds a fresh SQLite database from SQL text.
// The database is written under a temporary name and renamed into place, so a
// failed build leaves neither a half-made file nor a stale old one behind.

#include <sqlite3.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// SQLite takes file names as UTF-8 on every platform.
std::string utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string readText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error(utf8(file) + ": cannot open for reading");
    }
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        throw std::runtime_error(utf8(file) + ": read error");
    }
    // sqlite3_exec stops at a NUL, which would silently drop the rest.
    if (text.find('\0') != std::string::npos) {
        throw std::runtime_error(utf8(file) + ": contains a NUL byte");
    }
    return text;
}

// A database file together with the side files SQLite may leave next to it.
void removeDatabase(const fs::path& file)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        fs::path side = file;
        side += suffix;
        std::error_code error;
        fs::remove(side, error);
        if (error) {
            throw std::runtime_error(utf8(side) + ": cannot remove: " + error.message());
        }
    }
}

class Database {
public:
    explicit Database(const fs::path& file)
    {
        const int rc = sqlite3_open_v2(utf8(file).c_str(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
            sqlite3_close(m_db);
            m_db = nullptr;
            throw std::runtime_error(utf8(file) + ": " + message);
        }
    }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { sqlite3_close(m_db); }

    void exec(const std::string& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : sqlite3_errmsg(m_db);
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
        // Closing would roll an open transaction back without a word.
        if (sqlite3_get_autocommit(m_db) == 0) {
            throw std::runtime_error("the SQL leaves a transaction open");
        }
    }

    void close()
    {
        if (sqlite3_close(m_db) != SQLITE_OK) {
            throw std::runtime_error(std::string("cannot close: ") + sqlite3_errmsg(m_db));
        }
        m_db = nullptr;
    }

private:
    sqlite3* m_db = nullptr;
};

void build(const fs::path& sqlFile, const fs::path& output)
{
    std::error_code sameError;
    if (fs::equivalent(sqlFile, output, sameError)) {
        throw std::runtime_error(utf8(output) + ": is the SQL file itself");
    }
    // Gone first, so no failure below can leave the old database looking current.
    removeDatabase(output);
    const std::string sql = readText(sqlFile);

    if (output.has_parent_path()) {
        fs::create_directories(output.parent_path());
    }

    fs::path temporary = output;
    temporary += ".part";
    removeDatabase(temporary);
    try {
        Database database(temporary);
        try {
            database.exec(sql);
        } catch (const std::exception& error) {
            throw std::runtime_error(utf8(sqlFile) + ": " + error.what());
        }
        database.close();
        fs::rename(temporary, output);
    } catch (...) {
        std::error_code ignored;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            fs::path side = temporary;
            side += suffix;
            fs::remove(side, ignored);
        }
        throw;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: makedb <sql file> <output db>\n", stderr);
        return 2;
    }
    try {
        build(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "makedb: %s\n", error.what());
        return 1;
    }
    return 0;
}
