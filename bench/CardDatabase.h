#pragma once
// A card database of any size for the start-up and card-list figures: the schema as the program
// creates it, then rows as insertCard stores them (scrambled serial and grid), all in one
// transaction so that making 100,000 cards takes a moment rather than 100,000 disk flushes.

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "carddata/CardGrid.h"
#include "carddata/CardStore.h"
#include "carddata/FieldCodec.h"
#include "carddata/Text.h"
#include "platform/sqlite/SqliteConnection.h"

namespace velkora::bench {

inline void makeCardDatabase(const std::string& file, int cards)
{
    CardStore(std::make_unique<SqliteConnection>(), file).createDefaultDatabase();
    if (cards == 0)
        return;
    sqlite3* db = nullptr;
    auto check = [&db](int rc, const char* what) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
    };
    check(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), "open");
    check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), "begin");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "insert into mb_data (mb_type,mb_account,mb_sn,mb_xandy,mb_text,mb_letter) "
                             "values (?,?,?,?,?,?)",
                             -1, &insert, nullptr),
          "prepare");
    const char* const types[] = {"QQ", "网易将军令", "WoW", "魔兽世界", "Battle.net", "盛大密宝"};
    const std::string grid = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";
    const std::string scrambled = encodeField(grid);
    const std::string orientation = gbToUtf8(orientationText(Orientation::LettersAcross));
    for (int i = 0; i < cards; ++i) {
        char account[64];
        std::snprintf(account, sizeof account, "player%06d@mail.example", i);
        const std::string serial = encodeField("SN" + std::to_string(1000000 + i));
        sqlite3_bind_text(insert, 1, types[i % 6], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, account, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, serial.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, orientation.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, scrambled.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, "A,B,C,D,E,F", -1, SQLITE_STATIC);
        check(sqlite3_step(insert), "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), "commit");
    sqlite3_close(db);
}

} // namespace velkora::bench
