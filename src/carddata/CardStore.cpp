#include "carddata/CardStore.h"

#include <functional>
#include <utility>

#include "carddata/FieldCodec.h"
#include "carddata/SqlConnection.h"

namespace velkora {
namespace {

std::string textOf(const SqlResult& result, int column)
{
    return result.text(column).value_or(std::string{});
}

// Every select except the type list is read the same way: when there is no row, or the first
// row's `testColumn` is NULL or empty, the result counts as empty whatever rows follow. A select
// the database rejects, or one whose reading fails part-way, counts as empty too. `readRow` is
// called for every row otherwise, the first included, and returns false to stop early.
template <typename ReadRow>
void readTested(std::unique_ptr<SqlResult> result, std::string_view testColumn, ReadRow readRow,
                const std::function<void()>& discard)
{
    if (!result || !result->next())
        return;
    if (textOf(*result, result->columnIndex(testColumn)).empty())
        return;
    do {
        if (!readRow(*result))
            return;
    } while (result->next());
    if (result->failed())
        discard();
}

std::string_view columnName(SearchColumn column)
{
    return column == SearchColumn::Type ? "mb_type" : "mb_account";
}

std::vector<CardListEntry> readEntries(SqlConnection& connection, std::string_view sql, const SqlParams& params,
                                       std::string_view testColumn)
{
    std::vector<CardListEntry> entries;
    auto result = connection.select(sql, params);
    if (!result)
        return entries;
    const int id = result->columnIndex("ID");
    const int type = result->columnIndex("mb_type");
    const int account = result->columnIndex("mb_account");
    readTested(
        std::move(result), testColumn,
        [&](const SqlResult& row) {
            entries.push_back({textOf(row, id), textOf(row, type), textOf(row, account)});
            return true;
        },
        [&] { entries.clear(); });
    return entries;
}

} // namespace

CardStore::CardStore(std::unique_ptr<SqlConnection> connection, std::string databasePath)
    : connection_(std::move(connection)), path_(std::move(databasePath))
{
}

CardStore::~CardStore() = default;

void CardStore::createDefaultDatabase()
{
    // Nothing is verified here: an unusable file shows up as a failing openStore.
    (void)connection_->createEmptyDatabase(path_);
}

bool CardStore::openStore()
{
    return connection_->open(path_);
}

void CardStore::closeStore()
{
    connection_->close();
}

bool CardStore::isOpen() const
{
    return connection_->isOpen();
}

std::vector<CardListEntry> CardStore::listAllCards()
{
    return readEntries(*connection_, "select * from mb_data", {}, "mb_account");
}

std::vector<CardListEntry> CardStore::searchCards(SearchColumn column, std::string_view keyword)
{
    // The keyword's own % and _ stay wildcards of like.
    const std::string sql = std::string("select * from mb_data where ") + std::string(columnName(column)) +
                            " like '%' || ? || '%'";
    return readEntries(*connection_, sql, {keyword}, columnName(column));
}

std::optional<CardRecord> CardStore::findCardByAccount(std::string_view account)
{
    std::optional<CardRecord> found;
    auto result = connection_->select("select * from mb_data where mb_account=?", {account});
    if (!result)
        return found;
    // Only the first row is read; ID is not.
    readTested(
        std::move(result), "mb_account",
        [&](const SqlResult& row) {
            CardRecord card;
            card.type = textOf(row, row.columnIndex("mb_type"));
            card.account = textOf(row, row.columnIndex("mb_account"));
            card.serial = decodeField(textOf(row, row.columnIndex("mb_sn")));
            card.orientation = textOf(row, row.columnIndex("mb_xandy"));
            card.grid = decodeField(textOf(row, row.columnIndex("mb_text")));
            card.letters = textOf(row, row.columnIndex("mb_letter"));
            found = std::move(card);
            return false;
        },
        [] {});
    return found;
}

bool CardStore::insertCard(const CardRecord& card)
{
    const std::string serial = encodeField(card.serial);
    const std::string grid = encodeField(card.grid);
    const std::string& orientation = orientationText(orientationFromText(card.orientation));
    return connection_->execute(
        "insert into mb_data (mb_type,mb_account,mb_sn,mb_xandy,mb_text,mb_letter) values (?,?,?,?,?,?)",
        {card.type, card.account, serial, orientation, grid, card.letters});
}

bool CardStore::updateCard(std::string_view keyAccount, const CardRecord& card)
{
    const std::string serial = encodeField(card.serial);
    const std::string grid = encodeField(card.grid);
    const std::string& orientation = orientationText(orientationFromText(card.orientation));
    return connection_->execute("update mb_data set mb_type=?,mb_account=?,mb_sn=?,mb_xandy=?,mb_text=?,mb_letter=?"
                                " where mb_account=?",
                                {card.type, card.account, serial, orientation, grid, card.letters, keyAccount});
}

bool CardStore::deleteCard(std::string_view id)
{
    // An id that is no number matches no row, which is a successful delete of nothing.
    return connection_->execute("delete from mb_data where ID=?", {id});
}

std::vector<std::string> CardStore::listTypes()
{
    // No emptiness test here: every row's mb_type, NULL read as the empty text.
    std::vector<std::string> names;
    auto result = connection_->select("select * from mb_types", {});
    if (!result)
        return names;
    const int type = result->columnIndex("mb_type");
    while (result->next())
        names.push_back(textOf(*result, type));
    if (result->failed())
        names.clear();
    return names;
}

bool CardStore::findType(std::string_view name)
{
    bool exists = false;
    readTested(
        connection_->select("select * from mb_types where mb_type=?", {name}), "mb_type",
        [&](const SqlResult&) {
            exists = true;
            return false;
        },
        [] {});
    return exists;
}

bool CardStore::insertType(std::string_view name)
{
    return connection_->execute("insert into mb_types (mb_type) values (?)", {name});
}

bool CardStore::deleteType(std::string_view name)
{
    return connection_->execute("delete from mb_types where mb_type=?", {name});
}

} // namespace velkora
