#pragma once
// A card editor window in memory: holds what the window would show and records focus, caret and
// closing, so that the editor's rules can be checked without a display.

#include <map>
#include <string>
#include <vector>

#include "editor/CardEditor.h"
#include "support/Fakes.h"

namespace velkora::testing {

class FakeEditorView : public CardEditorView {
public:
    FakeEditorView()
    {
        texts[EditorField::Account] = CardEditor::accountPlaceholder();
        texts[EditorField::Serial] = CardEditor::serialPlaceholder();
        texts[EditorField::Letters] = CardEditor::defaultLetters();
        texts[EditorField::Grid] = {};
    }

    void setTypeEntries(const std::vector<std::string>& names) override
    {
        types = names;
        selected = -1;
        ++typeRefills;
    }
    std::vector<std::string> typeEntries() const override { return types; }
    int selectedTypeIndex() const override { return selected; }
    void selectType(int index) override { selected = index < static_cast<int>(types.size()) ? index : -1; }
    void focusTypeList() override { focused = "类型列表"; }

    std::string fieldText(EditorField field) const override { return texts.at(field); }
    void setFieldText(EditorField field, const std::string& text) override { texts[field] = text; }
    void focusField(EditorField field) override { focused = name(field); }
    void selectAllText(EditorField field) override { events.push_back("selectAll " + name(field)); }
    void moveCaretToEnd(EditorField field) override { events.push_back("caretToEnd " + name(field)); }

    Orientation tickedOrientation() const override { return ticked; }
    void tickOrientation(Orientation orientation) override { ticked = orientation; }
    EditorRect orientationButtonRect(Orientation orientation) const override
    {
        return orientation == Orientation::LettersAcross ? EditorRect{88, 139, 72, 16} : EditorRect{170, 139, 76, 16};
    }

    bool hintVisible() const override { return hintShown; }
    void showHint(Orientation picture, int left, int top) override
    {
        hintShown = true;
        hintPicture = picture;
        hintAt = {left, top};
        ++hintLoads;
    }
    void hideHint() override { hintShown = false; }

    void setSaveCaption(const std::string& caption) override { saveCaption = u8(caption); }
    void closeEditor() override { ++closed; }

    // Helpers for the tests, in UTF-8.
    std::string text(EditorField field) const { return u8(texts.at(field)); }
    void set(EditorField field, const std::string& utf8) { texts[field] = gb(utf8); }
    void choose(const std::string& utf8Type)
    {
        for (std::size_t i = 0; i < types.size(); ++i)
            if (u8(types[i]) == utf8Type)
                selected = static_cast<int>(i);
    }
    std::vector<std::string> typeNames() const
    {
        std::vector<std::string> out;
        for (const auto& t : types)
            out.push_back(u8(t));
        return out;
    }
    static std::string name(EditorField field)
    {
        switch (field) {
        case EditorField::Account: return "密保帐号";
        case EditorField::Serial: return "密保序列号";
        case EditorField::Letters: return "坐标字母串框";
        case EditorField::Grid: return "密保卡内容";
        }
        return {};
    }

    std::vector<std::string> types;
    int selected = -1;
    int typeRefills = 0;
    std::map<EditorField, std::string> texts; // GB18030
    Orientation ticked = Orientation::LettersAcross;
    std::string focused; // control name, UTF-8
    std::vector<std::string> events;
    bool hintShown = false;
    Orientation hintPicture = Orientation::LettersAcross;
    std::pair<int, int> hintAt{304, 104};
    int hintLoads = 0;
    std::string saveCaption = "添加密保卡";
    int closed = 0;
};

} // namespace velkora::testing
