// The real card editor window, off screen: its controls by name and place, and each control wired
// to the editor's rules over a real card store.

#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "editor/CardEditor.h"
#include "mainwindow/CardList.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "platform/qt/CardEditorWindow.h"
#include "platform/qt/HintPictures.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/QtCardEditorOpener.h"
#include "platform/qt/QtInputBox.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

template <class Widget = QWidget>
Widget* child(const QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

void moveOver(QWidget* widget, QPoint at = {2, 2})
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

class CardEditorWindowTest : public ::testing::Test {
protected:
    TempStore db;
    FakeMessages messages;
    FakeInputBox input;
    int reloads = 0;
    CardEditorWindow window;
    CardEditor editor{window, db.store, messages, input, [this] { ++reloads; }};

    void SetUp() override { window.connectBehaviour(editor); }

    void showActive()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST_F(CardEditorWindowTest, EveryControlSitsAtItsDesignedPlaceWithItsInitialText)
{
    struct Control {
        const char* name;
        const char* kind;
        QRect place;
        const char* text;
    };
    const Control controls[] = {
        {"标签1", "QLabel", {8, 8, 80, 24}, "密保卡类型："},
        {"类型列表", "QComboBox", {80, 9, 100, 20}, ""},
        {"新建类型", "QPushButton", {184, 8, 64, 24}, "新建类型"},
        {"删除类型", "QPushButton", {256, 8, 64, 24}, "删除类型"},
        {"标签2", "QLabel", {8, 40, 80, 24}, "密保卡帐号："},
        {"密保帐号", "QLineEdit", {80, 41, 232, 20}, "请输入密保卡帐号或其他标题！"},
        {"标签3", "QLabel", {8, 72, 88, 24}, "密保序列号："},
        {"密保序列号", "QLineEdit", {80, 72, 232, 20}, "请输入密保卡的序列号！"},
        {"标签6", "QLabel", {8, 104, 80, 24}, "坐标字母串："},
        {"坐标字母串框", "QLineEdit", {80, 104, 180, 20}, "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z"},
        {"按钮1", "QPushButton", {260, 103, 35, 20}, "分割"},
        {"坐标字母串钮", "QPushButton", {294, 103, 20, 20}, "？"},
        {"按钮3", "QPushButton", {256, 122, 60, 24}, "全部分割"},
        {"标签4", "QLabel", {8, 140, 72, 15}, "密保卡坐标："},
        {"单选框1", "QRadioButton", {88, 139, 72, 16}, "横向字母"},
        {"单选框2", "QRadioButton", {170, 139, 76, 16}, "竖向字母"},
        {"图片框1", "QLabel", {304, 104, 96, 88}, ""},
        {"标签5", "QLabel", {8, 172, 208, 16}, "密保卡参数：（每个参数用 - 隔开）"},
        {"按钮2", "QPushButton", {215, 167, 64, 24}, "查看例子"},
        {"密保卡内容", "QPlainTextEdit", {11, 195, 302, 120}, ""},
        {"添加密保卡", "QPushButton", {128, 321, 80, 28}, "添加密保卡"},
        {"按钮4", "QPushButton", {224, 321, 80, 28}, "返回主界面"},
    };
    EXPECT_EQ(window.windowTitle(), q("添加密保卡"));
    EXPECT_EQ(window.size(), QSize(333, 387));
    EXPECT_TRUE(window.isModal());
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        QWidget* widget = child(window, c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(c.kind)) << widget->metaObject()->className();
        EXPECT_EQ(widget->geometry(), c.place);
        EXPECT_EQ(widget->parentWidget(), &window);
        QString text;
        if (auto* l = qobject_cast<QLabel*>(widget))
            text = l->text();
        else if (auto* e = qobject_cast<QLineEdit*>(widget))
            text = e->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(widget))
            text = b->text();
        else if (auto* g = qobject_cast<QPlainTextEdit*>(widget))
            text = g->toPlainText();
        else if (auto* t = qobject_cast<QComboBox*>(widget))
            text = t->currentText();
        EXPECT_EQ(text, q(c.text));
    }
    EXPECT_TRUE(child<QRadioButton>(window, "单选框1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(window, "单选框2")->isChecked());
    EXPECT_TRUE(child(window, "图片框1")->isHidden());
    EXPECT_FALSE(child<QComboBox>(window, "类型列表")->isEditable());
    auto* grid = child<QPlainTextEdit>(window, "密保卡内容");
    EXPECT_EQ(grid->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(CardEditorWindowTest, ButtonsReachTheirRules)
{
    editor.open(EditorMode::Add, {});
    auto* letters = child<QLineEdit>(window, "坐标字母串框");
    letters->setText(QStringLiteral("ABCD"));
    child<QPushButton>(window, "按钮3")->click();
    EXPECT_EQ(letters->text(), QStringLiteral("A,B,C,D"));
    child<QPushButton>(window, "按钮1")->click();
    EXPECT_EQ(letters->text(), QStringLiteral("A,B,C,D,"));

    child<QPushButton>(window, "按钮2")->click();
    EXPECT_EQ(child<QPlainTextEdit>(window, "密保卡内容")->toPlainText(),
              q("13-15-23-45-55-82\n99-15-21-16-45-33\n72-33-55-66-88-99\n31-54-1-45-8-32"));
    EXPECT_EQ(window.fieldText(EditorField::Grid), CardEditor::exampleGrid()) << "lines read back with CR LF";

    child<QPushButton>(window, "坐标字母串钮")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "帮助");

    input.replies = {gb("网易密保")};
    child<QPushButton>(window, "新建类型")->click();
    auto* types = child<QComboBox>(window, "类型列表");
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->currentIndex(), 0);
    EXPECT_EQ(types->currentText(), q("网易密保"));

    messages.answerYes = false;
    child<QPushButton>(window, "删除类型")->click();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].text, "是否删除类型：网易密保？");
}

