// The card store on real SQLite files: results, comparisons, size limits, stored forms and the
// files it refuses to open.

#include <gmock/gmock.h>

#include <fstream>

#include "StoreFixture.h"
#include "carddata/FieldCodec.h"

namespace velkora::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// ---- a fresh database -------------------------------------------------------------------------

TEST_F(StoreTest, FreshDatabaseHasNoCardsNoTypesAndCountsIdsFromOneWithoutReuse)
{
    EXPECT_THAT(store.listAllCards(), IsEmpty());
    EXPECT_THAT(store.listTypes(), IsEmpty());
    EXPECT_FALSE(store.findCardByAccount("anyone"));

    ASSERT_TRUE(store.insertCard(makeCard("first")));
    ASSERT_TRUE(store.insertCard(makeCard("second")));
    ASSERT_TRUE(store.deleteCard("2"));
    ASSERT_TRUE(store.insertCard(makeCard("third")));
    ASSERT_TRUE(store.insertType("QQ"));

    const auto cards = store.listAllCards();
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].id, "1");
    EXPECT_EQ(cards[0].type, "QQ");
    EXPECT_EQ(cards[0].account, "first");
    EXPECT_EQ(cards[1].id, "3") << "an ID once given is never given again";
    EXPECT_EQ(cards[1].account, "third");
    EXPECT_THAT(store.listTypes(), ElementsAre("QQ"));
}

TEST(StoreFileTest, DefaultDatabaseReplacesWhateverIsThereAndLeavesNoOtherFile)
{
    TempDir dir;
    const auto file = dir.path() / "tamcard1.mdb";
    std::ofstream(file) << "not a database";
    CardStore store(std::make_unique<SqliteConnection>(), file.string());

    store.createDefaultDatabase();

    EXPECT_THAT(dir.fileNames(), ElementsAre("tamcard1.mdb"));
    ASSERT_TRUE(store.openStore());
    EXPECT_THAT(store.listAllCards(), IsEmpty());
    ASSERT_TRUE(store.insertCard(makeCard("kept")));
    store.closeStore();
    EXPECT_FALSE(store.isOpen());
    EXPECT_THAT(dir.fileNames(), ElementsAre("tamcard1.mdb")) << "no journal or WAL file is left beside it";

    ASSERT_TRUE(store.openStore());
    EXPECT_TRUE(store.findCardByAccount("kept"));
}

TEST(StoreFileTest, DefaultDatabaseInMissingDirectoryFailsWithoutLeavingAnything)
{
    TempDir dir;
    CardStore store(std::make_unique<SqliteConnection>(), (dir.path() / "no" / "tamcard1.mdb").string());
    store.createDefaultDatabase();
    EXPECT_FALSE(store.openStore());
    EXPECT_THAT(dir.fileNames(), IsEmpty());
}

// ---- what openStore refuses -----------------------------------------------------------------

struct BadFile {
    const char* name;
    void (*make)(const std::filesystem::path&);
};

const BadFile badFiles[] = {
    {"missing", [](const std::filesystem::path&) {}},
    {"empty file", [](const std::filesystem::path& f) { std::ofstream{f}; }},
    {"196608 zero bytes", [](const std::filesystem::path& f) { std::ofstream(f) << std::string(196608, '\0'); }},
    {"text", [](const std::filesystem::path& f) { std::ofstream(f) << "[Soft]\r\nAutoSearch=1\r\n"; }},
    {"database without tables",
     [](const std::filesystem::path& f) { RawDb(f).exec("create table other (x text)"); }},
    {"database without mb_types",
     [](const std::filesystem::path& f) {
         RawDb(f).exec("create table mb_data (ID integer primary key, mb_type, mb_account, mb_sn, mb_xandy, "
                       "mb_text, mb_letter)");
     }},
    {"database without mb_data",
     [](const std::filesystem::path& f) { RawDb(f).exec("create table mb_types (ID integer primary key, mb_type)"); }},
    {"mb_data lacking a column",
     [](const std::filesystem::path& f) {
         RawDb(f).exec("create table mb_data (ID integer primary key, mb_type, mb_account, mb_sn, mb_xandy, "
                       "mb_letter); create table mb_types (ID integer primary key, mb_type)");
     }},
    {"directory", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); }},
};

