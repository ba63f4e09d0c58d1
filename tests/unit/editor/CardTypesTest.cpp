#include "unit/editor/EditorFixture.h"

namespace velkora::testing {
namespace {

class CardTypesTest : public EditorFixture {
protected:
    void SetUp() override { editor.open(EditorMode::Add, {}); }

    std::vector<std::string> storedTypes()
    {
        std::vector<std::string> out;
        for (const std::string& t : db.store.listTypes())
            out.push_back(u8(t));
        return out;
    }
};

TEST_F(CardTypesTest, CreatePromptsForANameAndCancellingShowsNothing)
{
    editor.createType();
    ASSERT_EQ(input.asked.size(), 1u);
    EXPECT_EQ(input.asked[0].caption, "新建类型");
    EXPECT_EQ(input.asked[0].prompt, "请输入新建类型名称！\r\n比如：腾讯密保，网易密保，网游密保，网站密保等");
    EXPECT_FALSE(input.asked[0].masked);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(storedTypes().empty());
}

TEST_F(CardTypesTest, CreateRefusesAnEmptyNameAndANameThatExistsIgnoringCase)
{
    addType("QQ");
    editor.refreshTypeList();
    view.selected = 0;
    const int refills = view.typeRefills;
    struct Case {
        std::string name, message;
    };
    const Case cases[] = {
        {"", "不能创建空类型！"},
        {"QQ", "类型： QQ 已经存在！"},
        {"qq", "类型： qq 已经存在！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        input.replies = {gb(c.name)};
        editor.createType();
        const RecordedMessage shown = onlyMessage();
        EXPECT_EQ(shown.text, c.message);
        EXPECT_EQ(shown.icon, MessageIcon::Error);
        EXPECT_EQ(shown.caption, "信息：");
    }
    EXPECT_EQ(storedTypes(), std::vector<std::string>{"QQ"});
    EXPECT_EQ(view.typeRefills, refills);
    EXPECT_EQ(view.selected, 0);
}

TEST_F(CardTypesTest, CreateStoresTheNameAsTypedAndSelectsTheLastEntry)
{
    addType("网易密保");
    addType("腾讯密保");
    editor.refreshTypeList();
    view.selected = 0;
    for (const std::string name : {"  ", " 网游 Card "}) {
        SCOPED_TRACE(name);
        messages.shown.clear();
        input.replies = {gb(name)};
        editor.createType();
        const RecordedMessage shown = onlyMessage();
        EXPECT_EQ(shown.text, "新建类型完毕！");
        EXPECT_EQ(shown.icon, MessageIcon::Information);
        EXPECT_EQ(view.typeNames().back(), name);
        EXPECT_EQ(view.selected, static_cast<int>(view.types.size()) - 1);
    }
    EXPECT_EQ(storedTypes(), (std::vector<std::string>{"网易密保", "腾讯密保", "  ", " 网游 Card "}));
}

TEST_F(CardTypesTest, CreateReportsAStoreFailureAndLeavesTheList)
{
    addType("a");
    editor.refreshTypeList();
    view.selected = 0;
    const int refills = view.typeRefills;
    input.replies = {std::string(256, 'x')}; // longer than the column
    editor.createType();
    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.text, "新建类型失败！");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_EQ(view.typeRefills, refills);
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(storedTypes(), std::vector<std::string>{"a"});
}

TEST_F(CardTypesTest, RemoveNeedsASelectedType)
{
    addType("a");
    editor.refreshTypeList();
    editor.removeType();
    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.text, "错误命令，请选择要删除的类型。");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_EQ(storedTypes(), std::vector<std::string>{"a"});
}

TEST_F(CardTypesTest, RemoveAsksFirstAndNoChangesNothing)
{
    for (const char* t : {"a", "游戏", "c"})
        addType(t);
    editor.refreshTypeList();
    view.selected = 1;
    const int refills = view.typeRefills;
    messages.answerYes = false;
    editor.removeType();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].text, "是否删除类型：游戏？");
    EXPECT_EQ(messages.asked[0].caption, "信息：");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(storedTypes(), (std::vector<std::string>{"a", "游戏", "c"}));
    EXPECT_EQ(view.typeRefills, refills);
    EXPECT_EQ(view.selected, 1);
}

TEST_F(CardTypesTest, RemoveDeletesTheTypeOnlyAndSelectsTheLastEntry)
{
    for (const char* t : {"a", "游戏", "c"})
        addType(t);
    db.add(gb("游戏"), "card of the type");
    editor.refreshTypeList();
    view.choose("游戏");
    editor.removeType();
    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.text, "类型： 游戏 已经删除！");
    EXPECT_EQ(shown.icon, MessageIcon::Information);
    EXPECT_EQ(view.typeNames(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(view.selected, 1);
    EXPECT_EQ(u8(db.store.findCardByAccount("card of the type")->type), "游戏") << "cards keep their type text";

    // The card now opens with no type selected.
    FakeEditorView window;
    CardEditor edit(window, db.store, messages, input, [] {});
    edit.open(EditorMode::Edit, "card of the type");
    EXPECT_EQ(window.selected, -1);
}

TEST_F(CardTypesTest, RemovingTheLastTypeEmptiesTheListAndSavingAsksForAType)
{
    addType("only");
    editor.refreshTypeList();
    view.selected = 0;
    editor.removeType();
    EXPECT_EQ(onlyMessage().text, "类型： only 已经删除！");
    EXPECT_TRUE(view.types.empty());
    EXPECT_EQ(view.selected, -1);

    messages.shown.clear();
    fillValid("only", "acc");
    editor.saveCard();
    EXPECT_EQ(onlyMessage().text, "请选择密保类型！（如果没有可以自己创建！）");
}

TEST_F(CardTypesTest, RemoveReportsAStoreFailureAndStillRefreshesTheList)
{
    addType("a");
    editor.refreshTypeList();
    view.selected = 0;
    const int refills = view.typeRefills;
    db.store.closeStore(); // every statement now fails
    editor.removeType();
    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.text, "类型： a 删除失败！");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_EQ(view.typeRefills, refills + 1);
    EXPECT_EQ(view.selected, -1);
    ASSERT_TRUE(db.store.openStore());
    EXPECT_EQ(storedTypes(), std::vector<std::string>{"a"});
}

} // namespace
} // namespace velkora::testing
