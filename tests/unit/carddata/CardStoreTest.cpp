// The card store against a scripted connection: the exact statement of every operation, the values
// bound rather than put into it, and results that fail where a real database rarely does.

#include "carddata/CardStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "carddata/FieldCodec.h"
#include "carddata/SqlConnection.h"
#include "carddata/Text.h"

namespace velkora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Row = std::map<std::string, std::optional<std::string>>;

class ScriptedResult final : public SqlResult {
public:
    ScriptedResult(std::vector<std::string> columns, std::vector<Row> rows, bool failAtEnd)
        : columns_(std::move(columns)), rows_(std::move(rows)), failAtEnd_(failAtEnd)
    {
    }
    bool next() override { return ++at_ < rows_.size(); }
    bool failed() const override { return failAtEnd_ && at_ >= rows_.size(); }
    int columnIndex(std::string_view name) const override
    {
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i] == name)
                return static_cast<int>(i);
        return -1;
    }
    std::optional<std::string> text(int column) const override
    {
        if (column < 0 || at_ >= rows_.size())
            return std::nullopt;
        const auto it = rows_[at_].find(columns_[static_cast<std::size_t>(column)]);
        return it == rows_[at_].end() ? std::nullopt : it->second;
    }

private:
    std::vector<std::string> columns_;
    std::vector<Row> rows_;
    bool failAtEnd_;
    std::size_t at_ = static_cast<std::size_t>(-1);
};

struct Statement {
    std::string sql;
    std::vector<std::string> params;
};

// Records every statement; selects give `rows` (reading fails after them when `failAtEnd`), or no
// result at all when `reject`.
class ScriptedConnection final : public SqlConnection {
public:
    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool createEmptyDatabase(const std::string&) override { return true; }
    std::unique_ptr<SqlResult> select(std::string_view sql, const SqlParams& params) override
    {
        record(sql, params);
        if (reject)
            return nullptr;
        return std::make_unique<ScriptedResult>(
            std::vector<std::string>{"ID", "mb_type", "mb_account", "mb_sn", "mb_xandy", "mb_text", "mb_letter"}, rows,
            failAtEnd);
    }
    bool execute(std::string_view sql, const SqlParams& params) override
    {
        record(sql, params);
        return true;
    }

    std::vector<Statement> statements;
    std::vector<Row> rows;
    bool failAtEnd = false;
    bool reject = false;

private:
    void record(std::string_view sql, const SqlParams& params)
    {
        statements.push_back({std::string(sql), std::vector<std::string>(params.begin(), params.end())});
    }
};

class CardStoreTest : public ::testing::Test {
protected:
    CardStoreTest()
    {
        auto owned = std::make_unique<ScriptedConnection>();
        connection = owned.get();
        store = std::make_unique<CardStore>(std::move(owned), "/run/tamcard1.mdb");
    }

    ScriptedConnection* connection;
    std::unique_ptr<CardStore> store;
};

TEST_F(CardStoreTest, EveryOperationIssuesItsOneStatementWithTheValuesBoundAsTyped)
{
    const std::string hostile = "o'neil%_\\";
    CardRecord card;
    card.type = hostile;
    card.account = "new";
    card.serial = "SN";
    card.orientation = utf8ToGb("竖向字母");
    card.grid = "1-2";
    card.letters = "A,B";

    const struct {
        std::function<void()> call;
        std::string sql;
        std::vector<std::string> params; // "*" stands for a scrambled value, checked below
    } cases[] = {
        {[&] { store->listAllCards(); }, "select * from mb_data", {}},
        {[&] { store->searchCards(SearchColumn::Type, hostile); },
         "select * from mb_data where mb_type like '%' || ? || '%'", {hostile}},
        {[&] { store->searchCards(SearchColumn::Account, hostile); },
         "select * from mb_data where mb_account like '%' || ? || '%'", {hostile}},
        {[&] { store->findCardByAccount(hostile); }, "select * from mb_data where mb_account=?", {hostile}},
        {[&] { store->insertCard(card); },
         "insert into mb_data (mb_type,mb_account,mb_sn,mb_xandy,mb_text,mb_letter) values (?,?,?,?,?,?)",
         {hostile, "new", "*", utf8ToGb("竖向字母"), "*", "A,B"}},
        {[&] { store->updateCard(hostile, card); },
         "update mb_data set mb_type=?,mb_account=?,mb_sn=?,mb_xandy=?,mb_text=?,mb_letter=? where mb_account=?",
         {hostile, "new", "*", utf8ToGb("竖向字母"), "*", "A,B", hostile}},
        {[&] { store->deleteCard("17"); }, "delete from mb_data where ID=?", {"17"}},
        {[&] { store->listTypes(); }, "select * from mb_types", {}},
        {[&] { store->findType(hostile); }, "select * from mb_types where mb_type=?", {hostile}},
        {[&] { store->insertType(hostile); }, "insert into mb_types (mb_type) values (?)", {hostile}},
        {[&] { store->deleteType(hostile); }, "delete from mb_types where mb_type=?", {hostile}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        connection->statements.clear();
        c.call();
        ASSERT_EQ(connection->statements.size(), 1u);
        const Statement& issued = connection->statements[0];
        EXPECT_EQ(issued.sql, c.sql);
        ASSERT_EQ(issued.params.size(), c.params.size());
        for (std::size_t i = 0; i < c.params.size(); ++i) {
            if (c.params[i] != "*") {
                EXPECT_EQ(issued.params[i], c.params[i]) << "parameter " << i;
            }
        }
        if (issued.params.size() > 4) {
            EXPECT_EQ(decodeField(issued.params[2]), "SN");
            EXPECT_EQ(issued.params[2].size(), 4u);
            EXPECT_EQ(decodeField(issued.params[4]), "1-2");
            EXPECT_EQ(issued.params[4].size(), 6u);
        }
    }
}

// A real database hardly ever fails after giving rows; when it does, what was read is dropped.
TEST_F(CardStoreTest, ReadingThatFailsPartWayGivesTheEmptyResult)
{
    connection->rows = {Row{{"ID", "1"}, {"mb_type", "QQ"}, {"mb_account", "alice"}},
                        Row{{"ID", "2"}, {"mb_type", "QQ"}, {"mb_account", "bob"}}};
    ASSERT_THAT(store->listAllCards(), ::testing::SizeIs(2));
    ASSERT_THAT(store->listTypes(), ElementsAre("QQ", "QQ"));

    connection->failAtEnd = true;
    EXPECT_THAT(store->listAllCards(), IsEmpty());
    EXPECT_THAT(store->searchCards(SearchColumn::Account, "a"), IsEmpty());
    EXPECT_THAT(store->listTypes(), IsEmpty());
    // The first row is all that a find reads, so it stands.
    EXPECT_TRUE(store->findCardByAccount("alice"));
    EXPECT_TRUE(store->findType("QQ"));

    connection->reject = true;
    EXPECT_THAT(store->listAllCards(), IsEmpty());
    EXPECT_THAT(store->listTypes(), IsEmpty());
    EXPECT_FALSE(store->findCardByAccount("alice"));
    EXPECT_FALSE(store->findType("QQ"));
}

} // namespace
} // namespace velkora
