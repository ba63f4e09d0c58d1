#include "platform/sqlite/SqliteConnection.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "carddata/Text.h"

namespace velkora {
namespace {

// The two tables of the card database. IDs count up from 1 and are never used twice
// (AUTOINCREMENT); the 255-character sizes are counted in characters, as length() counts them.
constexpr const char* Schema =
    "create table mb_data ("
    "ID integer primary key autoincrement,"
    "mb_type text collate nocase check(length(mb_type) <= 255),"
    "mb_account text collate nocase check(length(mb_account) <= 255),"
    "mb_sn text collate nocase check(length(mb_sn) <= 255),"
    "mb_xandy text collate nocase check(length(mb_xandy) <= 255),"
    "mb_text text collate nocase,"
    "mb_letter text collate nocase check(length(mb_letter) <= 255));"
    "create table mb_types ("
    "ID integer primary key autoincrement,"
    "mb_type text collate nocase check(length(mb_type) <= 255));";

// Preparing these fails unless both tables and all their columns are there.
constexpr const char* SchemaProbes[] = {
    "select ID,mb_type,mb_account,mb_sn,mb_xandy,mb_text,mb_letter from mb_data",
    "select ID,mb_type from mb_types",
};

// A lock held by another program is waited for this long before a statement gives up.
constexpr int BusyTimeoutMs = 2000;

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// ASCII is the same in both encodings, and most stored texts are ASCII, so they skip iconv.
std::string toUtf8(std::string_view gb)
{
    return isAscii(gb) ? std::string(gb) : gbToUtf8(gb);
}

std::string fromUtf8(std::string_view utf8)
{
    return isAscii(utf8) ? std::string(utf8) : utf8ToGb(utf8);
}

bool run(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool canPrepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    sqlite3_finalize(stmt);
    return rc == SQLITE_OK && stmt != nullptr;
}

// Settings for every connection. The rollback journal keeps the database one single file (a copy
// of it is a whole database, which backups and compaction rely on); synchronous=EXTRA syncs the
// database at every commit and the directory after the journal is deleted, so a write that has
// reported success survives a crash of the process or of the machine.
bool configure(sqlite3* db)
{
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    // A database file from elsewhere (a restored backup) cannot run functions through its schema
    // or corrupt itself through writable schema tricks.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    return run(db, "pragma journal_mode=delete") && run(db, "pragma synchronous=extra");
}

sqlite3_stmt* prepare(sqlite3* db, std::string_view sql, const SqlParams& params)
{
    if (db == nullptr)
        return nullptr;
    const std::string text = toUtf8(sql);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()) + 1, &stmt, nullptr) != SQLITE_OK ||
        stmt == nullptr) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    if (sqlite3_bind_parameter_count(stmt) != static_cast<int>(params.size())) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::string value = toUtf8(params[i]);
        if (sqlite3_bind_text64(stmt, static_cast<int>(i) + 1, value.data(), value.size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8) != SQLITE_OK) {
            sqlite3_finalize(stmt);
            return nullptr;
        }
    }
    return stmt;
}

class SqliteResult final : public SqlResult {
public:
    explicit SqliteResult(sqlite3_stmt* stmt) : stmt_(stmt), columns_(sqlite3_column_count(stmt)) {}
    ~SqliteResult() override { sqlite3_finalize(stmt_); }
    SqliteResult(const SqliteResult&) = delete;
    SqliteResult& operator=(const SqliteResult&) = delete;

    bool next() override
    {
        if (ended_)
            return false;
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        ended_ = true;
        failed_ = rc != SQLITE_DONE;
        return false;
    }

    bool failed() const override { return failed_; }

    int columnIndex(std::string_view name) const override
    {
        for (int i = 0; i < columns_; ++i) {
            const char* column = sqlite3_column_name(stmt_, i);
            if (column != nullptr && std::string_view(column).size() == name.size() &&
                sqlite3_strnicmp(column, name.data(), static_cast<int>(name.size())) == 0)
                return i;
        }
        return -1;
    }

    std::optional<std::string> text(int column) const override
    {
        if (ended_ || column < 0 || column >= columns_ || sqlite3_column_type(stmt_, column) == SQLITE_NULL)
            return std::nullopt;
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        const int size = sqlite3_column_bytes(stmt_, column);
        if (data == nullptr)
            return std::string{};
        try {
            return fromUtf8(std::string_view(data, static_cast<std::size_t>(size)));
        } catch (...) {
            return std::nullopt;
        }
    }

private:
    sqlite3_stmt* stmt_;
    int columns_;
    bool ended_ = false;
    bool failed_ = false;
};

bool syncFile(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Builds the empty tables in the fresh file `file` and makes them durable.
bool buildSchema(const std::string& file)
{
    sqlite3* db = nullptr;
    bool built = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK &&
                 run(db, "pragma synchronous=full") && run(db, "begin") && run(db, Schema) && run(db, "commit");
    built = sqlite3_close(db) == SQLITE_OK && built;
    return built && syncFile(file, O_RDONLY);
}

} // namespace

SqliteConnection::~SqliteConnection()
{
    close();
}

bool SqliteConnection::open(const std::string& path)
{
    close();
    try {
        sqlite3* db = nullptr;
        // Without SQLITE_OPEN_CREATE a missing file fails instead of becoming an empty database.
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return false;
        }
        // A file the process may not write would open for reading only, and every save would fail.
        // Reading the journal mode is the first read of the file: one that is not a database fails
        // here.
        if (sqlite3_db_readonly(db, "main") != 0 || !configure(db) || !canPrepare(db, SchemaProbes[0]) ||
            !canPrepare(db, SchemaProbes[1])) {
            sqlite3_close(db);
            return false;
        }
        db_ = db;
        return true;
    } catch (...) {
        return false;
    }
}

void SqliteConnection::close()
{
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool SqliteConnection::isOpen() const
{
    return db_ != nullptr;
}

bool SqliteConnection::createEmptyDatabase(const std::string& path)
{
    try {
        // The new file is made whole beside the target and then renamed over it, so the target is
        // either the old file or the complete new one, whenever the process stops.
        std::string temp = path + ".new-XXXXXX";
        const int fd = ::mkstemp(temp.data());
        if (fd < 0)
            return false;
        ::close(fd);
        const bool done = buildSchema(temp) && ::rename(temp.c_str(), path.c_str()) == 0;
        if (!done) {
            ::unlink(temp.c_str());
            ::unlink((temp + "-journal").c_str());
            return false;
        }
        // The rename itself must reach the disk for the new file to be there after a power loss.
        return syncFile(directoryOf(path), O_RDONLY | O_DIRECTORY);
    } catch (...) {
        return false;
    }
}

std::unique_ptr<SqlResult> SqliteConnection::select(std::string_view sql, const SqlParams& params)
{
    try {
        sqlite3_stmt* stmt = prepare(db_, sql, params);
        if (stmt == nullptr)
            return nullptr;
        try {
            return std::make_unique<SqliteResult>(stmt);
        } catch (...) {
            sqlite3_finalize(stmt);
            return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
}

bool SqliteConnection::execute(std::string_view sql, const SqlParams& params)
{
    try {
        sqlite3_stmt* stmt = prepare(db_, sql, params);
        if (stmt == nullptr)
            return false;
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(stmt);
        const int finalRc = sqlite3_finalize(stmt);
        return rc == SQLITE_DONE && finalRc == SQLITE_OK;
    } catch (...) {
        return false;
    }
}

} // namespace velkora