TEST_F(CardEditorWindowTest, SavingThroughTheWindowStoresTheCardAndClosesIt)
{
    ASSERT_TRUE(db.store.insertType(gb("游戏")));
    editor.open(EditorMode::Add, {});
    showActive();
    child<QComboBox>(window, "类型列表")->setCurrentIndex(0);
    child<QLineEdit>(window, "密保帐号")->setText(q("玩家"));
    child<QLineEdit>(window, "密保序列号")->setText(QStringLiteral("0042"));
    child<QLineEdit>(window, "坐标字母串框")->setText(QStringLiteral("A,B,C,D"));
    child<QRadioButton>(window, "单选框2")->click();
    child<QPlainTextEdit>(window, "密保卡内容")->setPlainText(QStringLiteral("11-12\n21-22\n31-32\n41-42"));
    child<QPushButton>(window, "添加密保卡")->click();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "密保卡添加成功。");
    EXPECT_EQ(reloads, 1);
    EXPECT_FALSE(window.isVisible());
    const auto card = db.store.findCardByAccount(gb("玩家"));
    ASSERT_TRUE(card);
    EXPECT_EQ(u8(card->type), "游戏");
    EXPECT_EQ(card->serial, "0042");
    EXPECT_EQ(u8(card->orientation), "竖向字母");
    EXPECT_EQ(card->grid, "11-12\r\n21-22\r\n31-32\r\n41-42");
}

