#pragma once
// The card list with its quick search, its two panels, deletion and the editor openers.

#include <optional>
#include <string>
#include <vector>

#include "carddata/CardStore.h"
#include "mainwindow/Services.h"

namespace velkora {

enum class EditorMode { Add = 0, Edit = 1 };

// Opens the card editor modally; returns when it closes.
class CardEditorOpener {
public:
    virtual ~CardEditorOpener() = default;
    // `account` is the selected row's account in Edit mode, empty in Add mode.
    virtual void openCardEditor(EditorMode mode, const std::string& account) = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

class CardListView {
public:
    virtual ~CardListView() = default;

    virtual void clearRows() = 0;
    virtual void appendRows(std::vector<CardListEntry> rows) = 0; // taken over, not copied
    virtual std::optional<CardListEntry> selectedRow() const = 0;

    virtual Size listGroupSize() const = 0;      // 分组框1
    virtual Size emptyPanelSize() const = 0;     // 外形框1
    virtual Size notFoundPanelSize() const = 0;  // 外形框3
    virtual void showEmptyPanel(int left, int top) = 0;
    virtual void hideEmptyPanel() = 0;
    virtual void showNotFoundPanel(int left, int top) = 0;
    virtual void hideNotFoundPanel() = 0;
    virtual void setSearchGroupEnabled(bool enabled) = 0; // 分组框2

    virtual int searchTypeIndex() const = 0;           // 0 密保类型, 1 密保帐号
    virtual std::string searchTypeText() const = 0;
    virtual std::string keywordText() const = 0;
    // Keyword box without a drop-down list (account mode) / with one (type mode).
    virtual void setKeywordPlain(const std::string& prompt) = 0;
    virtual void setKeywordList(const std::vector<std::string>& entries, const std::string& prompt) = 0;
    virtual void setKeywordText(const std::string& text) = 0;
    virtual void focusKeyword() = 0;

    // The "密保卡操作(&M)" menu at a screen position.
    virtual void popupCardMenu(int x, int y) = 0;
};

class CardList {
public:
    CardList(CardListView& view, CardStore& store, MessageService& messages, CardEditorOpener& editor);

    void fillCardList();
    void searchCardList();
    void searchTypeChosen(int index);
    void keywordPicked(const std::string& entry); // an entry of the keyword box's drop-down list
    void continueSearch();                        // 继续搜索密保卡
    void showAllCards();                          // 显示全部密保卡
    void deleteSelectedCard();
    void openEditorForNewCard();
    void openEditorForSelectedCard();

    // Input on the list: key-down with a virtual-key code (46 Delete, 45 Insert, 13 Enter),
    // double click, right click at a screen position.
    void keyDown(int virtualKey);
    void doubleClick();
    void rightClick(int x, int y);

    static const std::string& accountPrompt(); // "请<输入>密保帐号关键字！"
    static const std::string& typePrompt();    // "请<选择>或者<输入>密保类型关键字！"

private:
    CardListView& view_;
    CardStore& store_;
    MessageService& messages_;
    CardEditorOpener& editor_;
};

} // namespace velkora
