#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/HotKeyTyping.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

// Typed texts and waits land in one log, so their order is checked as well.
using Log = std::vector<std::string>;

class FakeTyper : public KeyTyper {
public:
    explicit FakeTyper(Log& log) : log_(log) {}
    void typeText(const std::string& gbText) override { log_.push_back(u8(gbText)); }

private:
    Log& log_;
};

class FakePump : public EventPump {
public:
    explicit FakePump(Log& log) : log_(log) {}
    void waitProcessingEvents(int milliseconds) override
    {
        log_.push_back("wait " + std::to_string(milliseconds));
        if (duringWait) {
            auto events = std::move(duringWait); // handled once
            events();
        }
    }
    std::function<void()> duringWait; // events that arrive while waiting

private:
    Log& log_;
};

class FakeRegistrar : public HotKeyRegistrar {
public:
    bool registerHotKey(int id, std::uint32_t modifiers, std::uint32_t virtualKey) override
    {
        asked.push_back({id, {modifiers, virtualKey}});
        return !heldElsewhere.count({modifiers, virtualKey});
    }
    std::set<std::pair<std::uint32_t, std::uint32_t>> heldElsewhere;
    std::vector<std::pair<int, std::pair<std::uint32_t, std::uint32_t>>> asked;
};

class FakeWindow : public ToggledWindow {
public:
    bool isVisible() const override { return visible; }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    bool visible = true;
};

class NoOptionsView : public TypingOptionsView {
public:
    void setFullInputTicked(bool) override {}
    void setSpeedIndex(int) override {}
};

const std::string ThreeAnswers = "12\r\n\r\n34\r\n\r\n56\r\n\r\n";

class HotKeyTypingTest : public ::testing::Test {
protected:
    HotKeyTypingTest() { setAnswers(ThreeAnswers, 3); }

    void setAnswers(const std::string& resultText, int count)
    {
        card.resultText = resultText;
        card.queriedCount = count;
        card.nextValue = 0;
    }
    void singleMode() { options.fullInputClicked(false); }
    void fullMode(int speedIndex)
    {
        options.fullInputClicked(true);
        options.speedPicked(speedIndex);
    }
    Log pressAltP()
    {
        log.clear();
        typing.typeResult();
        return log;
    }

    Log log;
    FakeTyper typer{log};
    FakePump pump{log};
    FakeRegistrar registrar;
    FakeWindow window;
    FakeSettings settings;
    NoOptionsView optionsView;
    TypingOptions options{optionsView, settings};
    LoadedCard card;
    HotKeyTyping typing{registrar, typer, pump, window, card, options};
};

TEST_F(HotKeyTypingTest, SinglePressesCycleThroughTheAnswers)
{
    struct Case {
        const char* name;
        std::string resultText;
        int count;
        std::vector<std::string> typed; // one press each
    };
    const Case cases[] = {
        {"three answers", ThreeAnswers, 3, {"12", "34", "56", "12", "34"}},
        {"one cell", "7\r\n\r\n", 1, {"7", "7", "7"}},
        {"empty answer in the middle", "12\r\n\r\n\r\n\r\n56\r\n\r\n", 3, {"12", "", "56", "12"}},
        {"Chinese answer", gb("甲乙\r\n\r\n9\r\n\r\n"), 2, {"甲乙", "9", "甲乙"}},
    };
    singleMode();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setAnswers(c.resultText, c.count);
        for (std::size_t press = 0; press < c.typed.size(); ++press) {
            EXPECT_EQ(pressAltP(), Log{c.typed[press]}) << "press " << press + 1;
            EXPECT_EQ(card.nextValue, static_cast<int>(press + 1) % c.count) << "press " << press + 1;
        }
    }
}

TEST_F(HotKeyTypingTest, FullInputTypesEveryAnswerWithThePauseOfTheSpeedAfterEach)
{
    const std::pair<int, int> speeds[] = {{0, 10}, {1, 50}, {2, 150}, {3, 300}, {4, 500}, {5, 1000}};
    for (const auto& [index, pause] : speeds) {
        SCOPED_TRACE(index);
        fullMode(index);
        const std::string wait = "wait " + std::to_string(pause);
        EXPECT_EQ(pressAltP(), (Log{"12", wait, "34", wait, "56", wait}));
        EXPECT_EQ(card.nextValue, 0);
    }

    fullMode(-1); // no speed selected: no pause at all, not even a zero wait
    EXPECT_EQ(pressAltP(), (Log{"12", "34", "56"}));
    EXPECT_EQ(card.nextValue, 0);

    setAnswers("7\r\n\r\n", 1);
    fullMode(0);
    EXPECT_EQ(pressAltP(), (Log{"7", "wait 10"}));
}

TEST_F(HotKeyTypingTest, FullInputGoesOnAfterTheLastTypedAnswerAndWraps)
{
    singleMode();
    EXPECT_EQ(pressAltP(), Log{"12"});
    fullMode(-1);
    EXPECT_EQ(pressAltP(), (Log{"34", "56", "12"}));
    EXPECT_EQ(card.nextValue, 1);
    EXPECT_EQ(pressAltP(), (Log{"34", "56", "12"}));
}

