#pragma once
// Opens the card editor for the card list: a fresh window with its initial contents at every
// opening, modal over the main window, returning when it closes.

#include <functional>

#include "mainwindow/CardList.h"
#include "mainwindow/Services.h"

class QWidget;

namespace velkora {

class CardStore;

class QtCardEditorOpener final : public CardEditorOpener {
public:
    QtCardEditorOpener(CardStore& store, MessageService& messages, InputBox& input);

    // The window the editor is modal over (the main window); none is allowed.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    // What a successful save calls to reload the card list (CardList::fillCardList). The card
    // list is built with this opener, so the reload is handed over afterwards.
    void setListReload(std::function<void()> reload) { reload_ = std::move(reload); }

    void openCardEditor(EditorMode mode, const std::string& account) override;

private:
    CardStore& store_;
    MessageService& messages_;
    InputBox& input_;
    QWidget* parent_ = nullptr;
    std::function<void()> reload_;
};

} // namespace velkora
