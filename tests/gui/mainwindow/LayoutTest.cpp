// The main window as designed: every control under its name, at its place, with its text; the
// menus; the status bar; the client area holding all controls.

#include <QCheckBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include "GuiSupport.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/MainWindowControls.h"

namespace velkora::testing {
namespace {

class MainWindowLayout : public ::testing::Test {
protected:
    MainWindow window{"www.tamrel.example"};
};

struct Placement {
    const char* name;
    const char* parent; // "" for the client area of the window
    int left, top, width, height;
};

const Placement placements[] = {
    {"分组框2", "", 8, 3, 464, 45},
    {"标签1", "分组框2", 8, 20, 147, 18},
    {"搜索类型", "分组框2", 40, 16, 80, 20},
    {"搜索关键字", "分组框2", 157, 15, 230, 20},
    {"搜索按钮", "分组框2", 393, 12, 56, 24},
    {"分组框1", "", 8, 56, 299, 280},
    {"超级列表框1", "分组框1", 7, 16, 284, 256},
    {"外形框1", "分组框1", -240, 40, 264, 128},
    {"标签5", "外形框1", 21, 16, 232, 24},
    {"添加信息", "外形框1", 62, 52, 136, 32},
    {"外形框2", "外形框1", 13, 95, 240, 3},
    {"超级链接框1", "外形框1", 18, 101, 228, 24},
    {"外形框3", "分组框1", -232, 224, 264, 128},
    {"标签6", "外形框3", 38, 17, 209, 18},
    {"继续搜索密保卡", "外形框3", 14, 52, 109, 32},
    {"显示全部密保卡", "外形框3", 136, 52, 109, 32},
    {"外形框4", "外形框3", 13, 95, 240, 3},
    {"超级链接框2", "外形框3", 18, 101, 228, 24},
    {"分组框3", "", 315, 56, 157, 360},
    {"标签2", "分组框3", 3, 16, 138, 232},
    {"密保帐号", "分组框3", 4, 35, 119, 20},
    {"按钮3", "分组框3", 124, 34, 30, 20},
    {"密保序列号", "分组框3", 4, 82, 121, 20},
    {"按钮4", "分组框3", 124, 80, 30, 20},
    {"超级链接框3", "分组框3", 3, 128, 142, 16},
    {"标签3", "分组框3", 6, 150, 47, 70},
    {"编辑框4", "分组框3", 47, 147, 60, 20},
    {"编辑框5", "分组框3", 47, 171, 60, 20},
    {"编辑框6", "分组框3", 47, 194, 60, 20},
    {"标签4", "分组框3", 115, 151, 32, 64},
    {"查询密保", "分组框3", 9, 221, 72, 24},
    {"鼠标键盘按钮", "分组框3", 85, 226, 65, 17},
    {"密保查询外形框", "分组框3", 1, 246, 153, 110},
    {"一键输入选择框", "密保查询外形框", 9, 8, 93, 16},
    {"输入速度列表框", "密保查询外形框", 104, 5, 48, 20},
    {"标签7", "密保查询外形框", 9, 28, 142, 16},
    {"按钮1", "密保查询外形框", 6, 56, 70, 24},
    {"按钮5", "密保查询外形框", 78, 56, 70, 24},
};

TEST_F(MainWindowLayout, EveryControlSitsAtItsDesignedPlaceInItsParent)
{
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        QWidget* widget = named(window, p.name);
        ASSERT_NE(widget, nullptr);
        QWidget* expectedParent = *p.parent ? named(window, p.parent) : window.centralWidget();
        EXPECT_EQ(widget->parentWidget(), expectedParent);
        EXPECT_EQ(widget->geometry(), QRect(p.left, p.top, p.width, p.height));
    }
}

TEST_F(MainWindowLayout, ControlsShowTheirDesignedTexts)
{
    const std::pair<const char*, const char*> texts[] = {
        {"分组框2", "快速搜索"},
        {"标签1", "类型             内容"},
        {"搜索类型", "密保帐号"},
        {"搜索关键字", "请<输入>密保帐号关键字！"},
        {"搜索按钮", "搜 索"},
        {"分组框1", "密保列表"},
        {"标签5", "当前数据库中无密保卡！"},
        {"添加信息", "立即添加信息"},
        {"超级链接框1", "Tamrel工作室 www.tamrel.example"},
        {"标签6", "未搜索到相关内容密保卡！\r\n"},
        {"继续搜索密保卡", "继续搜索密保卡"},
        {"显示全部密保卡", "显示全部密保卡"},
        {"超级链接框2", "Tamrel工作室 www.tamrel.example"},
        {"分组框3", "密保查询-请先选择密保卡"},
        {"标签2", "密保帐号\r\n\r\n\r\n\r\n密保序列号\r\n\r\n\r\n\r\n密保坐标\r\n"},
        {"按钮3", "复制"},
        {"按钮4", "复制"},
        {"超级链接框3", "[注意]坐标值填写须知"},
        {"标签3", "一格：\r\n\r\n二格：\r\n\r\n三格："},
        {"编辑框4", ""},
        {"标签4", "-\r\n\r\n-\r\n\r\n-"},
        {"查询密保", "查询密保"},
        {"鼠标键盘按钮", "[鼠标键盘]"},
        {"一键输入选择框", "启用全输模式"},
        {"输入速度列表框", "中速"},
        {"标签7", "Alt+P键：智能热键输入"},
        {"按钮1", "编辑密保卡"},
        {"按钮5", "删除密保卡"},
    };
    for (const auto& [name, text] : texts) {
        SCOPED_TRACE(name);
        QWidget* widget = named(window, name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(textOf(widget), shown(text));
    }
}

TEST_F(MainWindowLayout, StartsWithBothPanelsHiddenAndSearchInAccountMode)
{
    EXPECT_TRUE(named(window, "外形框1")->isHidden());
    EXPECT_TRUE(named(window, "外形框3")->isHidden());

    auto* type = named<QComboBox>(window, "搜索类型");
    ASSERT_EQ(type->count(), 2);
    EXPECT_EQ(type->itemText(0), q("密保类型"));
    EXPECT_EQ(type->itemText(1), q("密保帐号"));
    EXPECT_EQ(type->currentIndex(), 1);
    EXPECT_FALSE(type->isEditable());
    EXPECT_EQ(window.searchTypeIndex(), 1);

    auto* keyword = named<QComboBox>(window, "搜索关键字");
    EXPECT_TRUE(keyword->isEditable());
    EXPECT_EQ(keyword->count(), 0);

    auto* speed = named<QComboBox>(window, "输入速度列表框");
    QStringList entries;
    for (int i = 0; i < speed->count(); ++i)
        entries << speed->itemText(i);
    EXPECT_EQ(entries, lines({"极速", "快速", "高速", "中速", "低速", "慢速"}));
    EXPECT_FALSE(speed->isEditable());
    EXPECT_TRUE(named<QCheckBox>(window, "一键输入选择框")->isChecked());

    auto* timer = named<QTimer>(window, "ttime");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(MainWindowLayout, CardListIsAFlatReportViewWithTheThreeColumns)
{
    auto* list = named<QTreeView>(window, "超级列表框1");
    ASSERT_NE(list, nullptr);
    QHeaderView* header = list->header();
    ASSERT_EQ(list->model()->columnCount(), 3);
    const std::pair<const char*, int> columns[] = {{"ID", 50}, {"密保类型", 90}, {"密保帐号", 135}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), q(columns[i].first));
        EXPECT_EQ(header->sectionSize(i), columns[i].second);
    }
    EXPECT_FALSE(header->isHidden());
    EXPECT_FALSE(header->sectionsClickable());
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(MainWindowLayout, MenuBarHoldsFourMenusWithTheirItemsAndShortcuts)
{
    QStringList bar;
    QStringList items;
    for (QAction* action : window.menuBar()->actions()) {
        bar << action->text();
        items << action->text();
        describeMenu(action->menu(), QStringLiteral("  "), items);
    }
    EXPECT_EQ(bar, lines({"密保卡操作(&M)", "工具库(&G)", "软件设置(&A)", "帮助(&B)"}));
    EXPECT_EQ(items, lines({
                         "密保卡操作(&M)",
                         "  读取全部密保卡(&D)\tCtrl+D",
                         "  -",
                         "  添加密保卡(&T)\tCtrl+T",
                         "  编辑密保卡(&F)\tCtrl+F",
                         "  删除密保卡(&S)\tCtrl+S",
                         "工具库(&G)",
                         "  数据库工具\tF5",
                         "  -",
                         "  Orvandel",
                         "软件设置(&A)",
                         "  登陆密码\tF4",
                         "  自动功能",
                         "    自动查询 [x]",
                         "    自动换行 [x]",
                         "帮助(&B)",
                         "  使用说明\tF1",
                         "  意见反馈",
                         "  官方网站(&W)\tF3",
                         "  -",
                         "  关于软件(&Z)\tF2",
                     }));
    EXPECT_EQ(window.cardMenu(), window.menuBar()->actions().first()->menu());
}

TEST_F(MainWindowLayout, TrayMenuExistsOutsideTheMenuBar)
{
    QMenu* tray = window.trayMenu();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->title(), q("托盘菜单"));
    for (QAction* action : window.menuBar()->actions())
        EXPECT_NE(action->menu(), tray);
    EXPECT_EQ(describeMenu(tray), lines({
                                      "显示/隐藏",
                                      "窗口置顶 [ ]",
                                      "-",
                                      "使用帮助",
                                      "  使用说明",
                                      "  官方网站",
                                      "  关于软件",
                                      "-",
                                      "关闭菜单",
                                      "-",
                                      "退出软件",
                                  }));
}

TEST_F(MainWindowLayout, StatusBarHasSiteContactAndClockParts)
{
    QStatusBar* bar = window.statusBar();
    ASSERT_EQ(bar->objectName(), q("状态条1"));
    ASSERT_TRUE(showActive(window));
    window.setClockText(utf8ToGb("2011年2月3日14时5分7秒 周四"));
    QApplication::processEvents();

    EXPECT_EQ(window.statusText(0), q("官方网站:www.tamrel.example"));
    EXPECT_EQ(window.statusText(1), q("客服QQ:10000"));
    EXPECT_EQ(window.statusText(2), q("2011年2月3日14时5分7秒 周四"));

    auto* site = named<QLabel>(window, "状态条1_0");
    auto* contact = named<QLabel>(window, "状态条1_1");
    auto* clock = named<QLabel>(window, "状态条1_2");
    ASSERT_TRUE(site && contact && clock);
    // Left to right; the site part is never cut, even by a long clock text.
    EXPECT_GE(site->width(), 160);
    EXPECT_GE(site->width(), site->sizeHint().width());
    EXPECT_EQ(contact->width(), 120);
    EXPECT_LT(site->geometry().right(), contact->geometry().left());
    EXPECT_LT(contact->geometry().right(), clock->geometry().left());
}

TEST_F(MainWindowLayout, ClientAreaHoldsEveryControlAtTheStartUpWidth)
{
    window.setCaption(utf8ToGb("Velkora Ver 2.5 2011年正月版 [永久免费使用] www.tamrel.example"));
    window.setWidth(MainWindowWidth);
    ASSERT_TRUE(showActive(window));

    EXPECT_EQ(window.windowTitle(), q("Velkora Ver 2.5 2011年正月版 [永久免费使用] www.tamrel.example"));
    EXPECT_EQ(window.width(), 485);
    const QRect client = window.centralWidget()->rect();
    for (const char* group : {"分组框1", "分组框2", "分组框3"}) {
        SCOPED_TRACE(group);
        EXPECT_TRUE(client.contains(named(window, group)->geometry()));
    }
    // The advertising area below the list stays free.
    EXPECT_TRUE(client.contains(QRect(5, 340, 321, 74)));
    EXPECT_GE(window.statusBar()->geometry().top(), window.centralWidget()->geometry().bottom());
}

// The captions of several lines step down one line at a time as the controls they name were placed.
TEST_F(MainWindowLayout, MultiLineCaptionsStayLevelWithTheirBoxes)
{
    auto lineCentre = [](QWidget* label, int line) {
        const int pitch = qobject_cast<LineLabel*>(label)->linePitch();
        return label->y() + line * pitch + pitch / 2;
    };
    QWidget* result = named(window, "标签4");
    QWidget* cellCaptions = named(window, "标签3");
    const char* cells[] = {"编辑框4", "编辑框5", "编辑框6"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(cells[i]);
        const QRect box = named(window, cells[i])->geometry();
        EXPECT_GE(lineCentre(result, 2 * i), box.top());
        EXPECT_LE(lineCentre(result, 2 * i), box.bottom());
        EXPECT_GE(lineCentre(cellCaptions, 2 * i), box.top());
        EXPECT_LE(lineCentre(cellCaptions, 2 * i), box.bottom());
    }
    // "密保帐号" and "密保序列号" lie above their boxes, not under them.
    QWidget* captions = named(window, "标签2");
    EXPECT_LT(lineCentre(captions, 0) + 6, named(window, "密保帐号")->y());
    EXPECT_GT(lineCentre(captions, 4) - 6, named(window, "密保帐号")->geometry().bottom());
    EXPECT_LT(lineCentre(captions, 4) + 6, named(window, "密保序列号")->y());
}

} // namespace
} // namespace velkora::testing
