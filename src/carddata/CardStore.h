#pragma once
// The card database: cards (mb_data) and card types (mb_types). One statement per operation;
// serial number and grid are scrambled on the way in and unscrambled on the way out. Shows no
// message and throws nothing: every operation reports through its result.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "carddata/CardGrid.h"

namespace velkora {

class SqlConnection; // carddata/SqlConnection.h; the SQLite implementation lives in platform/sqlite

struct CardListEntry {
    std::string id; // decimal text
    std::string type;
    std::string account;
};

enum class SearchColumn { Type, Account }; // mb_type, mb_account

class CardStore {
public:
    // `databasePath` is RunDir + "/tamcard1.mdb".
    CardStore(std::unique_ptr<SqlConnection> connection, std::string databasePath);
    ~CardStore();
    CardStore(const CardStore&) = delete;
    CardStore& operator=(const CardStore&) = delete;

    const std::string& databasePath() const { return path_; }

    void createDefaultDatabase();
    bool openStore();
    void closeStore();
    bool isOpen() const;

    std::vector<CardListEntry> listAllCards();
    std::vector<CardListEntry> searchCards(SearchColumn column, std::string_view keyword);
    // No value: not found (every field reads as the empty text).
    std::optional<CardRecord> findCardByAccount(std::string_view account);
    bool insertCard(const CardRecord& card);
    bool updateCard(std::string_view keyAccount, const CardRecord& card);
    bool deleteCard(std::string_view id);

    std::vector<std::string> listTypes();
    bool findType(std::string_view name);
    bool insertType(std::string_view name);
    bool deleteType(std::string_view name);

private:
    std::unique_ptr<SqlConnection> connection_;
    std::string path_;
};

} // namespace velkora