TEST_F(CardEditorWindowTest, EditModeShowsTheStoredCardAndTheEditCaption)
{
    ASSERT_TRUE(db.store.insertType("x"));
    ASSERT_TRUE(db.store.insertType(gb("游戏卡")));
    ASSERT_TRUE(db.store.insertCard({0, gb("游戏"), "acc", "S1", orientationText(Orientation::LettersDown),
                                     "1-2\r\n3-4", "a,b"}));
    editor.open(EditorMode::Edit, "acc");
    EXPECT_EQ(child<QPushButton>(window, "添加密保卡")->text(), q("编辑密保卡"));
    EXPECT_EQ(window.windowTitle(), q("添加密保卡"));
    EXPECT_EQ(child<QComboBox>(window, "类型列表")->currentIndex(), 1);
    EXPECT_EQ(child<QLineEdit>(window, "密保帐号")->text(), QStringLiteral("acc"));
    EXPECT_EQ(child<QLineEdit>(window, "密保序列号")->text(), QStringLiteral("S1"));
    EXPECT_EQ(child<QLineEdit>(window, "坐标字母串框")->text(), QStringLiteral("a,b")) << "loaded letters keep their case";
    EXPECT_TRUE(child<QRadioButton>(window, "单选框2")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(window, "单选框1")->isChecked());
    EXPECT_EQ(child<QPlainTextEdit>(window, "密保卡内容")->toPlainText(), QStringLiteral("1-2\n3-4"));
}

TEST_F(CardEditorWindowTest, TypedLettersBecomeCapitalsInTheLetterBoxOnly)
{
    auto* letters = child<QLineEdit>(window, "坐标字母串框");
    letters->clear();
    QTest::keyClicks(letters, QStringLiteral("a,b;c"));
    EXPECT_EQ(letters->text(), QStringLiteral("A,B;C"));

    auto* account = child<QLineEdit>(window, "密保帐号");
    account->clear();
    QTest::keyClicks(account, QStringLiteral("abc"));
    EXPECT_EQ(account->text(), QStringLiteral("abc"));
}

TEST_F(CardEditorWindowTest, HintPictureFollowsTheMouseOverTheRadioButtons)
{
    showActive();
    auto* hint = child<QLabel>(window, "图片框1");
    moveOver(child(window, "单选框1"));
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->geometry(), QRect(98, 155, 96, 88));
    EXPECT_EQ(hint->property("picture").toString(), q("横向字母"));
    EXPECT_FALSE(hint->pixmap().isNull());
    const QImage across = hint->pixmap().toImage();

    moveOver(child(window, "单选框2"));
    EXPECT_EQ(hint->pos(), QPoint(98, 155)) << "nothing changes while the picture is shown";

    moveOver(&window, {165, 145}); // the gap between the two buttons
    EXPECT_FALSE(hint->isVisible());
    moveOver(child(window, "单选框2"));
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->pos(), QPoint(180, 155));
    EXPECT_EQ(hint->property("picture").toString(), q("竖向字母"));
    EXPECT_NE(hint->pixmap().toImage(), across);

    moveOver(hint);
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(CardEditorWindowTest, TheTwoHintPicturesShowTheirHeadingsInBlue)
{
    for (Orientation o : {Orientation::LettersAcross, Orientation::LettersDown}) {
        const QImage image = hintPicture(o).toImage();
        EXPECT_EQ(image.size(), hintPictureSize(o));
        // The grid lines are blue: the outer frame's top-left corner.
        const QColor corner = image.pixelColor(0, 0);
        EXPECT_GT(corner.blue(), corner.red() + 60);
    }
    EXPECT_EQ(hintPictureSize(Orientation::LettersAcross), QSize(143, 119));
    EXPECT_EQ(hintPictureSize(Orientation::LettersDown), QSize(143, 118));
}

