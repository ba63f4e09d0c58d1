// The controls' own behaviour in the window: the coordinate boxes, the keyword box's two modes,
// the card list's rows and selection, the result label.

#include <QSignalSpy>
#include <QTreeView>

#include "GuiSupport.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/MainWindowControls.h"

namespace velkora::testing {
namespace {

class MainWindowControls : public ::testing::Test {
protected:
    MainWindow window{"www.tamrel.example"};
};

TEST_F(MainWindowControls, CellBoxesTakeThreeCharactersInCapitals)
{
    struct Case {
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {"a1", "A1"}, {"A10", "A10"}, {"b123", "B12"}, {"z9?x", "Z9?"}, {"Ab", "AB"},
    };
    for (const char* name : {"编辑框4", "编辑框5", "编辑框6"}) {
        auto* box = named<QLineEdit>(window, name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + " " + c.typed);
            box->clear();
            QTest::keyClicks(box, QString::fromLatin1(c.typed));
            EXPECT_EQ(box->text(), QString::fromLatin1(c.kept));
        }
        // Pasted text is cut and raised the same way.
        box->clear();
        box->insert(QStringLiteral("c3d4"));
        EXPECT_EQ(box->text(), QStringLiteral("C3D"));
        // Non-Latin characters pass unchanged.
        box->clear();
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, q("中"), Qt::NoModifier);
        QTest::keyClicks(box, QStringLiteral("a"));
        EXPECT_EQ(box->text(), q("中A"));
    }
    window.setCellText(2, "b2");
    EXPECT_EQ(window.cellText(2), "B2");
}

TEST_F(MainWindowControls, FocusedBoxesSelectTheirWholeText)
{
    ASSERT_TRUE(showActive(window));
    window.setCellText(3, "C12");
    window.focusCell(3);
    auto* cell = named<QLineEdit>(window, "编辑框6");
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell->selectedText() == QStringLiteral("C12"); }, 2000));

    window.setSearchGroupEnabled(true);
    window.focusKeyword();
    auto* keyword = named<QComboBox>(window, "搜索关键字");
    ASSERT_TRUE(QTest::qWaitFor([&] { return keyword->lineEdit()->selectedText() == q("请<输入>密保帐号关键字！"); }, 2000));
    // Typing replaces the prompt.
    QTest::keyClicks(keyword, QStringLiteral("bob"));
    EXPECT_EQ(window.keywordText(), "bob");
}

TEST_F(MainWindowControls, KeywordBoxSwitchesBetweenPlainAndListModes)
{
    auto* keyword = named<KeywordCombo>(window, "搜索关键字");
    ASSERT_NE(keyword, nullptr);
    ASSERT_TRUE(showActive(window));
    EXPECT_TRUE(keyword->isPlain());

    window.setKeywordList({utf8ToGb("网游"), utf8ToGb("银行"), "QQ"}, utf8ToGb("请<选择>或者<输入>密保类型关键字！"));
    EXPECT_FALSE(keyword->isPlain());
    ASSERT_EQ(keyword->count(), 3);
    EXPECT_EQ(keyword->itemText(0), q("网游"));
    EXPECT_EQ(keyword->itemText(2), QStringLiteral("QQ"));
    EXPECT_EQ(keyword->currentIndex(), -1);
    EXPECT_EQ(window.keywordText(), utf8ToGb("请<选择>或者<输入>密保类型关键字！"));
    keyword->showPopup();
    EXPECT_TRUE(keyword->view()->isVisible());
    keyword->hidePopup();

    window.setKeywordPlain(utf8ToGb("请<输入>密保帐号关键字！"));
    EXPECT_TRUE(keyword->isPlain());
    EXPECT_EQ(keyword->count(), 0);
    EXPECT_EQ(window.keywordText(), utf8ToGb("请<输入>密保帐号关键字！"));
    keyword->showPopup();
    EXPECT_FALSE(keyword->view()->isVisible());

    window.setKeywordText("abc");
    EXPECT_EQ(window.keywordText(), "abc");
}

