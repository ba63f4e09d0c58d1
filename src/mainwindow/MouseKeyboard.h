#pragma once
// The mouse keyboard: a small keypad of digits and capitals over the lower part of the query group
// that fills the coordinate boxes by clicks. Each key writes to the box that last had the keyboard
// focus (the query panel's keyboard target).

#include <cstddef>
#include <string>

namespace velkora {

class QueryPanel;

// A rectangle in the main window's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class MouseKeyboardView {
public:
    virtual ~MouseKeyboardView() = default;

    virtual Rect queryGroupRect() const = 0;  // 分组框3
    virtual int keyboardHeight() const = 0;   // 鼠标键盘
    virtual void showKeyboard(int left, int top) = 0;
    virtual void hideKeyboard() = 0;
    virtual void setTypingPanelVisible(bool visible) = 0;          // 密保查询外形框
    virtual void setKeyboardLinkText(const std::string& text) = 0;  // 鼠标键盘按钮
    // The coordinate boxes 编辑框4..6 as cells 1..3. A changed text restarts the query panel's
    // 800 ms timer, as typing does.
    virtual std::string cellText(int cell) const = 0;
    virtual void setCellText(int cell, const std::string& text) = 0;
    virtual void focusCell(int cell) = 0;
};

class MouseKeyboard {
public:
    // Registers itself with the panel, so that loading a card closes an open keyboard.
    MouseKeyboard(MouseKeyboardView& view, QueryPanel& panel);
    MouseKeyboard(const MouseKeyboard&) = delete;
    MouseKeyboard& operator=(const MouseKeyboard&) = delete;

    void linkClicked(); // closes an open keyboard, opens a closed one
    void openKeyboard();
    void closeKeyboard();
    bool isOpen() const { return open_; }

    // Key 1..38 (`键1`..`键38`): 1..36 add their character, 37 takes back the last character,
    // 38 empties the box. Other numbers do nothing.
    void keyClicked(int key);

    static constexpr int KeyCount = 38;
    static constexpr int BackspaceKey = 37;
    static constexpr int ClearKey = 38;
    // A box holds at most this many characters, typed or clicked; a further key click is ignored.
    static constexpr std::size_t MaxCellCharacters = 3;

    // The caption of a key (GB18030): "1".."9", "0", "A".."Z", "退格", "重输"; empty for no key.
    static std::string keyText(int key);

private:
    MouseKeyboardView& view_;
    QueryPanel& panel_;
    bool open_ = false;
};

} // namespace velkora
