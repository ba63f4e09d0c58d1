#include <gtest/gtest.h>

#include "mainwindow/CardList.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

class FakeListView : public CardListView {
public:
    void clearRows() override { rows.clear(); }
    void appendRows(std::vector<CardListEntry> more) override { rows.insert(rows.end(), more.begin(), more.end()); }
    std::optional<CardListEntry> selectedRow() const override
    {
        if (selected < 0 || selected >= static_cast<int>(rows.size()))
            return std::nullopt;
        return rows[static_cast<std::size_t>(selected)];
    }
    Size listGroupSize() const override { return {299, 280}; }
    Size emptyPanelSize() const override { return {264, 128}; }
    Size notFoundPanelSize() const override { return {264, 128}; }
    void showEmptyPanel(int left, int top) override { emptyPanel = {left, top}; emptyVisible = true; }
    void hideEmptyPanel() override { emptyVisible = false; }
    void showNotFoundPanel(int left, int top) override { notFoundPanel = {left, top}; notFoundVisible = true; }
    void hideNotFoundPanel() override { notFoundVisible = false; }
    void setSearchGroupEnabled(bool enabled) override { searchEnabled = enabled; }
    int searchTypeIndex() const override { return typeIndex; }
    std::string searchTypeText() const override { return gb(typeIndex == 0 ? "密保类型" : "密保帐号"); }
    std::string keywordText() const override { return keyword; }
    void setKeywordPlain(const std::string& prompt) override { keyword = prompt; keywordEntries.clear(); keywordHasList = false; }
    void setKeywordList(const std::vector<std::string>& entries, const std::string& prompt) override
    {
        keywordEntries = entries;
        keyword = prompt;
        keywordHasList = true;
    }
    void setKeywordText(const std::string& text) override { keyword = text; }
    void focusKeyword() override { ++keywordFocused; }
    void popupCardMenu(int x, int y) override { menuAt = {x, y}; }

    std::vector<CardListEntry> rows;
    int selected = -1;
    std::pair<int, int> emptyPanel{-240, 40}, notFoundPanel{-232, 224}, menuAt{0, 0};
    bool emptyVisible = false, notFoundVisible = false, searchEnabled = true, keywordHasList = false;
    int typeIndex = 1;
    std::string keyword = gb("请<输入>密保帐号关键字！");
    std::vector<std::string> keywordEntries;
    int keywordFocused = 0;

    std::vector<std::string> accounts() const
    {
        std::vector<std::string> out;
        for (const auto& r : rows)
            out.push_back(u8(r.account));
        return out;
    }
};

class FakeEditor : public CardEditorOpener {
public:
    void openCardEditor(EditorMode mode, const std::string& account) override { opened.emplace_back(mode, u8(account)); }
    std::vector<std::pair<EditorMode, std::string>> opened;
};

class CardListTest : public ::testing::Test {
protected:
    TempStore db;
    FakeListView view;
    FakeMessages messages;
    FakeEditor editor;
    CardList list{view, db.store, messages, editor};
};

TEST_F(CardListTest, EmptyStoreShowsThePanelAtItsComputedPlaceAndLocksTheSearch)
{
    list.fillCardList();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(view.emptyVisible);
    EXPECT_EQ(view.emptyPanel, std::make_pair(22, 95));
    EXPECT_FALSE(view.searchEnabled);

    db.add(gb("游戏"), "first");
    list.fillCardList();
    EXPECT_FALSE(view.emptyVisible);
    EXPECT_TRUE(view.searchEnabled);
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0].id, "1");
    EXPECT_EQ(u8(view.rows[0].type), "游戏");
    EXPECT_EQ(view.rows[0].account, "first");
}

TEST_F(CardListTest, FillListsCardsInStoreOrderAndHidesTheNotFoundPanel)
{
    for (const char* account : {"b", "a", "c"})
        db.add("t", account);
    view.notFoundVisible = true;
    view.selected = 0;
    list.fillCardList();
    EXPECT_EQ(view.accounts(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_FALSE(view.notFoundVisible);
}

TEST_F(CardListTest, SearchRefusesAMissingKeywordNamingTheSearchType)
{
    struct Case {
        int typeIndex;
        std::string keyword;
        std::string expected;
    };
    const Case cases[] = {
        {1, "", "请输入[密保帐号]搜索关键字！"},
        {1, "请<输入>密保帐号关键字！", "请输入[密保帐号]搜索关键字！"},
        {0, "请<选择>或者<输入>密保类型关键字！", "请输入[密保类型]搜索关键字！"},
        {0, "请<输入>密保帐号关键字！", "请输入[密保类型]搜索关键字！"},
    };
    db.add("t", "kept");
    list.fillCardList();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        messages.shown.clear();
        view.typeIndex = c.typeIndex;
        view.keyword = gb(c.keyword);
        const int focusedBefore = view.keywordFocused;
        list.searchCardList();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.expected);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].caption, "信息：");
        EXPECT_EQ(view.keywordFocused, focusedBefore + 1);
        EXPECT_EQ(view.accounts(), std::vector<std::string>{"kept"}) << "a refused search leaves the list";
    }
}

