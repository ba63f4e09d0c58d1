#include "platform/qt/CardEditorWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/HintPictures.h"
#include "platform/qt/Placement.h"
#include "platform/qt/QtText.h"

namespace velkora {

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width, int height)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setTextFormat(Qt::PlainText);
    return place(l, name, left, top, width, height);
}

EditorLineEdit* lineEdit(QWidget* parent, const char* name, const std::string& text, int left, int top, int width,
                         int height)
{
    auto* box = new EditorLineEdit(parent);
    box->setText(toQt(text));
    box->setCursorPosition(0);
    return place(box, name, left, top, width, height);
}

} // namespace

EditorLineEdit::EditorLineEdit(QWidget* parent) : QLineEdit(parent) {}

void EditorLineEdit::selectWholeText()
{
    selectAll();
    if (pressFocus_)
        selectOnRelease_ = true;
}

void EditorLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    pressFocus_ = event->reason() == Qt::MouseFocusReason;
    emit focused();
}

void EditorLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    pressFocus_ = false;
    if (selectOnRelease_) {
        selectOnRelease_ = false;
        selectAll();
    }
}

void EditorLineEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void EditorLineEdit::keyPressEvent(QKeyEvent* event)
{
    const QString upper = event->text().toUpper();
    if (upperCase_ && upper != event->text()) {
        QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                        event->nativeVirtualKey(), event->nativeModifiers(), upper, event->isAutoRepeat(),
                        static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&typed);
        event->setAccepted(typed.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditorLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (upperCase_ && !event->commitString().isEmpty()) {
        QInputMethodEvent typed(event->preeditString(), event->attributes());
        typed.setCommitString(event->commitString().toUpper(), event->replacementStart(),
                              event->replacementLength());
        QLineEdit::inputMethodEvent(&typed);
        event->setAccepted(typed.isAccepted());
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

CardEditorWindow::CardEditorWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CardEditor"));
    setWindowTitle(toQt(CardEditor::caption()));
    setModal(true);
    // The designed places assume captions of 12 pixels.
    QFont designed = font();
    designed.setPixelSize(12);
    setFont(designed);

    label(this, "标签1", "密保卡类型：", 8, 8, 80, 24);
    types_ = place(new QComboBox(this), "类型列表", 80, 9, 100, 20);
    types_->setEditable(false);
    types_->setInsertPolicy(QComboBox::NoInsert);
    newType_ = button(this, "新建类型", "新建类型", 184, 8, 64, 24);
    deleteType_ = button(this, "删除类型", "删除类型", 256, 8, 64, 24);

    label(this, "标签2", "密保卡帐号：", 8, 40, 80, 24);
    account_ = lineEdit(this, "密保帐号", CardEditor::accountPlaceholder(), 80, 41, 232, 20);
    label(this, "标签3", "密保序列号：", 8, 72, 88, 24);
    serial_ = lineEdit(this, "密保序列号", CardEditor::serialPlaceholder(), 80, 72, 232, 20);

    label(this, "标签6", "坐标字母串：", 8, 104, 80, 24);
    letters_ = lineEdit(this, "坐标字母串框", CardEditor::defaultLetters(), 80, 104, 180, 20);
    letters_->setTypedUpperCase(true);
    separator_ = button(this, "按钮1", "分割", 260, 103, 35, 20);
    letterHelp_ = button(this, "坐标字母串钮", "？", 294, 103, 20, 20);
    splitAll_ = button(this, "按钮3", "全部分割", 256, 122, 60, 24);

    label(this, "标签4", "密保卡坐标：", 8, 140, 72, 15);
    across_ = place(new QRadioButton(toQt(orientationText(Orientation::LettersAcross)), this), "单选框1", 88, 139,
                    72, 16);
    down_ = place(new QRadioButton(toQt(orientationText(Orientation::LettersDown)), this), "单选框2", 170, 139, 76,
                  16);
    auto* orientationGroup = new QButtonGroup(this);
    orientationGroup->addButton(across_);
    orientationGroup->addButton(down_);
    across_->setChecked(true);

    label(this, "标签5", "密保卡参数：（每个参数用 - 隔开）", 8, 172, 208, 16);
    example_ = button(this, "按钮2", "查看例子", 215, 167, 64, 24);
    grid_ = place(new QPlainTextEdit(this), "密保卡内容", 11, 195, 302, 120);
    grid_->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setTabChangesFocus(true);

    save_ = button(this, "添加密保卡", "添加密保卡", 128, 321, 80, 28);
    back_ = button(this, "按钮4", "返回主界面", 224, 321, 80, 28);

    // Created last so that, once shown, it lies over the controls beneath it.
    hint_ = place(new QLabel(this), "图片框1", 304, 104, HintBoxWidth, HintBoxHeight);
    hint_->setAlignment(Qt::AlignCenter);
    hint_->hide();

    // Mouse movement: over the two radio buttons, over the picture and over the bare window.
    // Other controls do not track the mouse, so movement over them reaches nobody.
    setMouseTracking(true);
    for (QWidget* watched : {static_cast<QWidget*>(across_), static_cast<QWidget*>(down_),
                             static_cast<QWidget*>(hint_)}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }

    setFixedSize(DesignedWidth, DesignedHeight);
}

CardEditorWindow::~CardEditorWindow() = default;

void CardEditorWindow::connectBehaviour(CardEditor& editor)
{
    editor_ = &editor;
    connect(newType_, &QPushButton::clicked, this, [&editor] { editor.createType(); });
    connect(deleteType_, &QPushButton::clicked, this, [&editor] { editor.removeType(); });
    connect(separator_, &QPushButton::clicked, this, [&editor] { editor.appendSeparator(); });
    connect(letterHelp_, &QPushButton::clicked, this, [&editor] { editor.showLetterHelp(); });
    connect(splitAll_, &QPushButton::clicked, this, [&editor] { editor.splitAllLetters(); });
    connect(example_, &QPushButton::clicked, this, [&editor] { editor.showExample(); });
    connect(save_, &QPushButton::clicked, this, [&editor] { editor.saveCard(); });
    connect(back_, &QPushButton::clicked, this, [&editor] { editor.back(); });
    connect(account_, &EditorLineEdit::focused, this, [&editor] { editor.fieldFocused(EditorField::Account); });
    connect(serial_, &EditorLineEdit::focused, this, [&editor] { editor.fieldFocused(EditorField::Serial); });
    connect(letters_, &EditorLineEdit::focused, this, [&editor] { editor.fieldFocused(EditorField::Letters); });
    connect(letters_, &EditorLineEdit::doubleClicked, this, [&editor] { editor.letterBoxDoubleClicked(); });
}

void CardEditorWindow::setTypeEntries(const std::vector<std::string>& names)
{
    types_->clear();
    for (const std::string& name : names)
        types_->addItem(toQt(name));
    types_->setCurrentIndex(-1);
}

std::vector<std::string> CardEditorWindow::typeEntries() const
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(types_->count()));
    for (int i = 0; i < types_->count(); ++i)
        names.push_back(fromQt(types_->itemText(i)));
    return names;
}

