#include <functional>
#include <memory>

#include "carddata/FieldCodec.h"
#include "platform/sqlite/SqliteConnection.h"
#include "unit/editor/EditorFixture.h"

namespace velkora::testing {
namespace {

using CardEditorTest = EditorFixture;

const std::string ExampleGridUtf8 = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";

TEST_F(CardEditorTest, SaveChecksRunInTheirOrderAndTheFirstFailingOneStopsWithItsMessage)
{
    // Each case breaks one check and every check after it, so only the order decides which
    // message appears.
    const std::function<void(FakeEditorView&)> breaks[] = {
        [](FakeEditorView& v) { v.selected = -1; },
        [](FakeEditorView& v) { v.texts[EditorField::Account] = CardEditor::accountPlaceholder(); },
        [](FakeEditorView& v) { v.texts[EditorField::Serial] = CardEditor::serialPlaceholder(); },
        [](FakeEditorView& v) { v.texts[EditorField::Grid].clear(); },
        [](FakeEditorView& v) { v.texts[EditorField::Letters] = CardEditor::defaultLetters(); },
    };
    struct Case {
        const char* what;
        int firstBroken;
        std::function<void(FakeEditorView&)> variant; // applied after the breaks
        std::string message, caption, focus, accountAfter, serialAfter, gridAfter;
    };
    const std::string placeholderSerial = "请输入密保卡的序列号！";
    const Case cases[] = {
        {"no type", 0, {}, "请选择密保类型！（如果没有可以自己创建！）", "信息：", "类型列表", "请输入密保卡帐号或其他标题！",
         placeholderSerial, ""},
        {"account placeholder", 1, {}, "请输入密保帐号！", "信息：", "密保帐号", "", placeholderSerial, ""},
        {"empty account", 1, [](FakeEditorView& v) { v.set(EditorField::Account, ""); }, "请输入密保帐号！", "信息：",
         "密保帐号", "", placeholderSerial, ""},
        {"serial placeholder", 2, {}, "请输入密保序列号！", "信息：", "密保序列号", "acc", "", ""},
        {"empty serial", 2, [](FakeEditorView& v) { v.set(EditorField::Serial, ""); }, "请输入密保序列号！", "信息：",
         "密保序列号", "acc", "", ""},
        {"empty grid", 3, {}, "请输入密保卡内容。(请按格式添加您的密保卡内容)", "信息：", "密保卡内容", "acc", "SN-1", ""},
        {"26 letters across 6 cells", 4, {},
         "密保卡参数与字母串长度不符！（字母长度：26  横向坐标长度：6）", "密保卡字母行/列错误！", "", "acc", "SN-1",
         ExampleGridUtf8},
        {"6 letters down 4 rows", 4,
         [](FakeEditorView& v) {
             v.set(EditorField::Letters, "A,B,C,D,E,F");
             v.ticked = Orientation::LettersDown;
         },
         "密保卡参数与字母串长度不符！（字母长度：6  竖向坐标长度：4）", "密保卡字母行/列错误！", "", "acc", "SN-1",
         ExampleGridUtf8},
    };
    addType("游戏");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeEditorView fresh;
        view = fresh;
        messages.shown.clear();
        editor.open(EditorMode::Add, {});
        fillValid("游戏", "acc");
        for (int i = c.firstBroken; i < 5; ++i)
            breaks[i](view);
        if (c.variant)
            c.variant(view);

        editor.saveCard();

        const RecordedMessage shown = onlyMessage();
        EXPECT_EQ(shown.text, c.message);
        EXPECT_EQ(shown.icon, MessageIcon::Error);
        EXPECT_EQ(shown.caption, c.caption);
        EXPECT_EQ(view.focused, c.focus);
        EXPECT_EQ(view.text(EditorField::Account), c.accountAfter);
        EXPECT_EQ(view.text(EditorField::Serial), c.serialAfter);
        EXPECT_EQ(view.text(EditorField::Grid), c.gridAfter);
        EXPECT_EQ(view.closed, 0);
        EXPECT_TRUE(reloads.empty());
        EXPECT_TRUE(db.store.listAllCards().empty());
    }
}

TEST_F(CardEditorTest, AddStoresSerialAndGridScrambledAndEditShowsThemPlain)
{
    addType("网易密保");
    editor.open(EditorMode::Add, {});
    fillValid("网易密保", "玩家 one", "序列 0042");
    editor.saveCard();

    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.text, "密保卡添加成功。");
    EXPECT_EQ(shown.icon, MessageIcon::Information);
    ASSERT_EQ(reloads.size(), 1u);
    EXPECT_EQ(reloads[0].messagesBefore, 1u) << "the list is reloaded once the message is dismissed";
    EXPECT_EQ(reloads[0].closedBefore, 0);
    EXPECT_EQ(view.closed, 1);

