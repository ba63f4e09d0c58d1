#include "editor/CardEditor.h"

#include <optional>
#include <utility>

#include "carddata/Text.h"

namespace velkora {
namespace {

char foldLatin(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithIgnoringLatinCase(std::string_view text, std::string_view prefix)
{
    std::size_t pos = 0;
    while (pos < prefix.size()) {
        if (pos >= text.size())
            return false;
        const std::size_t length = gbCharLength(text, pos);
        if (length == 1) {
            if (foldLatin(text[pos]) != foldLatin(prefix[pos]))
                return false;
        } else if (pos + length > prefix.size() || text.substr(pos, length) != prefix.substr(pos, length)) {
            // A multi-byte character matches only whole and byte for byte.
            return false;
        }
        pos += length;
    }
    return true;
}

} // namespace

int findTypeByPrefix(const std::vector<std::string>& entries, std::string_view prefix)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (startsWithIgnoringLatinCase(entries[i], prefix))
            return static_cast<int>(i);
    }
    return -1;
}

std::string separateEveryByte(std::string_view text)
{
    std::string out;
    out.reserve(text.empty() ? 0 : text.size() * 2 - 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0)
            out += ',';
        out += text[i];
    }
    return out;
}

const std::string& CardEditor::caption() { return VK_TEXT("添加密保卡"); }
const std::string& CardEditor::editCaption() { return VK_TEXT("编辑密保卡"); }
const std::string& CardEditor::accountPlaceholder() { return VK_TEXT("请输入密保卡帐号或其他标题！"); }
const std::string& CardEditor::serialPlaceholder() { return VK_TEXT("请输入密保卡的序列号！"); }

const std::string& CardEditor::defaultLetters()
{
    static const std::string letters = "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z";
    return letters;
}

const std::string& CardEditor::exampleGrid()
{
    static const std::string grid =
        "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";
    return grid;
}

CardEditor::CardEditor(CardEditorView& view, CardStore& store, MessageService& messages, InputBox& input,
                       std::function<void()> reloadList)
    : view_(view), store_(store), messages_(messages), input_(input), reloadList_(std::move(reloadList))
{
}

void CardEditor::open(EditorMode mode, const std::string& editedAccount)
{
    mode_ = mode;
    editedAccount_ = mode == EditorMode::Edit ? editedAccount : std::string();
    refreshTypeList();
    if (mode_ == EditorMode::Add)
        return;

    view_.setSaveCaption(editCaption());
    // A card that cannot be found opens with every field empty.
    const CardRecord card = store_.findCardByAccount(editedAccount_).value_or(CardRecord{});
    view_.selectType(findTypeByPrefix(view_.typeEntries(), card.type));
    view_.setFieldText(EditorField::Account, card.account);
    view_.setFieldText(EditorField::Serial, card.serial);
    view_.tickOrientation(orientationFromText(card.orientation));
    view_.setFieldText(EditorField::Grid, card.grid);
    view_.setFieldText(EditorField::Letters, card.letters);
}

void CardEditor::refreshTypeList()
{
    view_.setTypeEntries(store_.listTypes());
}

