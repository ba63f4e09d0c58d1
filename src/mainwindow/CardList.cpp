#include "mainwindow/CardList.h"

#include "carddata/Text.h"

#include <utility>

namespace velkora {
namespace {

constexpr int VkDelete = 46;
constexpr int VkInsert = 45;
constexpr int VkReturn = 13;

} // namespace

const std::string& CardList::accountPrompt() { return VK_TEXT("请<输入>密保帐号关键字！"); }
const std::string& CardList::typePrompt() { return VK_TEXT("请<选择>或者<输入>密保类型关键字！"); }

CardList::CardList(CardListView& view, CardStore& store, MessageService& messages, CardEditorOpener& editor)
    : view_(view), store_(store), messages_(messages), editor_(editor)
{
}

void CardList::fillCardList()
{
    view_.clearRows();
    view_.hideNotFoundPanel();
    std::vector<CardListEntry> cards = store_.listAllCards();
    if (cards.empty()) {
        // The empty-store panel sits a little left of and above the group's centre.
        const Size group = view_.listGroupSize();
        const Size panel = view_.emptyPanelSize();
        const auto left = static_cast<int>(group.width * 0.5 - panel.width * 0.48);
        const auto top = static_cast<int>(group.height * 0.5 - panel.height * 0.35);
        view_.showEmptyPanel(left, top);
        view_.setSearchGroupEnabled(false);
        return;
    }
    view_.hideEmptyPanel();
    view_.setSearchGroupEnabled(true);
    view_.appendRows(std::move(cards));
}

void CardList::searchCardList()
{
    const SearchColumn column = view_.searchTypeIndex() == 0 ? SearchColumn::Type : SearchColumn::Account;
    const std::string keyword = view_.keywordText();
    if (keyword.empty() || keyword == accountPrompt() || keyword == typePrompt()) {
        messages_.showMessage(VK_TEXT("请输入[") + view_.searchTypeText() + VK_TEXT("]搜索关键字！"),
                              MessageIcon::Error);
        view_.focusKeyword();
        return;
    }
    view_.clearRows();
    std::vector<CardListEntry> cards = store_.searchCards(column, keyword);
    if (cards.empty()) {
        const Size group = view_.listGroupSize();
        const Size panel = view_.notFoundPanelSize();
        view_.showNotFoundPanel(static_cast<int>(group.width * 0.5 - panel.width * 0.5),
                                static_cast<int>(group.height * 0.5 - panel.height * 0.5));
        return;
    }
    view_.hideNotFoundPanel();
    view_.appendRows(std::move(cards));
}

void CardList::searchTypeChosen(int index)
{
    view_.setKeywordPlain(accountPrompt());
    if (index == 0)
        view_.setKeywordList(store_.listTypes(), typePrompt());
}

void CardList::keywordPicked(const std::string& entry)
{
    view_.setKeywordText(entry);
    searchCardList();
}

void CardList::continueSearch()
{
    view_.focusKeyword();
    view_.hideNotFoundPanel();
}

void CardList::showAllCards()
{
    fillCardList();
    view_.hideNotFoundPanel();
}

void CardList::deleteSelectedCard()
{
    const std::optional<CardListEntry> row = view_.selectedRow();
    if (!row)
        return;
    const std::string card = "[" + row->type + "]-[" + row->account + "]";
    if (!messages_.askYesNo(VK_TEXT("是否删除密保卡：") + card + VK_TEXT("？")))
        return;
    if (!store_.deleteCard(row->id))
        return;
    messages_.showMessage(VK_TEXT("密保卡：") + card + VK_TEXT(" 已经被删除！"), MessageIcon::Information);
    fillCardList();
}

void CardList::openEditorForNewCard()
{
    editor_.openCardEditor(EditorMode::Add, {});
}

void CardList::openEditorForSelectedCard()
{
    const std::optional<CardListEntry> row = view_.selectedRow();
    if (!row)
        return;
    editor_.openCardEditor(EditorMode::Edit, row->account);
}

void CardList::keyDown(int virtualKey)
{
    if (virtualKey == VkDelete)
        deleteSelectedCard();
    if (virtualKey == VkInsert)
        openEditorForNewCard();
    if (virtualKey == VkReturn)
        openEditorForSelectedCard();
}

void CardList::doubleClick()
{
    openEditorForSelectedCard();
}

void CardList::rightClick(int x, int y)
{
    view_.popupCardMenu(x + 3, y + 3);
}

} // namespace velkora
