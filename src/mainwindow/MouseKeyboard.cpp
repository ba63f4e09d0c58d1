#include "mainwindow/MouseKeyboard.h"

#include <string_view>

#include "carddata/Text.h"
#include "mainwindow/QueryPanel.h"

namespace velkora {
namespace {

// Keys 1 to 36 in order: the digits 1 to 9 and 0 on top, then the capitals row by row.
constexpr std::string_view CharacterKeys = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Characters (not bytes) in a GB18030 text: a box may hold a Chinese character pasted by the user.
std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += gbCharLength(text, pos))
        ++count;
    return count;
}

// The text without its last character, whole: a double-byte character is never cut in half.
std::string withoutLastCharacter(std::string_view text)
{
    std::size_t last = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += gbCharLength(text, pos))
        last = pos;
    return std::string(text.substr(0, last));
}

} // namespace

MouseKeyboard::MouseKeyboard(MouseKeyboardView& view, QueryPanel& panel) : view_(view), panel_(panel)
{
    panel_.setKeyboardCloser([this] {
        if (open_)
            closeKeyboard();
    });
}

void MouseKeyboard::linkClicked()
{
    if (open_)
        closeKeyboard();
    else
        openKeyboard();
}

void MouseKeyboard::openKeyboard()
{
    // The keyboard's bottom edge meets the bottom edge of the query group.
    const Rect group = view_.queryGroupRect();
    view_.showKeyboard(group.left, group.top + group.height - view_.keyboardHeight());
    view_.setTypingPanelVisible(false);
    view_.setKeyboardLinkText(VK_TEXT("[关闭键盘]"));
    open_ = true;
}

void MouseKeyboard::closeKeyboard()
{
    view_.hideKeyboard();
    view_.setTypingPanelVisible(true);
    view_.setKeyboardLinkText(VK_TEXT("[鼠标键盘]"));
    open_ = false;
}

void MouseKeyboard::keyClicked(int key)
{
    if (key < 1 || key > KeyCount)
        return;
    const int cell = panel_.keyboardTarget();
    const std::string text = view_.cellText(cell);
    if (key == ClearKey) {
        view_.setCellText(cell, {});
    } else if (key == BackspaceKey) {
        view_.setCellText(cell, withoutLastCharacter(text));
    } else if (characterCount(text) < MaxCellCharacters) {
        view_.setCellText(cell, text + CharacterKeys[static_cast<std::size_t>(key - 1)]);
    }
    view_.focusCell(cell);
}

std::string MouseKeyboard::keyText(int key)
{
    if (key >= 1 && key <= static_cast<int>(CharacterKeys.size()))
        return std::string(1, CharacterKeys[static_cast<std::size_t>(key - 1)]);
    if (key == BackspaceKey)
        return VK_TEXT("退格");
    if (key == ClearKey)
        return VK_TEXT("重输");
    return {};
}

} // namespace velkora