TEST_F(CardEditorWindowTest, OneLineBoxesSelectTheirWholeTextOnFocus)
{
    showActive();
    auto* account = child<QLineEdit>(window, "密保帐号");
    auto* serial = child<QLineEdit>(window, "密保序列号");
    auto* letters = child<QLineEdit>(window, "坐标字母串框");

    account->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(account->selectedText(), account->text());

    // A click into the box: the press would put the caret where it landed.
    QTest::mouseClick(serial, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_TRUE(serial->hasFocus());
    EXPECT_EQ(serial->selectedText(), serial->text());

    QTest::mouseClick(letters, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    QTest::mouseClick(letters, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    EXPECT_TRUE(letters->selectedText().isEmpty()) << "a second click in the box places the caret";
    QTest::mouseDClick(letters, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    EXPECT_EQ(letters->selectedText(), letters->text());

    // 分割: the comma goes to the end and the caret after it, nothing selected.
    account->setFocus(Qt::OtherFocusReason);
    letters->setCursorPosition(0);
    child<QPushButton>(window, "按钮1")->click();
    EXPECT_TRUE(letters->hasFocus());
    EXPECT_FALSE(letters->hasSelectedText());
    EXPECT_EQ(letters->cursorPosition(), letters->text().size());
    EXPECT_TRUE(letters->text().endsWith(QStringLiteral("Z,")));
}

TEST_F(CardEditorWindowTest, BackButtonAndCloseBoxCloseWithoutStoring)
{
    ASSERT_TRUE(db.store.insertType("t"));
    editor.open(EditorMode::Add, {});
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox);
        showActive();
        child<QComboBox>(window, "类型列表")->setCurrentIndex(0);
        child<QLineEdit>(window, "密保帐号")->setText(QStringLiteral("typed"));
        if (closeBox)
            window.close();
        else
            child<QPushButton>(window, "按钮4")->click();
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(db.store.listAllCards().empty());
    EXPECT_EQ(reloads, 0);
}

// The opener and the input box run their own modal loops: the check runs from inside them.
void whenModal(std::function<void(QWidget*)> step)
{
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        step(modal);
        if (QApplication::activeModalWidget() == modal) {
            ADD_FAILURE() << "the box is still open";
            modal->close(); // never leave the test waiting
        }
    });
}

TEST(QtCardEditorOpenerTest, OpensAFreshModalEditorForTheSelectedCardEachTime)
{
    TempStore db;
    ASSERT_TRUE(db.store.insertType("t"));
    db.add("t", "acc");
    FakeMessages messages;
    FakeInputBox input;
    QtCardEditorOpener opener(db.store, messages, input);
    int reloads = 0;
    opener.setListReload([&reloads] { ++reloads; });

    QString shownAccount, saveCaption;
    whenModal([&](QWidget* modal) {
        shownAccount = child<QLineEdit>(*modal, "密保帐号")->text();
        saveCaption = child<QPushButton>(*modal, "添加密保卡")->text();
        child<QLineEdit>(*modal, "密保序列号")->setText(QStringLiteral("changed"));
        child<QPushButton>(*modal, "添加密保卡")->click();
    });
    opener.openCardEditor(EditorMode::Edit, "acc");
    EXPECT_EQ(shownAccount, QStringLiteral("acc"));
    EXPECT_EQ(saveCaption, q("编辑密保卡"));
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(db.store.findCardByAccount("acc")->serial, "changed");

    whenModal([&](QWidget* modal) {
        shownAccount = child<QLineEdit>(*modal, "密保帐号")->text();
        saveCaption = child<QPushButton>(*modal, "添加密保卡")->text();
        child<QPushButton>(*modal, "按钮4")->click();
    });
    opener.openCardEditor(EditorMode::Add, {});
    EXPECT_EQ(shownAccount, q("请输入密保卡帐号或其他标题！"));
    EXPECT_EQ(saveCaption, q("添加密保卡"));
    EXPECT_EQ(reloads, 1);
}

TEST(QtInputBoxTest, ReturnsTheConfirmedTextOrNothingWhenCancelled)
{
    QtInputBox box;
    for (bool confirm : {true, false}) {
        SCOPED_TRACE(confirm);
        QString caption, prompt;
        QLineEdit::EchoMode echo = QLineEdit::NoEcho;
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            caption = dialog->windowTitle();
            prompt = dialog->labelText();
            echo = dialog->textEchoMode();
            dialog->setTextValue(q("网游 密保"));
            if (confirm)
                dialog->accept();
            else
                dialog->reject();
        });
        const std::optional<std::string> answer =
            box.askText(gb("新建类型"), gb("请输入新建类型名称！\r\n比如：腾讯密保"), false);
        EXPECT_EQ(caption, q("新建类型"));
        EXPECT_EQ(prompt, q("请输入新建类型名称！\n比如：腾讯密保"));
        EXPECT_EQ(echo, QLineEdit::Normal);
        if (confirm) {
            ASSERT_TRUE(answer);
            EXPECT_EQ(u8(*answer), "网游 密保");
        } else {
            EXPECT_FALSE(answer);
        }
    }
}