TEST(StoreFileTest, OpenRefusesWhatIsNoCardDatabaseSilentlyAndLeavesTheFileAsItWas)
{
    for (const auto& bad : badFiles) {
        SCOPED_TRACE(bad.name);
        TempDir dir;
        const auto file = dir.path() / "tamcard1.mdb";
        bad.make(file);
        const auto before = dir.fileNames();
        const auto sizeBefore = std::filesystem::is_regular_file(file) ? std::filesystem::file_size(file) : 0;
        CardStore store(std::make_unique<SqliteConnection>(), file.string());

        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const bool opened = store.openStore();
        const std::string printed = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();

        EXPECT_FALSE(opened);
        EXPECT_FALSE(store.isOpen());
        EXPECT_EQ(printed, "");
        EXPECT_EQ(dir.fileNames(), before) << "nothing created beside or in place of the file";
        if (std::filesystem::is_regular_file(file)) {
            EXPECT_EQ(std::filesystem::file_size(file), sizeBefore);
        }
        // A closed store reads nothing and writes nothing.
        EXPECT_THAT(store.listAllCards(), IsEmpty());
        EXPECT_THAT(store.listTypes(), IsEmpty());
        EXPECT_FALSE(store.findCardByAccount("x"));
        EXPECT_FALSE(store.insertCard(makeCard("x")));
        EXPECT_FALSE(store.deleteCard("1"));
    }
}

TEST(StoreFileTest, OpensAHandMadeDatabaseInWalModeAndLeavesItOneFile)
{
    TempDir dir;
    const auto file = dir.path() / "tamcard1.mdb";
    {
        RawDb raw(file);
        raw.exec("pragma journal_mode=wal; create table mb_data (ID integer primary key, mb_type, mb_account, "
                 "mb_sn, mb_xandy, mb_text, mb_letter); create table mb_types (ID integer primary key, mb_type);"
                 "insert into mb_data (mb_account) values ('hand')");
    }
    CardStore store(std::make_unique<SqliteConnection>(), file.string());
    ASSERT_TRUE(store.openStore());
    EXPECT_TRUE(store.insertCard(makeCard("new")));
    EXPECT_THAT(accounts(store.listAllCards()), ElementsAre("hand", "new"));
    store.closeStore();
    EXPECT_THAT(dir.fileNames(), ElementsAre("tamcard1.mdb"));
}

// ---- comparisons and search -----------------------------------------------------------------

TEST_F(StoreTest, AccountsAndTypeNamesCompareWithoutLatinCase)
{
    ASSERT_TRUE(store.insertCard(makeCard("AbC", "sn", "1-2", "Game")));
    ASSERT_TRUE(store.insertType("Game"));

    const auto card = store.findCardByAccount("abc");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->account, "AbC") << "the stored text comes back as stored";
    EXPECT_TRUE(store.findType("GAME"));
    EXPECT_FALSE(store.findType("Gam"));

    ASSERT_TRUE(store.updateCard("ABC", makeCard("AbC", "sn2")));
    EXPECT_EQ(store.findCardByAccount("AbC")->serial, "sn2");
    ASSERT_TRUE(store.deleteType("game"));
    EXPECT_THAT(store.listTypes(), IsEmpty());
}

