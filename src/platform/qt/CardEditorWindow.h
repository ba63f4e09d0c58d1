#pragma once
// The card editor window: every control at its designed place under its control name. It holds
// no rule of its own: CardEditor tells it what to show and hears of every user action.

#include <QDialog>
#include <QLineEdit>

#include "editor/CardEditor.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace velkora {

// A one-line box that reports getting the focus and double clicks. With upper case on, typed
// characters go in as capitals (texts put in by the program are left as they are).
class EditorLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit EditorLineEdit(QWidget* parent = nullptr);
    void setTypedUpperCase(bool on) { upperCase_ = on; }
    // Selects the whole text, also when the focus came with a mouse press that would otherwise
    // put the caret where it was pressed.
    void selectWholeText();

signals:
    void focused();
    void doubleClicked();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool upperCase_ = false;
    bool pressFocus_ = false;      // focus came with a mouse press not yet released
    bool selectOnRelease_ = false;
};

class CardEditorWindow final : public QDialog, public CardEditorView {
    Q_OBJECT
public:
    static constexpr int DesignedWidth = 333;
    static constexpr int DesignedHeight = 387;
    static constexpr int HintBoxWidth = 96;
    static constexpr int HintBoxHeight = 88;

    explicit CardEditorWindow(QWidget* parent = nullptr);
    ~CardEditorWindow() override;

    // Passes the user's actions to the editor, which must outlive the window. Once only.
    void connectBehaviour(CardEditor& editor);

    // CardEditorView
    void setTypeEntries(const std::vector<std::string>& names) override;
    std::vector<std::string> typeEntries() const override;
    int selectedTypeIndex() const override;
    void selectType(int index) override;
    void focusTypeList() override;
    std::string fieldText(EditorField field) const override;
    void setFieldText(EditorField field, const std::string& text) override;
    void focusField(EditorField field) override;
    void selectAllText(EditorField field) override;
    void moveCaretToEnd(EditorField field) override;
    Orientation tickedOrientation() const override;
    void tickOrientation(Orientation orientation) override;
    EditorRect orientationButtonRect(Orientation orientation) const override;
    bool hintVisible() const override;
    void showHint(Orientation picture, int left, int top) override;
    void hideHint() override;
    void setSaveCaption(const std::string& caption) override;
    void closeEditor() override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditorLineEdit* lineBox(EditorField field) const;
    QRadioButton* radio(Orientation orientation) const;

    CardEditor* editor_ = nullptr;
    QComboBox* types_ = nullptr;      // 类型列表
    QPushButton* newType_ = nullptr;  // 新建类型
    QPushButton* deleteType_ = nullptr; // 删除类型
    EditorLineEdit* account_ = nullptr; // 密保帐号
    EditorLineEdit* serial_ = nullptr;  // 密保序列号
    EditorLineEdit* letters_ = nullptr; // 坐标字母串框
    QPushButton* separator_ = nullptr;  // 按钮1
    QPushButton* letterHelp_ = nullptr; // 坐标字母串钮
    QPushButton* splitAll_ = nullptr;   // 按钮3
    QRadioButton* across_ = nullptr;    // 单选框1
    QRadioButton* down_ = nullptr;      // 单选框2
    QLabel* hint_ = nullptr;            // 图片框1
    QPushButton* example_ = nullptr;    // 按钮2
    QPlainTextEdit* grid_ = nullptr;    // 密保卡内容
    QPushButton* save_ = nullptr;       // 添加密保卡
    QPushButton* back_ = nullptr;       // 按钮4
};

} // namespace velkora
