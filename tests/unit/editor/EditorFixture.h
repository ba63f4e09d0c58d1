#pragma once
// The card editor over a real card store on a temporary file, with fake boxes and a fake window.

#include <gtest/gtest.h>

#include "editor/CardEditor.h"
#include "support/Fakes.h"
#include "support/TempStore.h"
#include "unit/editor/FakeEditorView.h"

namespace velkora::testing {

class EditorFixture : public ::testing::Test {
protected:
    TempStore db;
    FakeEditorView view;
    FakeMessages messages;
    FakeInputBox input;
    // The card list reload: how many messages had been shown and whether the window was already
    // closed at that moment.
    struct Reload {
        std::size_t messagesBefore;
        int closedBefore;
    };
    std::vector<Reload> reloads;
    CardEditor editor{view, db.store, messages, input,
                      [this] { reloads.push_back({messages.shown.size(), view.closed}); }};

    void addType(const std::string& utf8Name) { ASSERT_TRUE(db.store.insertType(gb(utf8Name))); }

    // A window whose every entry passes the checks: 6 letters across the example grid.
    void fillValid(const std::string& type, const std::string& account, const std::string& serial = "SN-1")
    {
        view.choose(type);
        view.set(EditorField::Account, account);
        view.set(EditorField::Serial, serial);
        view.set(EditorField::Letters, "A,B,C,D,E,F");
        view.texts[EditorField::Grid] = CardEditor::exampleGrid();
        view.ticked = Orientation::LettersAcross;
    }

    std::vector<std::string> storedAccounts()
    {
        std::vector<std::string> out;
        for (const CardListEntry& e : db.store.listAllCards())
            out.push_back(u8(e.account));
        return out;
    }

    // The only message shown, or a failure naming all of them.
    RecordedMessage onlyMessage() const
    {
        EXPECT_EQ(messages.shown.size(), 1u);
        return messages.shown.empty() ? RecordedMessage{} : messages.shown.back();
    }
};

} // namespace velkora::testing
