// The main window driven by the user, with the real behaviours over a card store on a temporary
// SQLite database: every click, key, menu item and timer reaches the right behaviour, and what the
// behaviour shows arrives in the right control.

#include <QCheckBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "GuiSupport.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/MainWindowControls.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

class FakeEditor : public CardEditorOpener {
public:
    void openCardEditor(EditorMode mode, const std::string& account) override { calls.emplace_back(mode, account); }
    std::vector<std::pair<EditorMode, std::string>> calls;
};

using EditorCall = std::pair<EditorMode, std::string>;

class MainWindowWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (seedCards) {
            db.add(gb("网游"), "alice");
            db.add(gb("网游"), "bob", "SN-B");
            db.add(gb("银行"), "carol");
            ASSERT_TRUE(db.store.insertType(gb("网游")));
            ASSERT_TRUE(db.store.insertType(gb("银行")));
        }
        window.connectBehaviour(cardList, queryPanel, typing);
        queryPanel.showNoCard();
        ASSERT_TRUE(showActive(window));
        cardList.fillCardList();
    }

    QTreeView* list() { return named<QTreeView>(window, "超级列表框1"); }
    int rows() { return list()->model()->rowCount(); }
    QString cell(int row, int column) { return list()->model()->index(row, column).data().toString(); }
    QPoint rowPoint(int row) { return list()->visualRect(list()->model()->index(row, 1)).center(); }

    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list()->viewport(), button, {}, rowPoint(row));
        QApplication::processEvents(); // the focused row's card loads once the click is done
    }
    void click(const char* name) { QTest::mouseClick(named(window, name), Qt::LeftButton); }
    void typeInFocus(const char* text) { QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text)); }
    bool focusIsOn(const char* name) { return testing::focusIsOn(window, name); }

    QAction* menuItem(const char* text) { return testing::menuItem(window, text); }

    bool seedCards = true;
    TempStore db;
    FakeMessages messages;
    FakeSettings settings;
    FakeClipboard clipboard;
    FakeEditor editor;
    MainWindow window{"www.tamrel.example"};
    CardList cardList{window, db.store, messages, editor};
    QueryPanel queryPanel{window, db.store, messages, settings, clipboard};
    TypingOptions typing{window, settings};
};

TEST_F(MainWindowWiring, ClickingARowLoadsItsCardAndEnterQueriesAndResets)
{
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(1, 2), QStringLiteral("bob"));
    EXPECT_FALSE(named(window, "分组框3")->isEnabled());

    clickRow(1);
    EXPECT_TRUE(named(window, "分组框3")->isEnabled());
    EXPECT_EQ(textOf(named(window, "分组框3")), q("密保查询-密保卡ID：") + cell(1, 0));
    EXPECT_EQ(textOf(named(window, "密保帐号")), QStringLiteral("bob"));
    EXPECT_EQ(textOf(named(window, "密保序列号")), QStringLiteral("SN-B"));

    QTest::mouseClick(named(window, "编辑框4"), Qt::LeftButton);
    typeInFocus("a1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(textOf(named(window, "标签4")), QStringLiteral("11\n\n"));
    EXPECT_EQ(textOf(named(window, "查询密保")), q("重新查询"));
    EXPECT_EQ(queryPanel.loadedCard().queriedCount, 1);

    // Enter on the button itself resets, and the first box takes the focus.
    named(window, "查询密保")->setFocus();
    QTest::keyClick(named(window, "查询密保"), Qt::Key_Return);
    EXPECT_EQ(textOf(named(window, "标签4")), shown("-\r\n\r\n-\r\n\r\n-"));
    EXPECT_EQ(textOf(named(window, "查询密保")), q("查询密保"));
    EXPECT_EQ(textOf(named(window, "编辑框4")), QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusIsOn("编辑框4"); }, 2000));

    // A failed query reports through the message service and focuses the box of the fault.
    QTest::mouseClick(named(window, "编辑框5"), Qt::LeftButton);
    typeInFocus("b2");
    click("查询密保");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusIsOn("编辑框4"); }, 2000));
}

