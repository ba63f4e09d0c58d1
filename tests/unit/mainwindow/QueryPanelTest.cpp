#include <gtest/gtest.h>

#include "mainwindow/QueryPanel.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

class FakeQueryView : public QueryPanelView {
public:
    void setQueryGroupEnabled(bool enabled) override { groupEnabled = enabled; }
    void setQueryGroupCaption(const std::string& caption) override { groupCaption = u8(caption); }
    void setAccountText(const std::string& text) override { account = text; }
    std::string accountText() const override { return account; }
    void setSerialText(const std::string& text) override { serial = text; }
    std::string serialText() const override { return serial; }
    std::string cellText(int cell) const override { return cells[cell - 1]; }
    void setCellText(int cell, const std::string& text) override { cells[cell - 1] = text; }
    void focusCell(int cell) override { focus.push_back("cell" + std::to_string(cell)); }
    void focusQueryButton() override { focus.push_back("button"); }
    void setQueryButtonCaption(const std::string& caption) override { buttonCaption = u8(caption); }
    void setResultText(const std::string& text) override { results.push_back(u8(text)); }
    void startAdvanceTimer(int ms) override { timerMs = ms; }
    void stopAdvanceTimer() override { timerMs = 0; }
    void setAutoSearchTicked(bool ticked) override { autoSearchTick = ticked; }
    void setAutoLineTicked(bool ticked) override { autoLineTick = ticked; }

    std::string result() const { return results.empty() ? std::string() : results.back(); }

    bool groupEnabled = false;
    std::string groupCaption, account, serial, buttonCaption = "查询密保";
    std::string cells[3];
    std::vector<std::string> focus, results;
    int timerMs = 0;
    bool autoSearchTick = true, autoLineTick = true;
};

const std::string ExampleGrid = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";

class QueryPanelTest : public ::testing::Test {
protected:
    QueryPanelTest()
    {
        db.add(gb("网游"), "player", gb("序列号-01"), ExampleGrid, "A,B,C,D,E,F");
        db.add("t", "other", "", "1-2", "A,B");
        panel.setKeyboardCloser([this] { ++keyboardClosed; });
    }

    void select(const std::string& id, const std::string& account)
    {
        panel.loadSelectedCard(CardListEntry{id, "t", account});
    }
    void query(const std::string& c1, const std::string& c2 = "", const std::string& c3 = "")
    {
        view.cells[0] = c1;
        view.cells[1] = c2;
        view.cells[2] = c3;
        panel.runQueryButton();
    }

    TempStore db;
    FakeQueryView view;
    FakeMessages messages;
    FakeSettings settings;
    FakeClipboard clipboard;
    QueryPanel panel{view, db.store, messages, settings, clipboard};
    int keyboardClosed = 0;
};

TEST_F(QueryPanelTest, NoCardStateDisablesTheGroup)
{
    panel.showNoCard();
    EXPECT_FALSE(view.groupEnabled);
    EXPECT_EQ(view.groupCaption, "密保查询-请先选择密保卡");
}

TEST_F(QueryPanelTest, LoadingACardShowsItsAccountAndPlainSerialAndResetsTheQuery)
{
    view.cells[0] = "A1";
    panel.loadedCard().nextValue = 2;
    select("1", "player");
    EXPECT_TRUE(view.groupEnabled);
    EXPECT_EQ(view.groupCaption, "密保查询-密保卡ID：1");
    EXPECT_EQ(view.account, "player");
    EXPECT_EQ(u8(view.serial), "序列号-01");
    for (const auto& cell : view.cells)
        EXPECT_EQ(cell, "");
    EXPECT_EQ(view.result(), "-\r\n\r\n-\r\n\r\n-");
    EXPECT_EQ(view.buttonCaption, "查询密保");
    EXPECT_EQ(panel.loadedCard().grid, ExampleGrid);
    EXPECT_EQ(panel.loadedCard().nextValue, 0);
    EXPECT_EQ(panel.keyboardTarget(), 1);
    EXPECT_EQ(keyboardClosed, 1);
}

