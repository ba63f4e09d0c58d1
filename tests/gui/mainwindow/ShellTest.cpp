// The mouse keyboard, the about window, the tray icon and the shell's menu items in the real Qt
// widgets, with the real behaviours behind them.

#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <set>

#include "GuiSupport.h"
#include "mainwindow/MouseKeyboard.h"
#include "mainwindow/WindowShell.h"
#include "platform/qt/AboutWindow.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/QtTrayIcon.h"
#include "resources/CarriedFiles.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

struct KeyPlace {
    const char* text;
    int left, top, width, height;
};

// 键1 .. 键38 in order, as designed.
const KeyPlace keyPlaces[] = {
    {"1", 4, 28, 16, 16},    {"2", 21, 28, 16, 16},   {"3", 38, 28, 16, 16},     {"4", 55, 28, 16, 16},
    {"5", 72, 28, 16, 16},   {"6", 89, 28, 16, 16},   {"7", 105, 28, 16, 16},    {"8", 122, 28, 16, 16},
    {"9", 139, 28, 16, 16},  {"0", 4, 49, 16, 16},    {"A", 21, 49, 16, 16},     {"B", 38, 49, 16, 16},
    {"C", 55, 49, 16, 16},   {"D", 72, 49, 16, 16},   {"E", 89, 49, 16, 16},     {"F", 105, 49, 16, 16},
    {"G", 122, 49, 16, 16},  {"H", 139, 49, 16, 16},  {"I", 4, 70, 16, 16},      {"J", 21, 70, 16, 16},
    {"K", 38, 70, 16, 16},   {"L", 55, 70, 16, 16},   {"M", 72, 70, 16, 16},     {"N", 89, 70, 16, 16},
    {"O", 105, 70, 16, 16},  {"P", 122, 70, 16, 16},  {"Q", 139, 70, 16, 16},    {"R", 4, 91, 16, 16},
    {"S", 21, 91, 16, 16},   {"T", 38, 91, 16, 16},   {"U", 55, 91, 16, 16},     {"V", 72, 91, 16, 16},
    {"W", 89, 91, 16, 16},   {"X", 105, 91, 16, 16},  {"Y", 122, 91, 16, 16},    {"Z", 139, 91, 16, 16},
    {"退格", 110, 9, 41, 18}, {"重输", 65, 9, 40, 18},
};

QString keyName(int key) { return QStringLiteral("键%1").arg(key); }

TEST(MouseKeyboardLayout, ThirtyEightKeysAtTheirPlacesInAGroupOfTheWindowBuiltWhenFirstOpened)
{
    MainWindow window("www.tamrel.example");
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("鼠标键盘")), nullptr) << "not built at start";
    EXPECT_EQ(window.keyboardHeight(), 112) << "its height is known before it is built";
    window.showKeyboard(315, 304);
    window.hideKeyboard();
    auto* keypad = named<QGroupBox>(window, "鼠标键盘");
    ASSERT_NE(keypad, nullptr);
    EXPECT_EQ(keypad->title(), q("鼠标键盘"));
    EXPECT_EQ(keypad->size(), QSize(158, 112));
    EXPECT_TRUE(keypad->isHidden());
    EXPECT_EQ(keypad->parentWidget(), named(window, "分组框3")->parentWidget())
        << "a child of the window's client area, not of the query group";
    EXPECT_EQ(textOf(named(window, "鼠标键盘按钮")), q("[鼠标键盘]"));

    static_assert(std::size(keyPlaces) == MouseKeyboard::KeyCount);
    for (int key = 1; key <= MouseKeyboard::KeyCount; ++key) {
        const KeyPlace& want = keyPlaces[key - 1];
        auto* button = keypad->findChild<QPushButton*>(keyName(key));
        ASSERT_NE(button, nullptr) << key;
        EXPECT_EQ(button->parentWidget(), keypad) << key;
        EXPECT_EQ(button->text(), q(want.text)) << key;
        EXPECT_EQ(button->geometry(), QRect(want.left, want.top, want.width, want.height)) << key;
    }
    EXPECT_EQ(keypad->findChildren<QPushButton*>().size(), MouseKeyboard::KeyCount);
}

class FakeClock : public Clock {
public:
    LocalTime localNow() const override { return now; }
    LocalTime now{2011, 2, 4, 0, 0, 0, 5};
};

class CountingTrimmer : public MemoryTrimmer {
public:
    void trimMemory() override { ++trims; }
    int trims = 0;
};