TEST_F(HotKeyTypingTest, APressDuringAPauseStartsANestedRunOnTheSameCounter)
{
    fullMode(0);
    pump.duringWait = [this] { typing.typeResult(); };
    EXPECT_EQ(pressAltP(), (Log{"12", "wait 10",                                  // outer run
                                "34", "wait 10", "56", "wait 10", "12", "wait 10", // nested run
                                "34", "wait 10", "56", "wait 10"}));               // outer run goes on
    EXPECT_EQ(card.nextValue, 0);
}

TEST_F(HotKeyTypingTest, ThePlaceholderTypesNothingInEitherMode)
{
    setAnswers(std::string(ResultPlaceholder), 3);
    card.nextValue = 1;
    singleMode();
    EXPECT_TRUE(pressAltP().empty());
    fullMode(3);
    EXPECT_TRUE(pressAltP().empty());
    EXPECT_EQ(card.nextValue, 1);
}

TEST_F(HotKeyTypingTest, AResetDuringAFullInputPauseStopsTheRunInsteadOfTypingDashes)
{
    fullMode(3);
    pump.duringWait = [this] { // the user presses 重新查询 while the first pause runs
        card.resultText = std::string(ResultPlaceholder);
        card.nextValue = 0;
    };
    EXPECT_EQ(pressAltP(), (Log{"12", "wait 300"}));
    EXPECT_EQ(card.nextValue, 0);
}

TEST_F(HotKeyTypingTest, RegistrationNumbersTheKeysThatWereTakenAndDispatchesById)
{
    registrar.heldElsewhere.insert({HotKeyModControl, 0x7B});
    int toggled = 0, typed = 0;
    EXPECT_FALSE(typing.bindHotKey(HotKeyModControl, 0x7B, [&] { ++toggled; }));
    EXPECT_EQ(typing.hotKeyCount(), 0u);
    EXPECT_TRUE(typing.bindHotKey(HotKeyModAlt, 0x50, [&] { ++typed; }));
    EXPECT_TRUE(typing.bindHotKey(HotKeyModControl | HotKeyModShift, 0x7B, [&] { ++toggled; }));

    using Asked = std::pair<int, std::pair<std::uint32_t, std::uint32_t>>;
    EXPECT_EQ(registrar.asked, (std::vector<Asked>{{1, {2, 0x7B}}, {1, {1, 0x50}}, {2, {6, 0x7B}}}))
        << "the refused key's identifier goes to the next key";

    for (int id : {0, 3, -1, 1000})
        EXPECT_FALSE(typing.dispatchHotKey(id)) << id;
    EXPECT_EQ(typed + toggled, 0);
    EXPECT_TRUE(typing.dispatchHotKey(1));
    EXPECT_EQ(typed, 1);
    EXPECT_TRUE(typing.dispatchHotKey(2));
    EXPECT_EQ(toggled, 1);
}

TEST_F(HotKeyTypingTest, TheStartupKeysReachToggleAndTyping)
{
    singleMode();
    HotKeys& keys = typing;
    ASSERT_TRUE(keys.bindHotKey(HotKeyModControl, 0x7B, [&] { keys.toggleMainWindow(); }));
    ASSERT_TRUE(keys.bindHotKey(HotKeyModAlt, 0x50, [&] { keys.typeResult(); }));

    typing.dispatchHotKey(1);
    EXPECT_FALSE(window.visible);
    typing.dispatchHotKey(1);
    EXPECT_TRUE(window.visible);
    typing.dispatchHotKey(2);
    typing.dispatchHotKey(2);
    EXPECT_EQ(log, (Log{"12", "34"}));
}

// The counter lives in the query panel's card: loading and resetting start the cycle afresh.
TEST(HotKeyTypingWithQueryPanel, LoadAndResetStartTheNextCycleAtTheFirstAnswer)
{
    TempStore db;
    db.add("t", "player", "", "13-15-23\r\n99-15-21\r\n72-33-55", "A,B,C");

    class CellsView : public testing::NullQueryPanelView {
    public:
        std::string cellText(int cell) const override { return cells[cell - 1]; }
        void setCellText(int cell, const std::string& text) override { cells[cell - 1] = text; }
        std::string cells[3];
    } view;
    FakeMessages messages;
    FakeSettings settings;
    FakeClipboard clipboard;
    QueryPanel panel(view, db.store, messages, settings, clipboard);
    NoOptionsView optionsView;
    TypingOptions options(optionsView, settings);
    options.fullInputClicked(false);
    Log log;
    FakeTyper typer(log);
    FakePump pump(log);
    FakeRegistrar registrar;
    FakeWindow window;
    HotKeyTyping typing(registrar, typer, pump, window, panel.loadedCard(), options);

    const auto query = [&] {
        view.cells[0] = "A1";
        view.cells[1] = "B2";
        view.cells[2] = "C3";
        panel.runQueryButton();
    };
    panel.loadSelectedCard(CardListEntry{"1", "t", "player"});
    typing.typeResult();
    EXPECT_TRUE(log.empty()) << "nothing queried yet";

    query();
    typing.typeResult();
    typing.typeResult();
    panel.resetQuery();
    typing.typeResult();
    EXPECT_EQ(log, (Log{"13", "15"})) << "after the reset the placeholder types nothing";
    query();
    typing.typeResult();
    EXPECT_EQ(log.back(), "13");

    typing.typeResult();
    panel.loadSelectedCard(CardListEntry{"1", "t", "player"});
    query();
    typing.typeResult();
    EXPECT_EQ(log, (Log{"13", "15", "13", "15", "13"}));
}

} // namespace
} // namespace velkora::testing