TEST_F(QueryPanelTest, LosingTheSelectionKeepsTheLoadedCard)
{
    select("1", "player");
    panel.loadSelectedCard(std::nullopt);
    EXPECT_FALSE(view.groupEnabled);
    EXPECT_EQ(view.groupCaption, "密保查询-请先选择密保卡");
    EXPECT_EQ(view.account, "player");
    EXPECT_EQ(panel.loadedCard().grid, ExampleGrid);
    EXPECT_EQ(view.result(), "-\r\n\r\n-\r\n\r\n-");
}

TEST_F(QueryPanelTest, ACardNoLongerStoredLoadsEmptyAndEveryQueryFails)
{
    select("1", "player");
    select("9", "gone");
    EXPECT_TRUE(view.groupEnabled);
    EXPECT_EQ(view.groupCaption, "密保查询-密保卡ID：9");
    EXPECT_EQ(view.serial, "");
    EXPECT_EQ(panel.loadedCard().grid, "");
    query("A1");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "[A1]超过密保卡字母长度范围！");
    EXPECT_EQ(view.result(), "-\r\n\r\n-\r\n\r\n-");
}

TEST_F(QueryPanelTest, ASuccessfulQueryShowsTheAnswersAndTheNextPressResets)
{
    select("1", "player");
    query("A1", "B2", "C3");
    EXPECT_EQ(view.result(), "13\r\n\r\n15\r\n\r\n55\r\n\r\n");
    EXPECT_EQ(panel.loadedCard().resultText, "13\r\n\r\n15\r\n\r\n55\r\n\r\n");
    EXPECT_EQ(panel.loadedCard().queriedCount, 3);
    EXPECT_EQ(view.buttonCaption, "重新查询");
    EXPECT_TRUE(view.focus.empty()) << "a successful query does not move the focus";

    panel.loadedCard().nextValue = 1;
    panel.cellFocused(3);
    panel.runQueryButton();
    for (const auto& cell : view.cells)
        EXPECT_EQ(cell, "");
    EXPECT_EQ(view.result(), "-\r\n\r\n-\r\n\r\n-");
    EXPECT_EQ(view.buttonCaption, "查询密保");
    EXPECT_EQ(panel.loadedCard().nextValue, 0);
    EXPECT_EQ(panel.keyboardTarget(), 1);
    EXPECT_EQ(view.focus, std::vector<std::string>{"cell1"});
}

TEST_F(QueryPanelTest, OneCellGivesOneAnswer)
{
    select("1", "player");
    query("A1");
    EXPECT_EQ(view.result(), "13\r\n\r\n");
    EXPECT_EQ(panel.loadedCard().queriedCount, 1);
}

TEST_F(QueryPanelTest, InputErrorsFocusTheirBoxAndLeaveTheLabel)
{
    struct Case {
        std::string c1, c2, c3;
        std::string message;
        std::string focus;
    };
    const Case cases[] = {
        {"", "B2", "C3", "第一格坐标值为必填项！（其余两格根据坐标情况选填！）", "cell1"},
        {"A", "B2", "C3", "第一格坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)", "cell1"},
        {"A1", "B", "C3", "第二格坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)", "cell2"},
        {"A1", "B2", "C", "第三格坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)", "cell3"},
    };
    select("1", "player");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        messages.shown.clear();
        view.focus.clear();
        const std::size_t resultsBefore = view.results.size();
        query(c.c1, c.c2, c.c3);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].caption, "信息：");
        EXPECT_EQ(view.focus, std::vector<std::string>{c.focus});
        EXPECT_EQ(view.results.size(), resultsBefore) << "the label is left as it was";
        EXPECT_EQ(view.buttonCaption, "查询密保");
    }
}

TEST_F(QueryPanelTest, LookupErrorsEmptyTheLabelThenShowThePlaceholder)
{
    struct Case {
        std::string c1, c2;
        std::string message, caption;
    };
    const Case cases[] = {
        {"G1", "", "[G1]超过密保卡字母长度范围！", "错误"},
        {"A1", "G2", "[G2]超过密保卡字母长度范围！", "错误"},
        {"A5", "", "数字(行)[A5]坐标超出范围，请您检查或重新编辑！", "信息："},
    };
    select("1", "player");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        messages.shown.clear();
        view.results.clear();
        view.focus.clear();
        query(c.c1, c.c2);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].caption, c.caption);
        EXPECT_EQ(view.results, (std::vector<std::string>{"", "-\r\n\r\n-\r\n\r\n-"}));
        EXPECT_TRUE(view.focus.empty());
        EXPECT_EQ(view.buttonCaption, "查询密保");
        EXPECT_EQ(panel.loadedCard().resultText, "-\r\n\r\n-\r\n\r\n-");
    }
}