TEST_F(StoreTest, SearchFindsTheKeywordAnywhereWithLikeWildcardsAndWithoutLatinCase)
{
    for (const char* account : {"a12b", "12", "x1y2", "AB", "50%off", "o'neil"})
        ASSERT_TRUE(store.insertCard(makeCard(account, "s", "1", account[0] == 'a' ? "Mail" : "Game")));

    const struct {
        SearchColumn column;
        const char* keyword;
        std::vector<std::string> found;
    } cases[] = {
        {SearchColumn::Account, "12", {"a12b", "12"}},
        {SearchColumn::Account, "1_", {"a12b", "12", "x1y2"}},
        {SearchColumn::Account, "1%2", {"a12b", "12", "x1y2"}},
        {SearchColumn::Account, "%", {"a12b", "12", "x1y2", "AB", "50%off", "o'neil"}},
        {SearchColumn::Account, "", {"a12b", "12", "x1y2", "AB", "50%off", "o'neil"}},
        {SearchColumn::Account, "ab", {"AB"}},
        {SearchColumn::Account, "'", {"o'neil"}},
        {SearchColumn::Account, "o'n", {"o'neil"}},
        {SearchColumn::Account, "zz", {}},
        {SearchColumn::Type, "mai", {"a12b"}},
        {SearchColumn::Type, "AM", {"12", "x1y2", "AB", "50%off", "o'neil"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword);
        EXPECT_EQ(accounts(store.searchCards(c.column, c.keyword)), c.found);
    }
}

// ---- writes that change nothing -------------------------------------------------------------

TEST_F(StoreTest, WritesMatchingNoRowSucceedAndChangeNothing)
{
    ASSERT_TRUE(store.insertCard(makeCard("alice", "sn-a")));
    ASSERT_TRUE(store.insertType("QQ"));

    EXPECT_TRUE(store.updateCard("nobody", makeCard("alice", "changed")));
    for (const char* id : {"2", "999", "abc", "", "1 or 1=1", "-1"}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(store.deleteCard(id));
    }
    EXPECT_TRUE(store.deleteType("WoW"));

    EXPECT_THAT(accounts(store.listAllCards()), ElementsAre("alice"));
    EXPECT_EQ(store.findCardByAccount("alice")->serial, "sn-a");
    EXPECT_THAT(store.listTypes(), ElementsAre("QQ"));

    EXPECT_TRUE(store.deleteCard("1"));
    EXPECT_THAT(store.listAllCards(), IsEmpty());
}

TEST_F(StoreTest, UpdateFindsTheRowByTheKeyAccountSoTheAccountCanChange)
{
    ASSERT_TRUE(store.insertCard(makeCard("old", "sn-1", "1-2")));
    CardRecord changed = makeCard("new", "sn-2", "3-4\r\n5-6", "WoW", "X,Y");
    changed.orientation = gb("竖向字母");
    ASSERT_TRUE(store.updateCard("old", changed));

    EXPECT_FALSE(store.findCardByAccount("old"));
    const auto card = store.findCardByAccount("new");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->type, "WoW");
    EXPECT_EQ(card->serial, "sn-2");
    EXPECT_EQ(card->orientation, gb("竖向字母"));
    EXPECT_EQ(card->grid, "3-4\r\n5-6");
    EXPECT_EQ(card->letters, "X,Y");
    EXPECT_EQ(store.listAllCards()[0].id, "1");
}

TEST_F(StoreTest, DeletingATypeLeavesTheTypeOfItsCards)
{
    ASSERT_TRUE(store.insertType("QQ"));
    ASSERT_TRUE(store.insertType("WoW"));
    ASSERT_TRUE(store.insertCard(makeCard("alice", "s", "1", "QQ")));
    ASSERT_TRUE(store.deleteType("QQ"));
    EXPECT_THAT(store.listTypes(), ElementsAre("WoW"));
    EXPECT_EQ(store.findCardByAccount("alice")->type, "QQ");
    EXPECT_THAT(accounts(store.searchCards(SearchColumn::Type, "QQ")), ElementsAre("alice"));
}

// ---- stored forms ---------------------------------------------------------------------------

TEST_F(StoreTest, SerialAndGridAreStoredScrambledAndReadBackPlain)
{
    const std::string serial = gb("卡号 0042-ÄÖ");
    const std::string grid = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";
    ASSERT_TRUE(store.insertCard(makeCard("alice", serial, grid, gb("网游"), "A,B,C,D,E,F")));

    const auto card = store.findCardByAccount("alice");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->serial, serial);
    EXPECT_EQ(card->grid, grid);
    EXPECT_EQ(card->type, gb("网游"));
    EXPECT_EQ(card->orientation, gb("横向字母"));
    EXPECT_EQ(card->letters, "A,B,C,D,E,F");

    RawDb raw(file());
    const std::string storedSerial = raw.one("select mb_sn from mb_data");
    const std::string storedGrid = raw.one("select mb_text from mb_data");
    EXPECT_EQ(storedSerial.size(), 2 * serial.size());
    EXPECT_EQ(storedGrid.size(), 2 * grid.size());
    for (const std::string& stored : {storedSerial, storedGrid})
        EXPECT_EQ(stored.find_first_not_of(DefaultAlphabet), std::string::npos) << stored;
    EXPECT_EQ(raw.one("select mb_type from mb_data"), "网游") << "texts are stored as UTF-8";
    EXPECT_EQ(raw.one("select mb_xandy from mb_data"), "横向字母");
    EXPECT_EQ(raw.one("select typeof(ID) from mb_data"), "integer");
}

TEST_F(StoreTest, OrientationIsStoredAsOneOfItsTwoTexts)
{
    CardRecord card = makeCard("alice");
    card.orientation = gb("横向字母 ");
    ASSERT_TRUE(store.insertCard(card));
    EXPECT_EQ(store.findCardByAccount("alice")->orientation, gb("竖向字母"));
}