    // What the database holds: the serial and grid scrambled into alphabet characters.
    SqliteConnection raw;
    ASSERT_TRUE(raw.open(db.dir.file("tamcard1.mdb")));
    auto rows = raw.select("select mb_type, mb_account, mb_sn, mb_xandy, mb_text, mb_letter from mb_data", {});
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(u8(rows->text(0).value_or("")), "网易密保");
    EXPECT_EQ(u8(rows->text(1).value_or("")), "玩家 one");
    EXPECT_EQ(u8(rows->text(3).value_or("")), "横向字母");
    EXPECT_EQ(rows->text(5).value_or(""), "A,B,C,D,E,F");
    for (int column : {2, 4}) {
        const std::string stored = rows->text(column).value_or("");
        const std::string plain = column == 2 ? gb("序列 0042") : CardEditor::exampleGrid();
        EXPECT_EQ(stored.size(), plain.size() * 2);
        EXPECT_EQ(stored.find_first_not_of(DefaultAlphabet), std::string::npos) << stored;
        EXPECT_EQ(decodeField(stored), plain);
    }
    EXPECT_FALSE(rows->next());
    raw.close();

    // Opened again for editing, the window shows everything plain.
    FakeEditorView editView;
    FakeMessages editMessages;
    CardEditor edit(editView, db.store, editMessages, input, [] {});
    edit.open(EditorMode::Edit, gb("玩家 one"));
    EXPECT_EQ(editView.saveCaption, "编辑密保卡");
    EXPECT_EQ(editView.selected, 0);
    EXPECT_EQ(editView.text(EditorField::Account), "玩家 one");
    EXPECT_EQ(editView.text(EditorField::Serial), "序列 0042");
    EXPECT_EQ(editView.text(EditorField::Grid), ExampleGridUtf8);
    EXPECT_EQ(editView.text(EditorField::Letters), "A,B,C,D,E,F");
    EXPECT_EQ(editView.ticked, Orientation::LettersAcross);
    EXPECT_TRUE(editMessages.shown.empty());
}

TEST_F(CardEditorTest, OneBlankIsAnAccountAndASerial)
{
    addType("t");
    editor.open(EditorMode::Add, {});
    fillValid("t", " ", " ");
    editor.saveCard();
    EXPECT_EQ(onlyMessage().text, "密保卡添加成功。");
    const auto card = db.store.findCardByAccount(" ");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->serial, " ");
}

TEST_F(CardEditorTest, AddRefusesAnAccountAnotherCardHasWhateverItsLetterCase)
{
    addType("t");
    db.add("t", "Abc", "old");
    for (const char* account : {"Abc", "aBC"}) {
        SCOPED_TRACE(account);
        messages.shown.clear();
        editor.open(EditorMode::Add, {});
        fillValid("t", account);
        editor.saveCard();
        const RecordedMessage shown = onlyMessage();
        EXPECT_EQ(shown.text, std::string("帐号/标题： [") + account + "]已经存在！");
        EXPECT_EQ(shown.icon, MessageIcon::Error);
        EXPECT_EQ(view.closed, 0);
        EXPECT_TRUE(reloads.empty());
        EXPECT_EQ(storedAccounts(), std::vector<std::string>{"Abc"});
        EXPECT_EQ(db.store.findCardByAccount("Abc")->serial, "old");
    }
}

TEST_F(CardEditorTest, AStoreThatRefusesTheCardReportsTheFailureAndKeepsTheWindowOpen)
{
    // The serial is stored two characters per byte in a 255-character column: 127 bytes fit.
    addType("t");
    db.add("t", "kept", "old serial");
    struct Case {
        EditorMode mode;
        std::size_t serialBytes;
        const char* message;
        MessageIcon icon;
    };
    const Case cases[] = {
        {EditorMode::Add, 128, "密保卡添加失败。", MessageIcon::Error},
        {EditorMode::Edit, 128, "密保卡编辑失败。", MessageIcon::Error},
        {EditorMode::Edit, 127, "密保卡编辑成功。", MessageIcon::Information},
        {EditorMode::Add, 127, "密保卡添加成功。", MessageIcon::Information},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + std::to_string(c.serialBytes));
        view = FakeEditorView();
        messages.shown.clear();
        reloads.clear();
        editor.open(c.mode, "kept");
        fillValid("t", c.mode == EditorMode::Add ? "new" : "kept", std::string(c.serialBytes, '7'));
        editor.saveCard();
        const RecordedMessage shown = onlyMessage();
        EXPECT_EQ(shown.text, c.message);
        EXPECT_EQ(shown.icon, c.icon);
        const bool saved = c.icon == MessageIcon::Information;
        EXPECT_EQ(view.closed, saved ? 1 : 0);
        EXPECT_EQ(reloads.size(), saved ? 1u : 0u);
        EXPECT_EQ(view.text(EditorField::Serial), std::string(c.serialBytes, '7')) << "entries stay as they were";
    }
    EXPECT_EQ(db.store.findCardByAccount("kept")->serial, std::string(127, '7'));
    EXPECT_EQ(storedAccounts(), (std::vector<std::string>{"kept", "new"}));
}

