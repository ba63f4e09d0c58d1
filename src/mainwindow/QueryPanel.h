#pragma once
// The query panel: loads the selected card, runs the lookup, shows the answers, moves the focus
// and queries by itself 800 ms after the last change of a coordinate box.

#include <functional>
#include <optional>
#include <string>

#include "carddata/CardStore.h"
#include "carddata/CoordinateLookup.h"
#include "mainwindow/Services.h"
#include "startup/Settings.h"

namespace velkora {

// The card the panel has loaded, and the typing state shared with the hot-key typing.
struct LoadedCard {
    std::string grid;
    std::string letters;
    std::string orientation;
    std::string resultText{ResultPlaceholder};
    int queriedCount = 0;  // cells of the last query
    int nextValue = 0;     // answers typed in the current cycle
};

class QueryPanelView {
public:
    virtual ~QueryPanelView() = default;

    virtual void setQueryGroupEnabled(bool enabled) = 0;        // 分组框3
    virtual void setQueryGroupCaption(const std::string& caption) = 0;
    virtual void setAccountText(const std::string& text) = 0;   // 密保帐号
    virtual std::string accountText() const = 0;
    virtual void setSerialText(const std::string& text) = 0;    // 密保序列号
    virtual std::string serialText() const = 0;
    virtual std::string cellText(int cell) const = 0;           // 编辑框4..6 for cells 1..3
    virtual void setCellText(int cell, const std::string& text) = 0;
    virtual void focusCell(int cell) = 0;
    virtual void focusQueryButton() = 0;                        // 查询密保
    virtual void setQueryButtonCaption(const std::string& caption) = 0;
    virtual void setResultText(const std::string& text) = 0;    // 标签4
    virtual void startAdvanceTimer(int milliseconds) = 0;       // ttime: (re)starts the count
    virtual void stopAdvanceTimer() = 0;
    virtual void setAutoSearchTicked(bool ticked) = 0;          // menu 自动查询
    virtual void setAutoLineTicked(bool ticked) = 0;            // menu 自动换行
};

class QueryPanel {
public:
    QueryPanel(QueryPanelView& view, CardStore& store, MessageService& messages, Settings& settings,
               Clipboard& clipboard);

    // The card list's focused row changed; no value when no row is selected.
    void loadSelectedCard(const std::optional<CardListEntry>& selectedRow);
    // The query group's state before any card is loaded.
    void showNoCard();

    void runQueryButton();
    void resetQuery();

    void cellChanged(int cell);
    void cellFocused(int cell);
    void advanceTimerFired();

    void copyAccount();
    void copySerial();
    void showCoordinateNote();

    void toggleAutoSearch();
    void toggleAutoLine();
    void setAutoSearch(bool on); // restores a remembered option, without writing it
    void setAutoLine(bool on);
    bool autoSearch() const { return autoSearch_; }
    bool autoLine() const { return autoLine_; }

    bool answersShown() const { return answersShown_; }
    int keyboardTarget() const { return keyboardTarget_; } // cell 1..3 the mouse keyboard writes to
    LoadedCard& loadedCard() { return card_; }
    const LoadedCard& loadedCard() const { return card_; }

    // Called on load while the mouse keyboard is open.
    void setKeyboardCloser(std::function<void()> closeKeyboard) { closeKeyboard_ = std::move(closeKeyboard); }

    static constexpr int AdvanceDelayMs = 800;

private:
    void setResult(const std::string& text);
    void setAnswersShown(bool shown);

    QueryPanelView& view_;
    CardStore& store_;
    MessageService& messages_;
    Settings& settings_;
    Clipboard& clipboard_;
    LoadedCard card_;
    bool answersShown_ = false;
    bool autoSearch_ = true;
    bool autoLine_ = true;
    int keyboardTarget_ = 1;
    std::function<void()> closeKeyboard_;
};

} // namespace velkora