void CardEditor::saveCard()
{
    const int typeIndex = view_.selectedTypeIndex();
    const std::vector<std::string> types = view_.typeEntries();
    if (typeIndex < 0 || typeIndex >= static_cast<int>(types.size())) {
        messages_.showMessage(VK_TEXT("请选择密保类型！（如果没有可以自己创建！）"), MessageIcon::Error);
        view_.focusTypeList();
        return;
    }
    const std::string account = view_.fieldText(EditorField::Account);
    if (account.empty() || account == accountPlaceholder()) {
        messages_.showMessage(VK_TEXT("请输入密保帐号！"), MessageIcon::Error);
        view_.setFieldText(EditorField::Account, {});
        view_.focusField(EditorField::Account);
        return;
    }
    const std::string serial = view_.fieldText(EditorField::Serial);
    if (serial.empty() || serial == serialPlaceholder()) {
        messages_.showMessage(VK_TEXT("请输入密保序列号！"), MessageIcon::Error);
        view_.setFieldText(EditorField::Serial, {});
        view_.focusField(EditorField::Serial);
        return;
    }
    const std::string grid = view_.fieldText(EditorField::Grid);
    if (grid.empty()) {
        messages_.showMessage(VK_TEXT("请输入密保卡内容。(请按格式添加您的密保卡内容)"), MessageIcon::Error);
        view_.focusField(EditorField::Grid);
        return;
    }
    const std::string letters = view_.fieldText(EditorField::Letters);
    const Orientation orientation = view_.tickedOrientation();
    if (const std::optional<ShapeMismatch> mismatch = validateShape(grid, letters, orientation)) {
        messages_.showMessage(mismatch->message, MessageIcon::Error, mismatch->title);
        return;
    }

    const CardRecord card{0, types[static_cast<std::size_t>(typeIndex)], account, serial,
                          orientationText(orientation), grid, letters};
    if (mode_ == EditorMode::Edit) {
        // The card keeps its own account, even with its letter case changed, but never takes
        // another card's: two cards with one account could no longer be told apart.
        if (account != editedAccount_ && refuseDuplicateAccount(account))
            return;
        if (!store_.updateCard(editedAccount_, card)) {
            messages_.showMessage(VK_TEXT("密保卡编辑失败。"), MessageIcon::Error);
            return;
        }
        messages_.showMessage(VK_TEXT("密保卡编辑成功。"), MessageIcon::Information);
    } else {
        if (refuseDuplicateAccount(account))
            return;
        if (!store_.insertCard(card)) {
            messages_.showMessage(VK_TEXT("密保卡添加失败。"), MessageIcon::Error);
            return;
        }
        messages_.showMessage(VK_TEXT("密保卡添加成功。"), MessageIcon::Information);
    }
    if (reloadList_)
        reloadList_();
    view_.closeEditor();
}

bool CardEditor::refuseDuplicateAccount(const std::string& account)
{
    const std::optional<CardRecord> found = store_.findCardByAccount(account);
    // The store matches accounts without regard to Latin letter case, so in Edit mode it may
    // find the edited card itself under its new spelling: that card carries editedAccount
    // exactly, as the list showed it.
    if (!found || (mode_ == EditorMode::Edit && found->account == editedAccount_))
        return false;
    messages_.showMessage(VK_TEXT("帐号/标题： [") + account + VK_TEXT("]已经存在！"), MessageIcon::Error);
    return true;
}

void CardEditor::appendSeparator()
{
    view_.setFieldText(EditorField::Letters, view_.fieldText(EditorField::Letters) + ",");
    view_.focusField(EditorField::Letters);
    view_.moveCaretToEnd(EditorField::Letters);
}

void CardEditor::splitAllLetters()
{
    view_.setFieldText(EditorField::Letters, separateEveryByte(view_.fieldText(EditorField::Letters)));
}

void CardEditor::showLetterHelp()
{
    const std::string text = VK_TEXT("坐标字母串，是用户自定义密保卡字母排序功能。"
                                     "\r\n一般密保卡无需修改，某些特定密保卡可以自行修改。"
                                     "\r\n"
                                     "\r\n注意："
                                     "\r\n    修改时按顺序填写完卡中全部字母坐标即可，无需填满26个英文字母。"
                                     "\r\n    修改时请使用逗号(英文逗号 , )分割字母。"
                                     "\r\n"
                                     "\r\n分割（按钮）：可以在当前光标位置插入一个分隔符。"
                                     "\r\n全部分割（按钮）：可以一次性把所以字母串填写进入，然后全部统一添加分隔符。");
    messages_.showMessage(text, MessageIcon::None, VK_TEXT("帮助"));
}

void CardEditor::showExample()
{
    view_.setFieldText(EditorField::Grid, exampleGrid());
}

void CardEditor::back()
{
    view_.closeEditor();
}

void CardEditor::mouseOverOrientationButton(Orientation orientation)
{
    if (view_.hintVisible())
        return;
    const EditorRect button = view_.orientationButtonRect(orientation);
    view_.showHint(orientation, button.left + 10, button.top + button.height);
}

void CardEditor::mouseOverBareArea()
{
    if (view_.hintVisible())
        view_.hideHint();
}

void CardEditor::fieldFocused(EditorField field)
{
    if (field != EditorField::Grid)
        view_.selectAllText(field);
}

void CardEditor::letterBoxDoubleClicked()
{
    view_.selectAllText(EditorField::Letters);
}

} // namespace velkora