TEST_F(CardEditorTest, EditUpdatesTheLoadedCardUnderItsNewAccount)
{
    addType("t");
    addType("u");
    db.add("t", "first");
    db.add("t", "second");
    editor.open(EditorMode::Edit, "first");
    EXPECT_EQ(editor.editedAccount(), "first");
    fillValid("u", "renamed", "SN-9");
    view.set(EditorField::Letters, "A,B,C,D");
    view.ticked = Orientation::LettersDown;
    editor.saveCard();

    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.text, "密保卡编辑成功。");
    EXPECT_EQ(shown.icon, MessageIcon::Information);
    ASSERT_EQ(reloads.size(), 1u);
    EXPECT_EQ(reloads[0].messagesBefore, 1u);
    EXPECT_EQ(reloads[0].closedBefore, 0);
    EXPECT_EQ(view.closed, 1);

    EXPECT_EQ(storedAccounts(), (std::vector<std::string>{"renamed", "second"}));
    EXPECT_FALSE(db.store.findCardByAccount("first"));
    const auto card = db.store.findCardByAccount("renamed");
    ASSERT_TRUE(card);
    EXPECT_EQ(card->type, "u");
    EXPECT_EQ(card->serial, "SN-9");
    EXPECT_EQ(u8(card->orientation), "竖向字母");
    EXPECT_EQ(card->grid, CardEditor::exampleGrid());
    EXPECT_EQ(card->letters, "A,B,C,D");
    EXPECT_EQ(db.store.findCardByAccount("second")->serial, "SN");
}

