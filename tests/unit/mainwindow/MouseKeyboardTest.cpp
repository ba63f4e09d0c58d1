#include <gtest/gtest.h>

#include "mainwindow/MouseKeyboard.h"
#include "mainwindow/QueryPanel.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

// The main window as both the query panel and the keypad see it: one set of coordinate boxes.
class FakeWindow : public testing::NullQueryPanelView, public MouseKeyboardView {
public:
    // QueryPanelView
    void focusQueryButton() override { focus.push_back(0); }

    // Both
    std::string cellText(int cell) const override { return cells[cell - 1]; }
    void setCellText(int cell, const std::string& text) override { cells[cell - 1] = text; }
    void focusCell(int cell) override { focus.push_back(cell); }

    // MouseKeyboardView
    Rect queryGroupRect() const override { return group; }
    int keyboardHeight() const override { return height; }
    void showKeyboard(int left, int top) override
    {
        keyboardAt = {left, top};
        keyboardShown = true;
    }
    void hideKeyboard() override
    {
        keyboardShown = false;
        ++hides;
    }
    void setTypingPanelVisible(bool visible) override { typingPanelShown = visible; }
    void setKeyboardLinkText(const std::string& text) override { link = u8(text); }

    std::string cells[3];
    std::vector<int> focus; // cell numbers, 0 for the query button
    Rect group{315, 56, 157, 360};
    int height = 112;
    std::pair<int, int> keyboardAt{-1, -1};
    bool keyboardShown = false;
    bool typingPanelShown = true;
    int hides = 0;
    std::string link = "[鼠标键盘]";
};

constexpr int KeyA = 11, Key1 = 1, Key9 = 9, Key0 = 10, KeyB = 12;

class MouseKeyboardTest : public ::testing::Test {
protected:
    MouseKeyboardTest()
    {
        db.add("t", "player", "SN", "11-12\r\n21-22", "A,B");
        db.add("t", "second", "SN", "11-12\r\n21-22", "A,B");
        panel.loadSelectedCard(CardListEntry{"1", "t", "player"});
    }

    void click(std::initializer_list<int> keys)
    {
        for (int key : keys)
            keyboard.keyClicked(key);
    }

    TempStore db;
    FakeWindow window;
    FakeMessages messages;
    FakeSettings settings;
    FakeClipboard clipboard;
    QueryPanel panel{window, db.store, messages, settings, clipboard};
    MouseKeyboard keyboard{window, panel};
};

TEST_F(MouseKeyboardTest, TheLinkOpensAndClosesTheKeypadInPlaceOfTheTypingOptions)
{
    EXPECT_FALSE(keyboard.isOpen());

    keyboard.linkClicked();
    EXPECT_TRUE(keyboard.isOpen());
    EXPECT_TRUE(window.keyboardShown);
    EXPECT_EQ(window.keyboardAt, std::make_pair(315, 304)) << "bottom edge on the query group's bottom edge";
    EXPECT_FALSE(window.typingPanelShown);
    EXPECT_EQ(window.link, "[关闭键盘]");

    keyboard.linkClicked();
    EXPECT_FALSE(keyboard.isOpen());
    EXPECT_FALSE(window.keyboardShown);
    EXPECT_TRUE(window.typingPanelShown);
    EXPECT_EQ(window.link, "[鼠标键盘]");
}

// The place follows the group and the keypad as they are at the moment of opening.
TEST_F(MouseKeyboardTest, OpeningPlacesTheKeypadFromTheCurrentGeometry)
{
    struct Case {
        Rect group;
        int height;
        int left, top;
    };
    const Case cases[] = {
        {{315, 56, 157, 360}, 112, 315, 304},
        {{0, 0, 157, 112}, 112, 0, 0},
        {{20, 40, 200, 300}, 130, 20, 210},
        {{315, 56, 157, 100}, 112, 315, 44}, // a keypad taller than the group reaches above it
    };
    for (const Case& c : cases) {
        window.group = c.group;
        window.height = c.height;
        keyboard.openKeyboard();
        EXPECT_EQ(window.keyboardAt, std::make_pair(c.left, c.top)) << c.group.top << "+" << c.group.height;
        keyboard.closeKeyboard();
    }
}

