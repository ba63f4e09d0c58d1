#include "mainwindow/QueryPanel.h"

#include "carddata/Text.h"

namespace velkora {
namespace {

const std::string& noCardCaption() { return VK_TEXT("密保查询-请先选择密保卡"); }
const std::string& queryCaption() { return VK_TEXT("查询密保"); }
const std::string& requeryCaption() { return VK_TEXT("重新查询"); }

} // namespace

QueryPanel::QueryPanel(QueryPanelView& view, CardStore& store, MessageService& messages, Settings& settings,
                       Clipboard& clipboard)
    : view_(view), store_(store), messages_(messages), settings_(settings), clipboard_(clipboard)
{
}

void QueryPanel::showNoCard()
{
    view_.setQueryGroupEnabled(false);
    view_.setQueryGroupCaption(noCardCaption());
}

void QueryPanel::loadSelectedCard(const std::optional<CardListEntry>& selectedRow)
{
    if (!selectedRow) {
        showNoCard();
    } else {
        view_.setAccountText(selectedRow->account);
        const CardRecord record = store_.findCardByAccount(selectedRow->account).value_or(CardRecord{});
        view_.setSerialText(record.serial);
        card_.grid = record.grid;
        card_.letters = record.letters;
        card_.orientation = record.orientation;
        view_.setQueryGroupEnabled(true);
        view_.setQueryGroupCaption(VK_TEXT("密保查询-密保卡ID：") + selectedRow->id);
    }
    for (int cell = 1; cell <= 3; ++cell)
        view_.setCellText(cell, {});
    setResult(std::string(ResultPlaceholder));
    setAnswersShown(false);
    card_.nextValue = 0;
    if (closeKeyboard_)
        closeKeyboard_();
    keyboardTarget_ = 1;
}

void QueryPanel::runQueryButton()
{
    if (answersShown_) {
        resetQuery();
        return;
    }
    const CardRecord card{0, {}, {}, {}, card_.orientation, card_.grid, card_.letters};
    const CoordinateQuery q = lookupCells(card, view_.cellText(1), view_.cellText(2), view_.cellText(3));
    card_.queriedCount = q.count;

    if (q.ok()) {
        setResult(q.resultText);
        setAnswersShown(true);
        return;
    }
    const LookupError& error = *q.error;
    const std::string& caption = error.title.empty() ? defaultCaption() : error.title;
    if (error.kind == LookupErrorKind::FirstCellMissing || error.kind == LookupErrorKind::BadFormat) {
        messages_.showMessage(error.message, MessageIcon::Error, caption);
        view_.focusCell(error.cell);
        return;
    }
    // The lookup proper had begun: the label is emptied, then shows the placeholder again.
    setResult({});
    if (!error.message.empty())
        messages_.showMessage(error.message, MessageIcon::Error, caption);
    setResult(std::string(ResultPlaceholder));
}

void QueryPanel::resetQuery()
{
    for (int cell = 1; cell <= 3; ++cell)
        view_.setCellText(cell, {});
    setResult(std::string(ResultPlaceholder));
    setAnswersShown(false);
    card_.nextValue = 0;
    keyboardTarget_ = 1;
    view_.focusCell(1);
}

void QueryPanel::cellChanged(int /*cell*/)
{
    view_.startAdvanceTimer(AdvanceDelayMs);
}

void QueryPanel::cellFocused(int cell)
{
    keyboardTarget_ = cell;
}

void QueryPanel::advanceTimerFired()
{
    if (autoLine_) {
        if (view_.cellText(1).size() > 1)
            view_.focusCell(2);
        if (view_.cellText(2).size() > 1)
            view_.focusCell(3);
        if (view_.cellText(3).size() > 1)
            view_.focusQueryButton();
    }
    if (autoSearch_ && !answersShown_ && view_.cellText(1).size() >= 2 && view_.cellText(2).size() >= 2 &&
        view_.cellText(3).size() >= 2) {
        view_.stopAdvanceTimer();
        runQueryButton();
    }
    view_.stopAdvanceTimer();
}

void QueryPanel::copyAccount()
{
    const std::string account = view_.accountText();
    if (account.empty())
        return;
    clipboard_.setText(account);
    messages_.showMessage(VK_TEXT("密保帐号：") + account + VK_TEXT(" 复制到剪辑板！"), MessageIcon::Information);
}

void QueryPanel::copySerial()
{
    const std::string serial = view_.serialText();
    if (serial.empty())
        return;
    clipboard_.setText(serial);
    messages_.showMessage(VK_TEXT("密保序列号：") + serial + VK_TEXT(" 复制到剪辑板！"), MessageIcon::Information);
}

void QueryPanel::showCoordinateNote()
{
    messages_.showMessage(
        VK_TEXT("不管你的密保卡是什么样子的，在这里坐标格式必须为：\r\n（格式：字母+数字）（例如：A1、B2、C3 "
                "这三个都是正确格式。）\r\n因为本软件提供横向字母、纵向字母的选择。所以能够根据你的设置，"
                "作出相应的判断，并取出您的结果。"),
        MessageIcon::None);
}

void QueryPanel::toggleAutoSearch()
{
    setAutoSearch(!autoSearch_);
    settings_.write("Soft", "AutoSearch", autoSearch_ ? "1" : "0");
}

void QueryPanel::toggleAutoLine()
{
    setAutoLine(!autoLine_);
    settings_.write("Soft", "AutoLine", autoLine_ ? "1" : "0");
}

void QueryPanel::setAutoSearch(bool on)
{
    autoSearch_ = on;
    view_.setAutoSearchTicked(on);
}

void QueryPanel::setAutoLine(bool on)
{
    autoLine_ = on;
    view_.setAutoLineTicked(on);
}

void QueryPanel::setResult(const std::string& text)
{
    card_.resultText = text;
    view_.setResultText(text);
}

void QueryPanel::setAnswersShown(bool shown)
{
    answersShown_ = shown;
    view_.setQueryButtonCaption(shown ? requeryCaption() : queryCaption());
}

} // namespace velkora