TEST_F(CardEditorTest, EditNeverGivesACardTheAccountOfAnotherButMayRespellItsOwn)
{
    struct Case {
        const char* newAccount;
        bool refused;
        std::vector<std::string> accountsAfter;
    };
    const Case cases[] = {
        {"other", true, {"mine", "other"}},
        {"OTHER", true, {"mine", "other"}},   // the store compares accounts ignoring Latin case
        {"mine", false, {"mine", "other"}},   // unchanged: no check at all
        {"MINE", false, {"MINE", "other"}},   // its own account in capitals
        {"mine2", false, {"mine2", "other"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newAccount);
        TempStore fresh;
        ASSERT_TRUE(fresh.store.insertType("t"));
        fresh.add("t", "mine", "S1");
        fresh.add("t", "other", "S2");
        FakeEditorView window;
        FakeMessages boxes;
        int reloaded = 0;
        CardEditor edit(window, fresh.store, boxes, input, [&reloaded] { ++reloaded; });
        edit.open(EditorMode::Edit, "mine");
        window.set(EditorField::Account, c.newAccount);
        window.set(EditorField::Serial, "S9");
        edit.saveCard();

        ASSERT_EQ(boxes.shown.size(), 1u);
        if (c.refused) {
            EXPECT_EQ(boxes.shown[0].text, std::string("帐号/标题： [") + c.newAccount + "]已经存在！");
            EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
            EXPECT_EQ(window.closed, 0);
            EXPECT_EQ(reloaded, 0);
            EXPECT_EQ(fresh.store.findCardByAccount("mine")->serial, "S1");
        } else {
            EXPECT_EQ(boxes.shown[0].text, "密保卡编辑成功。");
            EXPECT_EQ(window.closed, 1);
            EXPECT_EQ(fresh.store.findCardByAccount(c.newAccount)->serial, "S9");
        }
        EXPECT_EQ(fresh.store.findCardByAccount("other")->serial, "S2") << "the other card is never touched";
        std::vector<std::string> accounts;
        for (const CardListEntry& e : fresh.store.listAllCards())
            accounts.push_back(e.account);
        EXPECT_EQ(accounts, c.accountsAfter);
    }
}

TEST_F(CardEditorTest, OpeningInEditModeSelectsTheFirstTypeBeginningWithTheCardsTypeIgnoringCase)
{
    for (const char* type : {"QQ密保", "qq", "网易", "网易密保"})
        addType(type);
    struct Case {
        const char* cardType;
        int selected;
    };
    const Case cases[] = {
        {"qq", 0},        // QQ密保 comes first and begins with qq
        {"Qq密", 0},
        {"网易密保", 3},
        {"网", 2},
        {"QQ密保卡", -1}, // longer than every entry
        {"gone", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cardType);
        TempStore fresh;
        for (const std::string& t : db.store.listTypes())
            ASSERT_TRUE(fresh.store.insertType(t));
        fresh.add(gb(c.cardType), "acc");
        FakeEditorView window;
        CardEditor edit(window, fresh.store, messages, input, [] {});
        edit.open(EditorMode::Edit, "acc");
        EXPECT_EQ(window.selected, c.selected);
    }
}

TEST_F(CardEditorTest, TypePrefixFoldsOnlyLatinLettersThatStandAlone)
{
    // GBK 0x81 0x41 and 0x81 0x61 are two different characters whose trail bytes are 'A' and 'a'.
    const std::vector<std::string> entries = {"\x81\x61" "x", "\x81\x41" "x", "Abc", "\xD6\xD0\xCE\xC4"};
    struct Case {
        std::string prefix;
        int found;
    };
    const Case cases[] = {
        {"\x81\x41", 1}, {"\x81\x61", 0}, {"aB", 2}, {"ABC", 2}, {"abcd", -1}, {"", 0},
        {"\xD6\xD0", 3}, {"\xD6", -1}, // a prefix never ends inside a character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        EXPECT_EQ(findTypeByPrefix(entries, c.prefix), c.found);
    }
}

TEST_F(CardEditorTest, EditModeTicksTheOrientationOfTheStoredCard)
{
    addType("t");
    for (Orientation stored : {Orientation::LettersDown, Orientation::LettersAcross}) {
        TempStore fresh;
        CardRecord card{0, "t", "acc", "S", orientationText(stored), "1-2", "A,B"};
        ASSERT_TRUE(fresh.store.insertCard(card));
        FakeEditorView window;
        window.ticked = stored == Orientation::LettersDown ? Orientation::LettersAcross : Orientation::LettersDown;
        CardEditor edit(window, fresh.store, messages, input, [] {});
        edit.open(EditorMode::Edit, "acc");
        EXPECT_EQ(window.ticked, stored);
    }
}

TEST_F(CardEditorTest, AddModeOnlyListsTheTypesAndLeavesEveryInitialEntry)
{
    addType("b");
    addType("a");
    editor.open(EditorMode::Add, "ignored");
    EXPECT_EQ(view.typeNames(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(view.selected, -1);
    EXPECT_EQ(view.saveCaption, "添加密保卡");
    EXPECT_EQ(view.text(EditorField::Account), "请输入密保卡帐号或其他标题！");
    EXPECT_EQ(view.text(EditorField::Letters), "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z");
    EXPECT_EQ(view.ticked, Orientation::LettersAcross);
    EXPECT_EQ(editor.editedAccount(), "");
}

TEST_F(CardEditorTest, ACardWhoseTypeIsGoneOpensWithoutTypeAndIsRefusedUntilOneIsChosen)
{
    addType("kept");
    db.add("deleted type", "acc");
    editor.open(EditorMode::Edit, "acc");
    EXPECT_EQ(view.selected, -1);
    editor.saveCard();
    EXPECT_EQ(onlyMessage().text, "请选择密保类型！（如果没有可以自己创建！）");

    messages.shown.clear();
    view.choose("kept");
    view.set(EditorField::Letters, "A,B");
    editor.saveCard();
    EXPECT_EQ(onlyMessage().text, "密保卡编辑成功。");
    EXPECT_EQ(db.store.findCardByAccount("acc")->type, "kept");
}

TEST_F(CardEditorTest, SplitAllLettersPutsACommaBetweenEveryTwoBytes)
{
    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        {"ABCD", "A,B,C,D"},
        {"A,B", "A,,,B"},
        {"A", "A"},
        {"", ""},
        {"A B", "A, ,B"},
        {"\xD6\xD0", "\xD6,\xD0"}, // one double-byte character is two bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        view.texts[EditorField::Letters] = c.before;
        view.focused = "密保卡内容";
        editor.splitAllLetters();
        EXPECT_EQ(view.texts[EditorField::Letters], c.after);
        EXPECT_EQ(view.focused, "密保卡内容") << "the focus does not move";
    }
}

TEST_F(CardEditorTest, AppendSeparatorPutsACommaAtTheEndAndTheCaretAfterIt)
{
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"A,B", "A,B,"}, {"", ","}, {"A,B,", "A,B,,"}}) {
        SCOPED_TRACE(before);
        view.events.clear();
        view.focused.clear();
        view.set(EditorField::Letters, before);
        editor.appendSeparator();
        EXPECT_EQ(view.text(EditorField::Letters), after);
        EXPECT_EQ(view.focused, "坐标字母串框");
        ASSERT_FALSE(view.events.empty());
        EXPECT_EQ(view.events.back(), "caretToEnd 坐标字母串框") << "nothing stays selected";
    }
}

