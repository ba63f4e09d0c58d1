#pragma once
// The card database in an SQLite 3 file. Texts are stored as UTF-8 and handed back as GB18030;
// text columns compare without regard to Latin letter case and hold at most 255 characters
// (mb_text excepted). Every write is durable once it has reported success.

#include "carddata/SqlConnection.h"

struct sqlite3;

namespace velkora {

class SqliteConnection final : public SqlConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    bool open(const std::string& path) override;
    void close() override;
    bool isOpen() const override;
    bool createEmptyDatabase(const std::string& path) override;
    std::unique_ptr<SqlResult> select(std::string_view sql, const SqlParams& params) override;
    bool execute(std::string_view sql, const SqlParams& params) override;

private:
    sqlite3* db_ = nullptr;
};

} // namespace velkora