TEST_F(CardListTest, SearchByTypeOrAccountAndTheNotFoundPanel)
{
    db.add("abcGame", "acct12x");
    db.add("other", "z12");
    db.add("ABC bank", "nothing");
    list.fillCardList();

    view.typeIndex = 0;
    view.keyword = "abc";
    list.searchCardList();
    EXPECT_EQ(view.accounts(), (std::vector<std::string>{"acct12x", "nothing"})) << "type search ignores case";

    view.typeIndex = 1;
    view.keyword = "12";
    list.searchCardList();
    EXPECT_EQ(view.accounts(), (std::vector<std::string>{"acct12x", "z12"}));
    EXPECT_FALSE(view.notFoundVisible);

    view.keyword = "missing";
    list.searchCardList();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(view.notFoundVisible);
    EXPECT_EQ(view.notFoundPanel, std::make_pair(17, 76));
    EXPECT_TRUE(view.searchEnabled);

    list.continueSearch();
    EXPECT_FALSE(view.notFoundVisible);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.keywordFocused, 1);

    list.searchCardList();
    list.showAllCards();
    EXPECT_FALSE(view.notFoundVisible);
    EXPECT_EQ(view.rows.size(), 3u);
}

TEST_F(CardListTest, KeywordWithAnApostropheIsSearchedAsTyped)
{
    db.add("t", "o'brien");
    db.add("t", "obrien");
    view.keyword = "o'b";
    list.searchCardList();
    EXPECT_EQ(view.accounts(), std::vector<std::string>{"o'brien"});
}

TEST_F(CardListTest, ChoosingASearchTypeSwitchesTheKeywordBox)
{
    db.store.insertType(gb("网游"));
    db.store.insertType("bank");
    list.searchTypeChosen(0);
    EXPECT_TRUE(view.keywordHasList);
    ASSERT_EQ(view.keywordEntries.size(), 2u);
    EXPECT_EQ(u8(view.keywordEntries[0]), "网游");
    EXPECT_EQ(view.keywordEntries[1], "bank");
    EXPECT_EQ(u8(view.keyword), "请<选择>或者<输入>密保类型关键字！");

    list.searchTypeChosen(1);
    EXPECT_FALSE(view.keywordHasList);
    EXPECT_TRUE(view.keywordEntries.empty());
    EXPECT_EQ(u8(view.keyword), "请<输入>密保帐号关键字！");
}

TEST_F(CardListTest, PickingAKeywordEntrySearchesAtOnce)
{
    db.add("bank", "a1");
    db.add("game", "a2");
    view.typeIndex = 0;
    list.keywordPicked("game");
    EXPECT_EQ(view.accounts(), std::vector<std::string>{"a2"});
}

TEST_F(CardListTest, DeleteAsksThenReportsAndRefills)
{
    db.add(gb("网游"), gb("我的号"));
    list.fillCardList();
    view.selected = 0;

    messages.answerYes = false;
    list.deleteSelectedCard();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].text, "是否删除密保卡：[网游]-[我的号]？");
    EXPECT_EQ(messages.asked[0].caption, "信息：");
    EXPECT_EQ(view.rows.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());

    messages.answerYes = true;
    list.deleteSelectedCard();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "密保卡：[网游]-[我的号] 已经被删除！");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(view.emptyVisible) << "deleting the last card brings up the empty-store panel";
    EXPECT_FALSE(db.store.findCardByAccount(gb("我的号")).has_value());
}

TEST_F(CardListTest, AFailedDeleteShowsNothingAndKeepsTheList)
{
    db.add("t", "a");
    list.fillCardList();
    view.selected = 0;
    db.store.closeStore();
    list.deleteSelectedCard();
    EXPECT_EQ(messages.asked.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(view.rows.size(), 1u);
}

TEST_F(CardListTest, KeysDoubleClickAndMenuAct)
{
    db.add("t", "acc");
    list.fillCardList();

    // Nothing selected: Delete, Enter and double click do nothing; Insert still adds.
    list.keyDown(46);
    list.keyDown(13);
    list.doubleClick();
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_TRUE(editor.opened.empty());
    list.keyDown(45);
    ASSERT_EQ(editor.opened.size(), 1u);
    EXPECT_EQ(editor.opened[0], std::make_pair(EditorMode::Add, std::string()));

    view.selected = 0;
    list.keyDown(13);
    list.doubleClick();
    ASSERT_EQ(editor.opened.size(), 3u);
    EXPECT_EQ(editor.opened[1], std::make_pair(EditorMode::Edit, std::string("acc")));
    EXPECT_EQ(editor.opened[2], editor.opened[1]);

    messages.answerYes = false;
    list.keyDown(46);
    EXPECT_EQ(messages.asked.size(), 1u);
    list.keyDown('A');
    EXPECT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(editor.opened.size(), 3u);

    list.rightClick(100, 200);
    EXPECT_EQ(view.menuAt, std::make_pair(103, 203));
}

} // namespace
} // namespace velkora::testing