TEST_F(CardEditorTest, LetterHelpIsOneBoxWithoutIconUnderTheHelpCaption)
{
    editor.showLetterHelp();
    const RecordedMessage shown = onlyMessage();
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_EQ(shown.caption, "帮助");
    EXPECT_EQ(shown.text, "坐标字母串，是用户自定义密保卡字母排序功能。"
                          "\r\n一般密保卡无需修改，某些特定密保卡可以自行修改。\r\n"
                          "\r\n注意："
                          "\r\n    修改时按顺序填写完卡中全部字母坐标即可，无需填满26个英文字母。"
                          "\r\n    修改时请使用逗号(英文逗号 , )分割字母。\r\n"
                          "\r\n分割（按钮）：可以在当前光标位置插入一个分隔符。"
                          "\r\n全部分割（按钮）：可以一次性把所以字母串填写进入，然后全部统一添加分隔符。");
}

TEST_F(CardEditorTest, ExampleReplacesTheGridOnly)
{
    view.set(EditorField::Grid, "1-2\r\n3-4");
    view.set(EditorField::Letters, "X,Y");
    view.ticked = Orientation::LettersDown;
    editor.showExample();
    EXPECT_EQ(view.text(EditorField::Grid), ExampleGridUtf8);
    EXPECT_EQ(view.text(EditorField::Letters), "X,Y");
    EXPECT_EQ(view.ticked, Orientation::LettersDown);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CardEditorTest, HintPictureAppearsUnderTheRadioButtonUntilTheMouseReachesBareWindow)
{
    editor.mouseOverOrientationButton(Orientation::LettersAcross);
    EXPECT_TRUE(view.hintShown);
    EXPECT_EQ(view.hintPicture, Orientation::LettersAcross);
    EXPECT_EQ(view.hintAt, std::make_pair(98, 155));

    // While visible nothing changes, not even over the other radio button.
    editor.mouseOverOrientationButton(Orientation::LettersAcross);
    editor.mouseOverOrientationButton(Orientation::LettersDown);
    EXPECT_EQ(view.hintLoads, 1);
    EXPECT_EQ(view.hintPicture, Orientation::LettersAcross);

    // The 10-pixel gap between the buttons is bare window: the picture goes, then the other one comes.
    editor.mouseOverBareArea();
    EXPECT_FALSE(view.hintShown);
    editor.mouseOverOrientationButton(Orientation::LettersDown);
    EXPECT_TRUE(view.hintShown);
    EXPECT_EQ(view.hintPicture, Orientation::LettersDown);
    EXPECT_EQ(view.hintAt, std::make_pair(180, 155));

    editor.mouseOverBareArea(); // over the picture itself
    editor.mouseOverBareArea();
    EXPECT_FALSE(view.hintShown);
    EXPECT_EQ(view.hintLoads, 2);
}

TEST_F(CardEditorTest, TheThreeOneLineBoxesSelectTheirWholeTextOnFocusTheGridDoesNot)
{
    for (EditorField field : {EditorField::Account, EditorField::Serial, EditorField::Letters, EditorField::Grid})
        editor.fieldFocused(field);
    editor.letterBoxDoubleClicked();
    EXPECT_EQ(view.events, (std::vector<std::string>{"selectAll 密保帐号", "selectAll 密保序列号",
                                                     "selectAll 坐标字母串框", "selectAll 坐标字母串框"}));
}

TEST_F(CardEditorTest, BackClosesAtOnceStoringAndAskingNothing)
{
    addType("t");
    editor.open(EditorMode::Add, {});
    fillValid("t", "typed but not saved");
    editor.back();
    EXPECT_EQ(view.closed, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_TRUE(reloads.empty());
    EXPECT_TRUE(db.store.listAllCards().empty());
}

} // namespace
} // namespace velkora::testing