TEST_F(StoreTest, HandEditedScrambledFieldsDecodeByTheCodecsRules)
{
    const struct {
        const char* stored;
        std::string plain;
    } cases[] = {
        {"9IaIbI", "abc"}, {"9", "#"}, {"9Ia", "a$"}, {"!I", "<"}, {"9!", "\xDD"}, {"AA9I", ""}, {"", ""},
    };
    RawDb raw(file());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        raw.exec("delete from mb_data");
        raw.exec(std::string("insert into mb_data (mb_account,mb_sn,mb_text) values ('hand','") + c.stored + "','" +
                 c.stored + "')");
        const auto card = store.findCardByAccount("hand");
        ASSERT_TRUE(card);
        EXPECT_EQ(card->serial, c.plain);
        EXPECT_EQ(card->grid, c.plain);
    }
}

// ---- the first row decides whether a result is empty ------------------------------------------

TEST_F(StoreTest, FirstRowWithoutTheTestedColumnHidesEveryRow)
{
    // The first row of each result decides: the account for the list, the searched column for a
    // search. like never matches NULL, so a NULL account is no first row of an account search.
    const struct {
        const char* firstAccount;
        std::vector<std::string> byAccount;
    } cases[] = {
        {"NULL", {"alice", "bob"}},
        {"''", {}},
    };
    RawDb raw(file());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstAccount);
        raw.exec("delete from mb_data");
        raw.exec(std::string("insert into mb_data (mb_type,mb_account) values ('QQ',") + c.firstAccount + ")");
        raw.exec("insert into mb_data (mb_type,mb_account) values ('QQ','alice'), ('QQ','bob')");

        EXPECT_THAT(store.listAllCards(), IsEmpty());
        EXPECT_EQ(accounts(store.searchCards(SearchColumn::Account, "")), c.byAccount);
        EXPECT_THAT(accounts(store.searchCards(SearchColumn::Type, "Q")), ElementsAre("", "alice", "bob"));
        EXPECT_TRUE(store.findCardByAccount("bob"));
    }
    EXPECT_FALSE(store.findCardByAccount("")) << "a card found by an empty account is not found";

    raw.exec("update mb_data set mb_type=NULL where mb_account='alice'");
    raw.exec("delete from mb_data where mb_account=''");
    EXPECT_THAT(accounts(store.listAllCards()), ElementsAre("alice", "bob"));
    EXPECT_THAT(accounts(store.searchCards(SearchColumn::Type, "")), ElementsAre("bob"));
    raw.exec("update mb_data set mb_type='' where mb_account='alice'");
    EXPECT_THAT(accounts(store.searchCards(SearchColumn::Type, "")), IsEmpty());
}

TEST_F(StoreTest, NullColumnsReadAsEmptyTexts)
{
    RawDb raw(file());
    raw.exec("insert into mb_data (mb_account) values ('bare')");
    raw.exec("insert into mb_types (mb_type) values (NULL), ('QQ'), ('')");

    const auto card = store.findCardByAccount("bare");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->type, "");
    EXPECT_EQ(card->serial, "");
    EXPECT_EQ(card->orientation, "");
    EXPECT_EQ(card->grid, "");
    EXPECT_EQ(card->letters, "");
    const auto cards = store.listAllCards();
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].type, "");
    EXPECT_THAT(store.listTypes(), ElementsAre("", "QQ", "")) << "the type list has no emptiness test";
    EXPECT_FALSE(store.findType(""));
}

// ---- hostile and long texts -----------------------------------------------------------------

TEST_F(StoreTest, AwkwardTextsAreStoredAndFoundExactlyAsTyped)
{
    const std::vector<std::string> texts = {
        "o'neil",
        "''",
        "a' or '1'='1",
        "'); drop table mb_data; --",
        "\"quoted\"",
        "100%",
        "_x_",
        "back\\slash\\",
        "tab\there",
        " padded ",
        gb("张三的卡"),
        gb("表情😀与𠀀"),
        gb("Ωмε"),
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(gbToUtf8(text));
        CardRecord card = makeCard(text, text, text + "\r\n" + text, text, text);
        ASSERT_TRUE(store.insertCard(card));
        ASSERT_TRUE(store.insertType(text));

        const auto found = store.findCardByAccount(text);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->account, text);
        EXPECT_EQ(found->type, text);
        EXPECT_EQ(found->serial, text);
        EXPECT_EQ(found->grid, text + "\r\n" + text);
        EXPECT_EQ(found->letters, text);
        EXPECT_TRUE(store.findType(text));
        const auto listed = store.listAllCards();
        EXPECT_EQ(listed.back().account, text);
        EXPECT_EQ(listed.back().type, text);
        EXPECT_EQ(store.listTypes().back(), text);
        const auto matches = accounts(store.searchCards(SearchColumn::Account, text));
        EXPECT_NE(std::find(matches.begin(), matches.end(), text), matches.end());

        EXPECT_TRUE(store.deleteType(text));
        EXPECT_FALSE(store.findType(text));
    }
    EXPECT_EQ(store.listAllCards().size(), texts.size());
}

