#pragma once
// A card store on a real database file in a fresh temporary directory, and direct access to the
// same file for writing rows by hand and reading what is really stored.

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "carddata/CardStore.h"
#include "carddata/Text.h"
#include "platform/sqlite/SqliteConnection.h"
#include "support/TempDir.h"

namespace velkora::test {

using velkora::testing::TempDir;

// Plain SQLite on the store's file, outside the store: texts as SQLite holds them (UTF-8).
class RawDb {
public:
    explicit RawDb(const std::filesystem::path& file, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
        if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file.string());
        sqlite3_busy_timeout(db_, 5000);
    }
    ~RawDb() { sqlite3_close(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    void exec(const std::string& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(sql + ": " + message);
        }
    }

    // The first column of every row; NULL as no value.
    std::vector<std::optional<std::string>> column(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        std::vector<std::optional<std::string>> values;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            if (sqlite3_column_type(stmt, 0) == SQLITE_NULL)
                values.emplace_back();
            else
                values.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                                static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0))));
        }
        sqlite3_finalize(stmt);
        return values;
    }

    std::string one(const std::string& sql)
    {
        const auto values = column(sql);
        if (values.size() != 1 || !values[0])
            throw std::runtime_error(sql + ": not one value");
        return *values[0];
    }

private:
    sqlite3* db_ = nullptr;
};

inline std::string gb(const char* utf8)
{
    return utf8ToGb(utf8);
}

inline std::string repeated(std::string_view piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

inline CardRecord makeCard(std::string account, std::string serial = "SN-0001",
                           std::string grid = "13-15-23\r\n99-15-21", std::string type = "QQ",
                           std::string letters = "A,B,C")
{
    CardRecord card;
    card.type = std::move(type);
    card.account = std::move(account);
    card.serial = std::move(serial);
    card.orientation = gb("横向字母");
    card.grid = std::move(grid);
    card.letters = std::move(letters);
    return card;
}

inline std::vector<std::string> accounts(const std::vector<CardListEntry>& entries)
{
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.account);
    return out;
}

// A fresh default database, opened.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store.createDefaultDatabase();
        ASSERT_TRUE(store.openStore());
    }

    std::filesystem::path file() const { return std::filesystem::path(store.databasePath()); }

    TempDir dir;
    CardStore store{std::make_unique<SqliteConnection>(), (dir.path() / "tamcard1.mdb").string()};
};

} // namespace velkora::test