TEST_F(MainWindowWiring, AutoAdvanceMovesBoxByBoxAndQueriesByItself)
{
    clickRow(1);
    QTest::mouseClick(named(window, "编辑框4"), Qt::LeftButton);
    typeInFocus("a1");
    auto* timer = named<QTimer>(window, "ttime");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 800);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusIsOn("编辑框5"); }, 3000));
    typeInFocus("b2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusIsOn("编辑框6"); }, 3000));
    typeInFocus("a2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return textOf(named(window, "查询密保")) == q("重新查询"); }, 3000));
    EXPECT_EQ(textOf(named(window, "编辑框4")), QStringLiteral("A1"));
    EXPECT_EQ(textOf(named(window, "标签4")), QStringLiteral("11\n\n22\n\n21\n\n"));
    EXPECT_TRUE(focusIsOn("查询密保"));
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowWiring, ListKeysAndDoubleClickEditAddAndDelete)
{
    // Without a selected row, Enter and a double click on empty space do nothing.
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, QPoint(5, list()->viewport()->height() - 5));
    EXPECT_TRUE(editor.calls.empty());

    clickRow(1);
    QTest::keyClick(list(), Qt::Key_Insert);
    QTest::keyClick(list(), Qt::Key_Return);
    QTest::keyClick(list(), Qt::Key_Enter);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rowPoint(1));
    EXPECT_EQ(editor.calls, (std::vector<EditorCall>{{EditorMode::Add, ""},
                                                     {EditorMode::Edit, "bob"},
                                                     {EditorMode::Edit, "bob"},
                                                     {EditorMode::Edit, "bob"}}));

    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].text, "是否删除密保卡：[网游]-[bob]？");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "密保卡：[网游]-[bob] 已经被删除！");
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(1, 2), QStringLiteral("carol"));
}

TEST_F(MainWindowWiring, QueryPanelButtonsEditDeleteAndCopy)
{
    clickRow(0);
    click("按钮1");
    EXPECT_EQ(editor.calls, (std::vector<EditorCall>{{EditorMode::Edit, "alice"}}));

    click("按钮3");
    EXPECT_EQ(clipboard.text, "alice");
    click("按钮4");
    EXPECT_EQ(clipboard.text, "SN");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "密保帐号：alice 复制到剪辑板！");
    EXPECT_EQ(messages.shown[1].text, "密保序列号：SN 复制到剪辑板！");

    click("超级链接框3");
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].icon, MessageIcon::None);

    messages.answerYes = false;
    click("按钮5");
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(rows(), 3);
}

TEST_F(MainWindowWiring, RightClickPopsUpTheCardMenuBesideThePointer)
{
    const QPoint at = rowPoint(2);
    clickRow(2, Qt::RightButton);
    QMenu* menu = window.cardMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    EXPECT_EQ(menu->pos(), list()->viewport()->mapToGlobal(at) + QPoint(3, 3));
    EXPECT_EQ(window.selectedRow()->account, "carol");
    menu->close();
}

TEST_F(MainWindowWiring, SearchShowsAndHidesTheNotFoundPanel)
{
    QWidget* panel = named(window, "外形框3");
    auto search = [&](const char* keyword) {
        window.focusKeyword();
        named<QComboBox>(window, "搜索关键字")->lineEdit()->selectAll();
        QTest::keyClicks(named(window, "搜索关键字"), QString::fromUtf8(keyword));
        click("搜索按钮");
    };

    search("BO"); // the store ignores the case of Latin letters
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 2), QStringLiteral("bob"));

    search("zzz");
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->pos(), QPoint(17, 76));
    click("显示全部密保卡");
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(panel->isHidden());

    search("zzz");
    click("继续搜索密保卡");
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusIsOn("搜索关键字"); }, 2000));

    // Ctrl+D reads all cards back.
    search("zzz");
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(panel->isHidden());

    // A search with only the prompt in the box is refused.
    window.setKeywordText(CardList::accountPrompt());
    click("搜索按钮");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "请输入[密保帐号]搜索关键字！");
}