class FakeFiles : public FileSystem {
public:
    std::int64_t fileSize(const std::string&) const override { return -1; }
    bool exists(const std::string& path) const override { return present.count(path) != 0; }
    void remove(const std::string&) override {}
    bool writeFile(const std::string&, std::string_view) override { return false; }
    std::set<std::string> present;
};

class NoEditor : public CardEditorOpener {
public:
    void openCardEditor(EditorMode, const std::string&) override {}
};

// The main window wired as the program wires it, over a store with two cards.
class ShellWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.add("t", "alice", "SN-A", "11-12-13\r\n21-22-23\r\n31-32-33", "A,B,C");
        db.add("t", "bob", "SN-B", "11-12\r\n21-22", "A,B");
        window.connectBehaviour(cardList, queryPanel, typing);
        window.connectShell(shell, keyboard);
        queryPanel.showNoCard();
        ASSERT_TRUE(showActive(window));
        cardList.fillCardList();
    }

    void clickRow(int row)
    {
        auto* list = named<QTreeView>(window, "超级列表框1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 1)).center());
        QApplication::processEvents();
    }
    void click(const QString& name) { QTest::mouseClick(window.findChild<QWidget*>(name), Qt::LeftButton); }
    void click(const char* name) { click(q(name)); }
    bool focusIsOn(const char* name) { return testing::focusIsOn(window, name); }
    QAction* menuItem(const char* text) { return testing::menuItem(window, text); }

    TempStore db;
    FakeMessages messages;
    FakeSettings settings;
    FakeClipboard clipboard;
    NoEditor editor;
    FakeShell shellOpener;
    FakeFiles files;
    FakeClock clock;
    CountingTrimmer trimmer;
    FakeAbout about;
    MainWindow window{"www.tamrel.example"};
    CardList cardList{window, db.store, messages, editor};
    QueryPanel queryPanel{window, db.store, messages, settings, clipboard};
    TypingOptions typing{window, settings};
    MouseKeyboard keyboard{window, queryPanel};
    WindowShell shell{window, messages, shellOpener, files, clock, trimmer, about, "/run", "www.tamrel.example"};
};

TEST_F(ShellWiring, KeypadOpensOverTheQueryGroupAndFillsTheFocusedBox)
{
    clickRow(0);
    QWidget* typingPanel = named(window, "密保查询外形框");

    click("鼠标键盘按钮");
    QWidget* keypad = named(window, "鼠标键盘");
    EXPECT_TRUE(keypad->isVisible());
    EXPECT_EQ(keypad->pos(), QPoint(315, 304));
    EXPECT_EQ(keypad->geometry().bottom(), named(window, "分组框3")->geometry().bottom());
    EXPECT_FALSE(typingPanel->isVisible());
    EXPECT_EQ(textOf(named(window, "鼠标键盘按钮")), q("[关闭键盘]"));
    // The keypad lies above the query group.
    EXPECT_EQ(window.centralWidget()->childAt(QPoint(315 + 40, 304 + 60)), keypad->childAt(40, 60));

    click(keyName(11)); // A
    click(keyName(1));  // 1
    EXPECT_EQ(textOf(named(window, "编辑框4")), QStringLiteral("A1"));
    EXPECT_TRUE(focusIsOn("编辑框4"));
    EXPECT_TRUE(named<QTimer>(window, "ttime")->isActive()) << "a click restarts the 800 ms count";

    // With auto-advance on, the focus and with it the target move on after the pause.
    EXPECT_TRUE(QTest::qWaitFor([&] { return focusIsOn("编辑框5"); }, 3000));
    click(keyName(12)); // B
    click(keyName(2));  // 2
    EXPECT_EQ(textOf(named(window, "编辑框5")), QStringLiteral("B2"));
    EXPECT_EQ(textOf(named(window, "编辑框4")), QStringLiteral("A1"));

    // A box clicked with the mouse becomes the target; 退格 and 重输 work on it.
    QTest::mouseClick(named(window, "编辑框6"), Qt::LeftButton);
    for (int key : {9, 34, 1, 2}) // 9, X, 1, and a fourth character that is ignored
        click(keyName(key));
    EXPECT_EQ(textOf(named(window, "编辑框6")), QStringLiteral("9X1"));
    click(keyName(MouseKeyboard::BackspaceKey));
    EXPECT_EQ(textOf(named(window, "编辑框6")), QStringLiteral("9X"));
    click(keyName(MouseKeyboard::ClearKey));
    EXPECT_EQ(textOf(named(window, "编辑框6")), QString());
    EXPECT_TRUE(focusIsOn("编辑框6"));

    // The link closes it again.
    click("鼠标键盘按钮");
    EXPECT_FALSE(keypad->isVisible());
    EXPECT_TRUE(typingPanel->isVisible());
    EXPECT_EQ(textOf(named(window, "鼠标键盘按钮")), q("[鼠标键盘]"));
}