// Set VELKORA_EDITOR_SCREENSHOT to a file name to keep a picture of the window with its hint.
TEST_F(CardEditorWindowTest, RendersWithTheHintPicture)
{
    ASSERT_TRUE(db.store.insertType(gb("网易密保")));
    editor.open(EditorMode::Add, {});
    showActive();
    moveOver(child(window, "单选框1"));
    const QPixmap shot = window.grab();
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), QSize(333, 387));
    const QByteArray path = qgetenv("VELKORA_EDITOR_SCREENSHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(path)));
    }
}

// From an empty database: Insert on the card list opens the editor, a new type and a card are
// saved, the list shows the card; Enter opens it again, its account is changed and the list
// follows.
TEST(CardEditorWithMainWindowTest, AddAndChangeACardThroughTheWindows)
{
    TempStore db;
    FakeMessages messages;
    FakeInputBox input;
    FakeSettings settings;
    FakeClipboard clipboard;
    QtCardEditorOpener opener(db.store, messages, input);
    MainWindow window("www.tamrel.example");
    CardList cardList(window, db.store, messages, opener);
    QueryPanel queryPanel(window, db.store, messages, settings, clipboard);
    TypingOptions typingOptions(window, settings);
    window.connectBehaviour(cardList, queryPanel, typingOptions);
    opener.setParentWindow(&window);
    opener.setListReload([&cardList] { cardList.fillCardList(); });
    cardList.fillCardList();
    window.show();
    auto* list = child<QTreeView>(window, "超级列表框1");
    ASSERT_NE(list, nullptr);
    auto accounts = [list] {
        QStringList out;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            out << list->model()->index(row, 2).data().toString();
        return out;
    };

    input.replies = {gb("网易密保")};
    whenModal([](QWidget* editor) {
        child<QPushButton>(*editor, "新建类型")->click();
        child<QLineEdit>(*editor, "密保帐号")->setText(q("玩家一"));
        child<QLineEdit>(*editor, "密保序列号")->setText(QStringLiteral("0042"));
        child<QLineEdit>(*editor, "坐标字母串框")->setText(QStringLiteral("A,B,C,D,E,F"));
        child<QPushButton>(*editor, "按钮2")->click();
        child<QPushButton>(*editor, "添加密保卡")->click();
    });
    QTest::keyClick(list, Qt::Key_Insert);
    EXPECT_EQ(accounts(), QStringList{q("玩家一")});
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "密保卡添加成功。");

    list->setCurrentIndex(list->model()->index(0, 0));
    list->selectionModel()->select(list->model()->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QString shownGrid;
    whenModal([&shownGrid](QWidget* editor) {
        shownGrid = child<QPlainTextEdit>(*editor, "密保卡内容")->toPlainText();
        child<QLineEdit>(*editor, "密保帐号")->setText(q("玩家二"));
        child<QPushButton>(*editor, "添加密保卡")->click();
    });
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(shownGrid, q("13-15-23-45-55-82\n99-15-21-16-45-33\n72-33-55-66-88-99\n31-54-1-45-8-32"));
    EXPECT_EQ(messages.shown.back().text, "密保卡编辑成功。");
    EXPECT_EQ(accounts(), QStringList{q("玩家二")});
    EXPECT_EQ(db.store.findCardByAccount(gb("玩家二"))->serial, "0042");
}

} // namespace
} // namespace velkora::testing