TEST_F(MainWindowWiring, TypeModeListsTheTypesAndPickingOneSearches)
{
    auto* type = named<QComboBox>(window, "搜索类型");
    auto* keyword = named<QComboBox>(window, "搜索关键字");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Up);
    ASSERT_EQ(type->currentIndex(), 0);
    ASSERT_EQ(keyword->count(), 2);
    EXPECT_EQ(keyword->itemText(0), q("网游"));
    EXPECT_EQ(keyword->currentText(), q("请<选择>或者<输入>密保类型关键字！"));

    keyword->setFocus();
    QTest::keyClick(keyword, Qt::Key_Down);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(1, 2), QStringLiteral("bob"));
    QTest::keyClick(keyword, Qt::Key_Down);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 2), QStringLiteral("carol"));

    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);
    EXPECT_EQ(keyword->count(), 0);
    EXPECT_EQ(keyword->currentText(), q("请<输入>密保帐号关键字！"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowWiring, OptionsAreWrittenOnceWhenTheUserChangesThem)
{
    QAction* autoSearch = menuItem("自动查询");
    QAction* autoLine = menuItem("自动换行");
    ASSERT_TRUE(autoSearch && autoLine);
    autoSearch->trigger();
    EXPECT_FALSE(autoSearch->isChecked());
    EXPECT_FALSE(queryPanel.autoSearch());
    autoSearch->trigger();
    autoLine->trigger();
    EXPECT_FALSE(autoLine->isChecked());
    EXPECT_FALSE(queryPanel.autoLine());

    // Restoring a remembered option ticks the item without writing it.
    queryPanel.setAutoLine(true);
    EXPECT_TRUE(autoLine->isChecked());

    clickRow(0); // the typing options sit in the query group, enabled once a card is loaded
    click("一键输入选择框");
    EXPECT_FALSE(typing.fullInput());
    auto* speed = named<QComboBox>(window, "输入速度列表框");
    speed->setFocus();
    QTest::keyClick(speed, Qt::Key_Down);
    EXPECT_EQ(typing.speedIndex(), 4);
    settings.values[{"hotkey", "onehotspeed"}] = "1";
    typing.restoreSpeed();
    EXPECT_EQ(speed->currentIndex(), 1);

    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Soft/AutoSearch=0", "Soft/AutoSearch=1", "Soft/AutoLine=0",
                                                         "hotkey/onehot=0", "hotkey/onehotspeed=4"}));
}

TEST_F(MainWindowWiring, LaterActionsReachTheirHooks)
{
    std::map<std::string, int> calls;
    MainWindowHooks& hooks = window.hooks();
    auto count = [&calls](const char* name) { return [&calls, name] { ++calls[name]; }; };
    hooks.openMaintenance = count("maintenance");
    hooks.openOrvandel = count("orvandel");
    hooks.changeLoginPassword = count("password");
    hooks.openHelp = count("help");
    hooks.openFeedback = count("feedback");
    hooks.openSite = count("site");
    hooks.openAbout = count("about");
    hooks.openMouseKeyboard = count("keyboard");
    hooks.trayToggle = count("toggle");
    hooks.exitProgram = count("exit");
    bool topmost = false;
    hooks.trayTopmost = [&](bool ticked) { topmost = ticked; };

    clickRow(0);
    for (Qt::Key key : {Qt::Key_F5, Qt::Key_F4, Qt::Key_F1, Qt::Key_F3, Qt::Key_F2})
        QTest::keyClick(list(), key);
    for (const char* item : {"Orvandel", "意见反馈", "显示/隐藏", "退出软件", "关闭菜单"})
        menuItem(item)->trigger();
    for (QAction* action : window.trayMenu()->actions())
        if (action->menu() != nullptr)
            for (QAction* item : action->menu()->actions())
                item->trigger(); // 使用帮助: 使用说明, 官方网站, 关于软件
    click("超级链接框3");
    window.showEmptyPanel(22, 95);
    click("超级链接框1");
    window.showNotFoundPanel(17, 76);
    click("超级链接框2");
    click("鼠标键盘按钮");
    menuItem("窗口置顶")->trigger();

    EXPECT_EQ(calls, (std::map<std::string, int>{{"maintenance", 1},
                                                 {"password", 1},
                                                 {"help", 2},
                                                 {"site", 4},
                                                 {"about", 2},
                                                 {"orvandel", 1},
                                                 {"feedback", 1},
                                                 {"toggle", 1},
                                                 {"exit", 1},
                                                 {"keyboard", 1}}));
    EXPECT_TRUE(topmost);
    EXPECT_TRUE(window.topmostTicked());
}

class EmptyStoreWiring : public MainWindowWiring {
protected:
    void SetUp() override
    {
        seedCards = false;
        MainWindowWiring::SetUp();
    }
};

TEST_F(EmptyStoreWiring, EmptyStorePanelCoversTheListAndAddsTheFirstCard)
{
    QWidget* panel = named(window, "外形框1");
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->pos(), QPoint(22, 95));
    EXPECT_FALSE(named(window, "分组框2")->isEnabled());
    EXPECT_FALSE(named(window, "搜索按钮")->isEnabled());

    click("添加信息");
    EXPECT_EQ(editor.calls, (std::vector<EditorCall>{{EditorMode::Add, ""}}));

    db.add(gb("网游"), "first");
    cardList.fillCardList();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(named(window, "分组框2")->isEnabled());
    EXPECT_EQ(rows(), 1);
}

} // namespace
} // namespace velkora::testing