TEST_F(MainWindowControls, ListAppendsManyRowsInOneInsertionAndReportsTheSelectedRow)
{
    auto* list = named<QTreeView>(window, "超级列表框1");
    QAbstractItemModel* model = list->model();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);

    constexpr int Count = 100000;
    std::vector<CardListEntry> rows;
    rows.reserve(Count);
    for (int i = 1; i <= Count; ++i)
        rows.push_back({std::to_string(i), utf8ToGb("网游"), "acct" + std::to_string(i)});
    window.appendRows(rows);
    window.appendRows({});
    window.appendRows({{"100001", utf8ToGb("银行"), utf8ToGb("帐号甲")}});

    EXPECT_EQ(inserted.count(), 2); // one per non-empty batch
    ASSERT_EQ(model->rowCount(), Count + 1);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("1"));
    EXPECT_EQ(model->index(0, 1).data().toString(), q("网游"));
    EXPECT_EQ(model->index(Count - 1, 2).data().toString(), QStringLiteral("acct100000"));
    EXPECT_EQ(model->index(Count, 2).data().toString(), q("帐号甲"));
    EXPECT_FALSE(model->flags(model->index(5, 2)) & Qt::ItemIsEditable);

    EXPECT_FALSE(window.selectedRow().has_value());
    list->selectionModel()->setCurrentIndex(model->index(Count, 1),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const auto selected = window.selectedRow();
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(selected->id, "100001");
    EXPECT_EQ(selected->type, utf8ToGb("银行"));
    EXPECT_EQ(selected->account, utf8ToGb("帐号甲"));

    window.clearRows();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(window.selectedRow().has_value());
}

TEST_F(MainWindowControls, ViewSettersShowProgramTextsAndReadThemBack)
{
    window.setResultText("11\r\n\r\n2\xA3\xA1\r\n\r\n"); // "2！" in GB18030
    EXPECT_EQ(textOf(named(window, "标签4")), q("11\n\n2！\n\n"));

    window.setAccountText(utf8ToGb("帐号<b>"));
    window.setSerialText("SN-1");
    EXPECT_EQ(textOf(named(window, "密保帐号")), q("帐号<b>"));
    EXPECT_EQ(window.accountText(), utf8ToGb("帐号<b>"));
    EXPECT_EQ(window.serialText(), "SN-1");

    window.setQueryGroupCaption(utf8ToGb("密保查询-密保卡ID：7"));
    window.setQueryGroupEnabled(false);
    EXPECT_EQ(textOf(named(window, "分组框3")), q("密保查询-密保卡ID：7"));
    EXPECT_FALSE(named(window, "编辑框4")->isEnabled());
    window.setQueryButtonCaption(utf8ToGb("重新查询"));
    EXPECT_EQ(textOf(named(window, "查询密保")), q("重新查询"));

    window.setSpeedIndex(5);
    EXPECT_EQ(textOf(named(window, "输入速度列表框")), q("慢速"));
    window.setSpeedIndex(-1);
    EXPECT_EQ(named<QComboBox>(window, "输入速度列表框")->currentIndex(), -1);
    window.setFullInputTicked(false);
    EXPECT_FALSE(named<QAbstractButton>(window, "一键输入选择框")->isChecked());

    window.showEmptyPanel(22, 95);
    EXPECT_FALSE(named(window, "外形框1")->isHidden());
    EXPECT_EQ(named(window, "外形框1")->pos(), QPoint(22, 95));
    EXPECT_EQ(window.emptyPanelSize().width, 264);
    EXPECT_EQ(window.listGroupSize().height, 280);
    window.hideEmptyPanel();
    EXPECT_TRUE(named(window, "外形框1")->isHidden());
}

// Changing the window flags hides a window; the window keeps whatever visibility it had.
TEST_F(MainWindowControls, AlwaysOnTopKeepsTheWindowShownOrHidden)
{
    ASSERT_TRUE(showActive(window));
    window.setAlwaysOnTop(true);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isVisible());
    window.setAlwaysOnTop(false);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isVisible());

    window.hide();
    window.setAlwaysOnTop(true);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace velkora::testing