TEST_F(StoreTest, ColumnSizesCountCharactersAndOverlongWritesFailWithoutChange)
{
    const struct {
        const char* name;
        std::string piece; // one character
    } alphabets[] = {{"latin", "x"}, {"chinese", gb("卡")}, {"emoji", gb("😀")}, {"apostrophe", "'"}};
    for (const auto& a : alphabets) {
        SCOPED_TRACE(a.name);
        const std::string fits = repeated(a.piece, 255);
        const std::string tooLong = repeated(a.piece, 256);

        ASSERT_TRUE(store.insertCard(makeCard(fits, "s", "1", fits, fits)));
        EXPECT_EQ(store.findCardByAccount(fits)->letters, fits);
        EXPECT_TRUE(store.insertType(fits));
        EXPECT_TRUE(store.findType(fits));

        EXPECT_FALSE(store.insertCard(makeCard(tooLong)));
        EXPECT_FALSE(store.insertCard(makeCard("t", "s", "1", tooLong)));
        EXPECT_FALSE(store.insertCard(makeCard("l", "s", "1", "QQ", tooLong)));
        EXPECT_FALSE(store.insertType(tooLong));
        EXPECT_FALSE(store.updateCard(fits, makeCard(tooLong)));
        EXPECT_FALSE(store.updateCard(fits, makeCard(fits, "s", "1", fits, tooLong)));
        EXPECT_EQ(store.findCardByAccount(fits)->letters, fits) << "a failed update changes nothing";

        EXPECT_TRUE(store.deleteCard(store.listAllCards().back().id));
        EXPECT_TRUE(store.deleteType(fits));
    }
    EXPECT_THAT(store.listAllCards(), IsEmpty());
    EXPECT_THAT(store.listTypes(), IsEmpty());
}

TEST_F(StoreTest, SerialFitsUpTo127BytesAndTheGridHasNoLimit)
{
    const struct {
        std::string serial;
        bool stored;
    } cases[] = {
        {std::string(127, '7'), true},
        {std::string(128, '8'), false},
        {repeated(gb("卡"), 63) + "x", true},  // 127 bytes
        {repeated(gb("卡"), 64), false},       // 128 bytes, 64 characters
        {repeated(gb("😀"), 31) + "abc", true}, // 127 bytes
        {repeated(gb("😀"), 32), false},        // 128 bytes, 32 characters
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial.size());
        const std::string account = "card" + std::to_string(++n);
        EXPECT_EQ(store.insertCard(makeCard(account, c.serial)), c.stored);
        EXPECT_EQ(store.findCardByAccount(account).has_value(), c.stored);
        if (c.stored) {
            EXPECT_EQ(store.findCardByAccount(account)->serial, c.serial);
        }
    }

    std::string grid;
    for (int row = 0; grid.size() < 200000; ++row)
        grid += (row ? "\r\n" : "") + repeated(gb("十-"), 50) + std::to_string(row);
    ASSERT_TRUE(store.insertCard(makeCard("big", "s", grid)));
    EXPECT_EQ(store.findCardByAccount("big")->grid, grid);
}

TEST_F(StoreTest, CardsSurviveClosingAndReopening)
{
    ASSERT_TRUE(store.insertCard(makeCard("alice", "sn-a")));
    ASSERT_TRUE(store.insertType("QQ"));
    store.closeStore();
    EXPECT_FALSE(store.findCardByAccount("alice"));

    CardStore other(std::make_unique<SqliteConnection>(), store.databasePath());
    ASSERT_TRUE(other.openStore());
    EXPECT_EQ(other.findCardByAccount("alice")->serial, "sn-a");
    EXPECT_THAT(other.listTypes(), ElementsAre("QQ"));
    ASSERT_TRUE(store.openStore());
    EXPECT_TRUE(store.openStore()) << "opening again reopens";
    EXPECT_THAT(accounts(store.listAllCards()), ElementsAre("alice"));
}

} // namespace
} // namespace velkora::test