TEST_F(QueryPanelTest, EveryCellChangeRestartsThe800msTimer)
{
    panel.cellChanged(2);
    EXPECT_EQ(view.timerMs, 800);
}

TEST_F(QueryPanelTest, TimerAdvancesTheFocusAndQueriesWhenAllThreeCellsAreFilled)
{
    struct Case {
        bool autoLine, autoSearch;
        std::string c1, c2, c3;
        std::vector<std::string> focus;
        bool queried;
    };
    const Case cases[] = {
        {true, true, "A1", "", "", {"cell2"}, false},
        {true, true, "A1", "B2", "", {"cell2", "cell3"}, false},
        {true, true, "A1", "B2", "C3", {"cell2", "cell3", "button"}, true},
        {true, true, "A", "B2", "", {"cell3"}, false},
        {true, false, "A1", "B2", "C3", {"cell2", "cell3", "button"}, false},
        {false, true, "A1", "B2", "C3", {}, true},
        {false, false, "A1", "B2", "C3", {}, false},
        {true, true, "A10", "B", "", {"cell2"}, false},
    };
    select("1", "player");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.c1 + "|" + c.c2 + "|" + c.c3 + " line=" + std::to_string(c.autoLine) +
                     " search=" + std::to_string(c.autoSearch));
        panel.setAutoLine(c.autoLine);
        panel.setAutoSearch(c.autoSearch);
        panel.resetQuery();
        view.focus.clear();
        view.cells[0] = c.c1;
        view.cells[1] = c.c2;
        view.cells[2] = c.c3;
        panel.cellChanged(1);
        panel.advanceTimerFired();
        EXPECT_EQ(view.focus, c.focus);
        EXPECT_EQ(panel.answersShown(), c.queried);
        EXPECT_EQ(view.timerMs, 0) << "the timer fires once";
    }
}

TEST_F(QueryPanelTest, AutoQueryDoesNothingWhileAnswersAreShown)
{
    select("1", "player");
    query("A1", "B2", "C3");
    const std::size_t shownResults = view.results.size();
    view.cells[0] = "D4";
    panel.advanceTimerFired();
    EXPECT_TRUE(panel.answersShown());
    EXPECT_EQ(view.results.size(), shownResults);
}

TEST_F(QueryPanelTest, CopyButtonsCopyAndConfirmButIgnoreEmptyBoxes)
{
    select("2", "other");
    panel.copySerial();
    EXPECT_EQ(clipboard.sets, 0);
    EXPECT_TRUE(messages.shown.empty());

    panel.copyAccount();
    EXPECT_EQ(clipboard.text, "other");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "密保帐号：other 复制到剪辑板！");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);

    select("1", "player");
    panel.copySerial();
    EXPECT_EQ(u8(clipboard.text), "序列号-01");
    EXPECT_EQ(messages.shown.back().text, "密保序列号：序列号-01 复制到剪辑板！");
}

TEST_F(QueryPanelTest, CoordinateNoteHasNoIcon)
{
    panel.showCoordinateNote();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown[0].text.rfind("不管你的密保卡是什么样子的，在这里坐标格式必须为：\r\n", 0), 0u);
}

TEST_F(QueryPanelTest, MenuTogglesFlipTheTickAndWriteAtOnce)
{
    panel.toggleAutoSearch();
    EXPECT_FALSE(panel.autoSearch());
    EXPECT_FALSE(view.autoSearchTick);
    panel.toggleAutoLine();
    panel.toggleAutoLine();
    EXPECT_TRUE(view.autoLineTick);
    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Soft/AutoSearch=0", "Soft/AutoLine=0", "Soft/AutoLine=1"}));
}

} // namespace
} // namespace velkora::testing