int CardEditorWindow::selectedTypeIndex() const
{
    return types_->currentIndex();
}

void CardEditorWindow::selectType(int index)
{
    types_->setCurrentIndex(index < types_->count() ? index : -1);
}

void CardEditorWindow::focusTypeList()
{
    types_->setFocus(Qt::OtherFocusReason);
}

EditorLineEdit* CardEditorWindow::lineBox(EditorField field) const
{
    switch (field) {
    case EditorField::Account: return account_;
    case EditorField::Serial: return serial_;
    case EditorField::Letters: return letters_;
    case EditorField::Grid: break;
    }
    return nullptr;
}

std::string CardEditorWindow::fieldText(EditorField field) const
{
    if (field == EditorField::Grid) {
        QString text = grid_->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        return fromQt(text);
    }
    return fromQt(lineBox(field)->text());
}

void CardEditorWindow::setFieldText(EditorField field, const std::string& text)
{
    if (field == EditorField::Grid) {
        grid_->setPlainText(toQtLines(text));
        return;
    }
    lineBox(field)->setText(toQt(text));
}

void CardEditorWindow::focusField(EditorField field)
{
    if (field == EditorField::Grid)
        grid_->setFocus(Qt::OtherFocusReason);
    else
        lineBox(field)->setFocus(Qt::OtherFocusReason);
}

void CardEditorWindow::selectAllText(EditorField field)
{
    if (field == EditorField::Grid)
        grid_->selectAll();
    else
        lineBox(field)->selectWholeText();
}

void CardEditorWindow::moveCaretToEnd(EditorField field)
{
    if (field == EditorField::Grid) {
        grid_->moveCursor(QTextCursor::End);
        return;
    }
    EditorLineEdit* box = lineBox(field);
    box->deselect();
    box->setCursorPosition(static_cast<int>(box->text().size()));
}

QRadioButton* CardEditorWindow::radio(Orientation orientation) const
{
    return orientation == Orientation::LettersAcross ? across_ : down_;
}

Orientation CardEditorWindow::tickedOrientation() const
{
    return across_->isChecked() ? Orientation::LettersAcross : Orientation::LettersDown;
}

void CardEditorWindow::tickOrientation(Orientation orientation)
{
    radio(orientation)->setChecked(true);
}

EditorRect CardEditorWindow::orientationButtonRect(Orientation orientation) const
{
    const QRect r = radio(orientation)->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

bool CardEditorWindow::hintVisible() const
{
    return !hint_->isHidden();
}

void CardEditorWindow::showHint(Orientation picture, int left, int top)
{
    hint_->setPixmap(hintPicture(picture, hint_->size()));
    hint_->setProperty("picture", toQt(orientationText(picture)));
    hint_->move(left, top);
    hint_->raise();
    hint_->show();
}

void CardEditorWindow::hideHint()
{
    hint_->hide();
}

void CardEditorWindow::setSaveCaption(const std::string& caption)
{
    save_->setText(toQt(caption));
}

void CardEditorWindow::closeEditor()
{
    done(QDialog::Rejected);
}

void CardEditorWindow::mouseMoveEvent(QMouseEvent* event)
{
    // Movement that a control let pass (a radio button does) is not over the bare window.
    QWidget* under = childAt(event->position().toPoint());
    if (editor_ && (!under || under == hint_))
        editor_->mouseOverBareArea();
    QDialog::mouseMoveEvent(event);
}

bool CardEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && editor_) {
        if (watched == across_)
            editor_->mouseOverOrientationButton(Orientation::LettersAcross);
        else if (watched == down_)
            editor_->mouseOverOrientationButton(Orientation::LettersDown);
        else if (watched == hint_)
            editor_->mouseOverBareArea();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace velkora
