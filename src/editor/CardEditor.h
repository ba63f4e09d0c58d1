#pragma once
// The card editor: the modal window in which a card is added or changed, with the card types
// kept beside its type list. This class owns every rule of the window; the window itself only
// shows what it is told through CardEditorView and reports the user's actions here.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "carddata/CardGrid.h"
#include "carddata/CardStore.h"
#include "mainwindow/CardList.h"
#include "mainwindow/Services.h"

namespace velkora {

// The four text boxes: 密保帐号, 密保序列号, 坐标字母串框, 密保卡内容.
enum class EditorField { Account, Serial, Letters, Grid };

struct EditorRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class CardEditorView {
public:
    virtual ~CardEditorView() = default;

    // 类型列表. Replacing the entries leaves nothing selected; index -1 means no selection.
    virtual void setTypeEntries(const std::vector<std::string>& names) = 0;
    virtual std::vector<std::string> typeEntries() const = 0;
    virtual int selectedTypeIndex() const = 0;
    virtual void selectType(int index) = 0;
    virtual void focusTypeList() = 0;

    // Texts use CR LF between the lines of the grid box.
    virtual std::string fieldText(EditorField field) const = 0;
    virtual void setFieldText(EditorField field, const std::string& text) = 0;
    virtual void focusField(EditorField field) = 0;
    virtual void selectAllText(EditorField field) = 0;
    virtual void moveCaretToEnd(EditorField field) = 0; // nothing selected afterwards

    // 单选框1 (LettersAcross) and 单选框2 (LettersDown): exactly one is ticked.
    virtual Orientation tickedOrientation() const = 0;
    virtual void tickOrientation(Orientation orientation) = 0;
    virtual EditorRect orientationButtonRect(Orientation orientation) const = 0;

    // 图片框1 with the picture of one orientation, its top-left corner at left, top.
    virtual bool hintVisible() const = 0;
    virtual void showHint(Orientation picture, int left, int top) = 0;
    virtual void hideHint() = 0;

    virtual void setSaveCaption(const std::string& caption) = 0; // 添加密保卡
    virtual void closeEditor() = 0;
};

// The first entry, from the top, that begins with `prefix`, Latin letters compared without regard
// to case (letters inside double-byte characters are not letters); -1 when none does.
int findTypeByPrefix(const std::vector<std::string>& entries, std::string_view prefix);

// b1 "," b2 "," ... "," bn over the bytes of `text`.
std::string separateEveryByte(std::string_view text);

class CardEditor {
public:
    // `reloadList` refills the main window's card list after a successful save.
    CardEditor(CardEditorView& view, CardStore& store, MessageService& messages, InputBox& input,
               std::function<void()> reloadList);

    // The opening steps, run once when the window has been created with its initial contents.
    // `editedAccount` is the account of the main list's selected row (Edit mode only).
    void open(EditorMode mode, const std::string& editedAccount);

    EditorMode mode() const { return mode_; }
    const std::string& editedAccount() const { return editedAccount_; }

    void refreshTypeList();
    void saveCard();                 // 添加密保卡
    void appendSeparator();          // 按钮1 分割
    void splitAllLetters();          // 按钮3 全部分割
    void showLetterHelp();           // 坐标字母串钮 ？
    void showExample();              // 按钮2 查看例子
    void back();                     // 按钮4 and the close box
    void createType();               // 新建类型
    void removeType();               // 删除类型

    // Mouse movement over a radio button, and over 图片框1 or the bare window.
    void mouseOverOrientationButton(Orientation orientation);
    void mouseOverBareArea();

    void fieldFocused(EditorField field);
    void letterBoxDoubleClicked();

    // Initial contents of the window's controls, also the placeholders the save checks refuse.
    static const std::string& caption();            // "添加密保卡"
    static const std::string& accountPlaceholder();
    static const std::string& serialPlaceholder();
    static const std::string& defaultLetters();
    static const std::string& exampleGrid();
    static const std::string& editCaption();        // "编辑密保卡", the save button in Edit mode

private:
    bool refuseDuplicateAccount(const std::string& account);
    void selectLastType();

    CardEditorView& view_;
    CardStore& store_;
    MessageService& messages_;
    InputBox& input_;
    std::function<void()> reloadList_;
    EditorMode mode_ = EditorMode::Add;
    std::string editedAccount_;
};

} // namespace velkora