TEST_F(MouseKeyboardTest, LoadingACardClosesAnOpenKeypadAndLeavesAClosedOneAlone)
{
    panel.loadSelectedCard(CardListEntry{"2", "t", "second"});
    EXPECT_EQ(window.hides, 0);

    keyboard.openKeyboard();
    panel.loadSelectedCard(CardListEntry{"1", "t", "player"});
    EXPECT_FALSE(keyboard.isOpen());
    EXPECT_FALSE(window.keyboardShown);
    EXPECT_TRUE(window.typingPanelShown);
    EXPECT_EQ(window.link, "[鼠标键盘]");

    // Losing the selection closes it too.
    keyboard.openKeyboard();
    panel.loadSelectedCard(std::nullopt);
    EXPECT_FALSE(keyboard.isOpen());
}

TEST_F(MouseKeyboardTest, KeysAppendToTheBoxThatLastHadTheFocusAndFocusIt)
{
    click({KeyA, Key1});
    EXPECT_EQ(window.cells[0], "A1") << "after a load the first box is the target";
    EXPECT_EQ(window.focus, (std::vector<int>{1, 1}));

    panel.cellFocused(3); // the user clicks 编辑框6
    click({Key9});
    EXPECT_EQ(window.cells[2], "9");
    EXPECT_EQ(window.focus.back(), 3);

    panel.cellFocused(2); // auto-advance or Tab
    click({KeyB, Key0});
    EXPECT_EQ(window.cells[1], "B0");
    EXPECT_EQ(window.cells[0], "A1");

    // A reset makes the first box the target again.
    panel.resetQuery();
    click({KeyB});
    EXPECT_EQ(window.cells[0], "B");
}

TEST_F(MouseKeyboardTest, AKeyNeverMakesAFourthCharacter)
{
    struct Case {
        const char* before;
        const char* after; // after clicking "B"
    };
    const Case cases[] = {
        {"", "B"}, {"A1", "A1B"}, {"A10", "A10"}, {"中A", "中AB"}, {"中A1", "中A1"}, {"AAAA", "AAAA"},
    };
    for (const Case& c : cases) {
        window.cells[0] = gb(c.before);
        window.focus.clear();
        click({KeyB});
        EXPECT_EQ(u8(window.cells[0]), c.after) << c.before;
        EXPECT_EQ(window.focus, std::vector<int>{1}) << "an ignored click still focuses the box";
    }
}

TEST_F(MouseKeyboardTest, BackspaceTakesTheLastCharacterAndClearEmptiesTheBox)
{
    struct Case {
        const char* before;
        const char* afterBackspace;
    };
    const Case cases[] = {{"", ""}, {"A", ""}, {"B12", "B1"}, {"A中", "A"}, {"中", ""}};
    for (const Case& c : cases) {
        window.cells[0] = gb(c.before);
        window.focus.clear();
        keyboard.keyClicked(MouseKeyboard::BackspaceKey);
        EXPECT_EQ(u8(window.cells[0]), c.afterBackspace) << c.before;
        EXPECT_EQ(window.focus, std::vector<int>{1});
    }

    for (const char* before : {"B12", ""}) {
        window.cells[0] = before;
        window.focus.clear();
        keyboard.keyClicked(MouseKeyboard::ClearKey);
        EXPECT_EQ(window.cells[0], "") << before;
        EXPECT_EQ(window.focus, std::vector<int>{1});
    }
}

TEST_F(MouseKeyboardTest, KeysCarryTheirCharactersInRowOrder)
{
    const std::string expected = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string all;
    for (int key = 1; key <= 36; ++key)
        all += MouseKeyboard::keyText(key);
    EXPECT_EQ(all, expected);
    EXPECT_EQ(u8(MouseKeyboard::keyText(37)), "退格");
    EXPECT_EQ(u8(MouseKeyboard::keyText(38)), "重输");
    EXPECT_EQ(MouseKeyboard::keyText(0), "");
    EXPECT_EQ(MouseKeyboard::keyText(39), "");

    // Each character key adds exactly its caption; no key outside 1..38 does anything.
    for (int key = 1; key <= 36; ++key) {
        window.cells[0].clear();
        keyboard.keyClicked(key);
        EXPECT_EQ(window.cells[0], MouseKeyboard::keyText(key)) << key;
    }
    window.focus.clear();
    for (int key : {0, 39, -1}) {
        keyboard.keyClicked(key);
        EXPECT_EQ(window.cells[0], "Z");
    }
    EXPECT_TRUE(window.focus.empty());
}

} // namespace
} // namespace velkora::testing