TEST_F(ShellWiring, KeypadClicksQueryByThemselvesWithAutoQuery)
{
    clickRow(0);
    click("鼠标键盘按钮");
    for (const std::pair<int, int>& cell : {std::pair{11, 1}, std::pair{12, 2}, std::pair{13, 3}}) {
        const char* next[] = {"编辑框5", "编辑框6", "查询密保"};
        click(keyName(cell.first));
        click(keyName(cell.second));
        ASSERT_TRUE(QTest::qWaitFor([&] { return focusIsOn(next[cell.second - 1]); }, 3000)) << cell.second;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return textOf(named(window, "查询密保")) == q("重新查询"); }, 3000));
    EXPECT_EQ(textOf(named(window, "标签4")), QStringLiteral("11\n\n22\n\n33\n\n"));
}

TEST_F(ShellWiring, SelectingAnotherCardClosesTheKeypad)
{
    clickRow(0);
    click("鼠标键盘按钮");
    ASSERT_TRUE(named(window, "鼠标键盘")->isVisible());
    clickRow(1);
    EXPECT_FALSE(named(window, "鼠标键盘")->isVisible());
    EXPECT_TRUE(named(window, "密保查询外形框")->isVisible());
    EXPECT_EQ(textOf(named(window, "鼠标键盘按钮")), q("[鼠标键盘]"));
    EXPECT_FALSE(keyboard.isOpen());
}

TEST_F(ShellWiring, MenuItemsShortcutsAndTheClockReachTheShell)
{
    named(window, "超级列表框1")->setFocus();
    QTest::keyClick(named(window, "超级列表框1"), Qt::Key_F1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "帮助文件不存在，重新安装将会修复此问题！\r\n如果安装后还不行，请到官方网站（"
                                      "www.tamrel.example）下载完成版安装程序。");
    files.present.insert("/run/help.mht");
    menuItem("使用说明")->trigger();
    EXPECT_EQ(shellOpener.files, std::vector<std::string>{"/run/help.mht"});

    QTest::keyClick(named(window, "超级列表框1"), Qt::Key_F3);
    menuItem("意见反馈")->trigger();
    menuItem("Orvandel")->trigger();
    EXPECT_EQ(shellOpener.urls, (std::vector<std::string>{
                                    "http://www.tamrel.example/",
                                    "http://www.tamrel.example/forum/?type=list&sid=4",
                                    "http://www.tamrel.example/post/yuanchuang-orvandel-V1-0-By-Quenmar.html"}));

    QTest::keyClick(named(window, "超级列表框1"), Qt::Key_F2);
    EXPECT_EQ(about.opened, 1);

    // 窗口置顶 ticks itself and puts the window on top; a second choice undoes both.
    menuItem("窗口置顶")->trigger();
    EXPECT_TRUE(window.topmostTicked());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isVisible());
    menuItem("窗口置顶")->trigger();
    EXPECT_FALSE(window.topmostTicked());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);

    // 时钟1 runs from the start and writes status part 2 each second.
    auto* clockTimer = named<QTimer>(window, "时钟1");
    ASSERT_NE(clockTimer, nullptr);
    EXPECT_TRUE(clockTimer->isActive());
    EXPECT_EQ(clockTimer->interval(), 1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return trimmer.trims > 0; }, 3000));
    EXPECT_EQ(window.statusText(2), q("2011年2月4日 周五"));

    menuItem("退出软件")->trigger();
    EXPECT_FALSE(window.isVisible());
}

struct Placement {
    const char* name;
    int left, top, width, height;
};

TEST(AboutWindowLayout, ControlsAtTheirPlacesWithTheirTexts)
{
    int siteOpened = 0;
    AboutWindow about("www.tamrel.example", [&siteOpened] { ++siteOpened; });
    EXPECT_EQ(about.windowTitle(), q("关于软件"));
    EXPECT_EQ(about.size(), QSize(338, 353));

    const Placement places[] = {
        {"图片框1", 0, 0, 336, 88},
        {"标签3", 24, 144, 288, 64},
        {"外形框1", 12, 272, 308, 8},
        {"按钮1", 232, 282, 80, 31},
    };
    for (const Placement& p : places) {
        QWidget* w = named(about, p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->parentWidget(), &about) << p.name;
        EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
    }
    EXPECT_EQ(textOf(named(about, "标签3")), shown("\r\n一款记录各种帐号密保卡的软件。\r\n可以安全保存、快速查询坐标值。"
                                                  "\r\n更多实用的功能，将会陆续开发。"));
    EXPECT_EQ(textOf(named(about, "超级链接框2")), q("Tamrel工作室：www.tamrel.example"));
    // The link keeps its designed place and widens only as far as its text needs.
    QWidget* link = named(about, "超级链接框2");
    EXPECT_EQ(link->pos(), QPoint(24, 248));
    EXPECT_EQ(link->height(), 16);
    EXPECT_GE(link->width(), 208);
    EXPECT_GE(link->width(), link->sizeHint().width()) << "the host name is not cut";
    AboutWindow shortHost("a.example", {});
    EXPECT_EQ(named(shortHost, "超级链接框2")->width(), 208);
    EXPECT_EQ(textOf(named(about, "按钮1")), q("取 消"));
    EXPECT_EQ(named<QFrame>(about, "外形框1")->frameShape(), QFrame::HLine);

    // The credit lines sit between the banner and 标签3.
    for (const char* credit : {"标签1", "标签2"}) {
        QWidget* w = named(about, credit);
        ASSERT_NE(w, nullptr) << credit;
        EXPECT_FALSE(textOf(w).isEmpty()) << credit;
        EXPECT_GE(w->geometry().top(), 88) << credit;
        EXPECT_LE(w->geometry().bottom(), 144) << credit;
    }

    // The banner is a picture, not an empty box.
    const QImage banner = named(about, "图片框1")->grab().toImage();
    std::set<QRgb> colours;
    for (int x = 0; x < banner.width(); x += 4)
        for (int y = 0; y < banner.height(); y += 4)
            colours.insert(banner.pixel(x, y));
    EXPECT_GT(colours.size(), 20u);

    ASSERT_TRUE(showActive(about));
    QTest::mouseClick(named(about, "超级链接框2"), Qt::LeftButton);
    EXPECT_EQ(siteOpened, 1);
    QTest::mouseClick(named(about, "按钮1"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Rejected);
}

TEST(AboutWindowLayout, OpensModalOverTheMainWindowAndReturnsWhenClosed)
{
    MainWindow window("www.tamrel.example");
    ASSERT_TRUE(showActive(window));
    QtAboutWindowOpener opener(window, "www.tamrel.example");
    int siteOpened = 0;
    opener.setOpenSite([&siteOpened] { ++siteOpened; });
    QString title;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() != nullptr; }, 2000));
        QWidget* about = QApplication::activeModalWidget();
        title = about->windowTitle();
        owner = about->parentWidget();
        QTest::mouseClick(named(*about, "超级链接框2"), Qt::LeftButton);
        QTest::mouseClick(named(*about, "按钮1"), Qt::LeftButton);
    });
    opener.openAboutWindow(); // returns only once 取 消 has closed it
    EXPECT_EQ(title, q("关于软件"));
    EXPECT_EQ(owner, &window);
    EXPECT_EQ(siteOpened, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(TrayIcon, LeftClickTogglesAndTheContextRequestPopsUpTheTrayMenuBesideThePointer)
{
    MainWindow window("www.tamrel.example");
    int toggles = 0;
    QtTrayIcon tray(window, *window.trayMenu(), [&toggles] { ++toggles; });
    tray.addTrayIcon(utf8ToGb("Velkora托盘信息"));
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        ASSERT_NE(tray.icon(), nullptr);
        EXPECT_EQ(tray.icon()->toolTip(), q("Velkora托盘信息"));
        EXPECT_TRUE(tray.icon()->contextMenu() == nullptr) << "the menu opens at our own place";
    } else {
        EXPECT_EQ(tray.icon(), nullptr) << "without a tray the program runs on without an icon";
    }

    tray.activate(QSystemTrayIcon::Trigger, QPoint(200, 150));
    tray.activate(QSystemTrayIcon::DoubleClick, QPoint(200, 150));
    tray.activate(QSystemTrayIcon::MiddleClick, QPoint(200, 150));
    EXPECT_EQ(toggles, 2) << "the second click of a quick pair toggles back; the middle button does nothing";
    EXPECT_FALSE(window.trayMenu()->isVisible());

    tray.activate(QSystemTrayIcon::Context, QPoint(200, 150));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.trayMenu()->isVisible(); }, 2000));
    EXPECT_EQ(window.trayMenu()->pos(), QPoint(203, 153));
    EXPECT_FALSE(window.isVisible()) << "the menu works while the main window is hidden";
    window.trayMenu()->hide();
}

} // namespace
} // namespace velkora::testing
