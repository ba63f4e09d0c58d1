#include "startup/StartupSequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "carddata/CardStore.h"
#include "carddata/SqlConnection.h"
#include "carddata/Text.h"
#include "mainwindow/CardList.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/Services.h"
#include "mainwindow/TypingOptions.h"
#include "startup/Settings.h"
#include "support/Fakes.h"

namespace velkora {
namespace {

using ::testing::ElementsAreArray;

const std::string RunDir = "/run/dir";
const std::string CarriedSkin = "QWidget { color: #1f2328; }\n";

// Every fake writes what it was asked into one log, in the order of the calls. Texts of the
// program are logged as UTF-8 so that a failure reads plainly. A call that repeats the entry
// just before it (a view asked several things by one step) is logged once.
class CallLog {
public:
    void add(std::string entry)
    {
        if (entries_.empty() || entries_.back() != entry)
            entries_.push_back(std::move(entry));
    }
    void clear() { entries_.clear(); }
    const std::vector<std::string>& entries() const { return entries_; }
    bool contains(const std::string& entry) const
    {
        return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
    }

private:
    std::vector<std::string> entries_;
};

// Names parameterised cases after the case's own name.
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& param)
{
    return param.param.name;
}

std::string fileName(const std::string& path)
{
    return path.starts_with(RunDir + "/") ? path.substr(RunDir.size() + 1) : "<elsewhere>" + path;
}

struct FakeInstance : InstanceGuard {
    explicit FakeInstance(CallLog& l) : log(l) {}
    bool acquire() override
    {
        log.add("instance");
        return free;
    }
    CallLog& log;
    bool free = true;
};

// The run directory: file name to contents.
struct FakeFiles : FileSystem {
    explicit FakeFiles(CallLog& l) : log(l) {}
    std::int64_t fileSize(const std::string& path) const override
    {
        log.add("size " + fileName(path));
        const auto it = files.find(fileName(path));
        return it == files.end() ? -1 : static_cast<std::int64_t>(it->second.size());
    }
    bool exists(const std::string& path) const override
    {
        log.add("exists " + fileName(path));
        return files.contains(fileName(path));
    }
    void remove(const std::string& path) override
    {
        log.add("remove " + fileName(path));
        files.erase(fileName(path));
    }
    bool writeFile(const std::string& path, std::string_view bytes) override
    {
        log.add("write " + fileName(path));
        files[fileName(path)] = std::string(bytes);
        return true;
    }
    CallLog& log;
    std::map<std::string, std::string> files;
};

struct FakeFrame : MainFrame {
    explicit FakeFrame(CallLog& l) : log(l) {}
    void setCaption(const std::string& text) override
    {
        log.add("caption");
        caption = text;
    }
    void setWidth(int width) override { log.add("width " + std::to_string(width)); }
    void attachSkin(const std::string& path) override { log.add("skin " + fileName(path)); }
    CallLog& log;
    std::string caption;
};

struct FakeLogin : LoginGate {
    explicit FakeLogin(CallLog& l) : log(l) {}
    bool checkLoginPassword() override
    {
        log.add("login");
        return passes;
    }
    CallLog& log;
    bool passes = true;
};

struct FakeUpdate : UpdateCheck {
    explicit FakeUpdate(CallLog& l) : log(l) {}
    bool checkForUpdate(const std::string& runningVersion) override
    {
        log.add("update " + runningVersion);
        return goesOn;
    }
    CallLog& log;
    bool goesOn = true;
};

// The database engine: creating the default database puts a file into the run directory; opening
// succeeds when `opens` says so. The store holds no card.
struct FakeSql : SqlConnection {
    FakeSql(CallLog& l, FakeFiles& f) : log(l), files(f) {}
    bool open(const std::string& path) override
    {
        log.add("db.open " + fileName(path));
        open_ = opens;
        return opens;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool createEmptyDatabase(const std::string& path) override
    {
        log.add("db.create " + fileName(path));
        files.files[fileName(path)] = "empty database";
        return true;
    }
    std::unique_ptr<SqlResult> select(std::string_view, const SqlParams&) override { return nullptr; }
    bool execute(std::string_view, const SqlParams&) override { return true; }
    CallLog& log;
    FakeFiles& files;
    bool opens = true;
    bool open_ = false;
};

struct FakeCardListView : CardListView {
    explicit FakeCardListView(CallLog& l) : log(l) {}
    void clearRows() override { log.add("list"); }
    void appendRows(std::vector<CardListEntry>) override { log.add("list"); }
    std::optional<CardListEntry> selectedRow() const override { return std::nullopt; }
    Size listGroupSize() const override { return {300, 300}; }
    Size emptyPanelSize() const override { return {100, 100}; }
    Size notFoundPanelSize() const override { return {100, 100}; }
    void showEmptyPanel(int, int) override
    {
        log.add("list");
        emptyPanelShown = true;
    }
    void hideEmptyPanel() override { log.add("list"); }
    void showNotFoundPanel(int, int) override { log.add("list"); }
    void hideNotFoundPanel() override { log.add("list"); }
    void setSearchGroupEnabled(bool) override { log.add("list"); }
    int searchTypeIndex() const override { return 1; }
    std::string searchTypeText() const override { return {}; }
    std::string keywordText() const override { return {}; }
    void setKeywordPlain(const std::string&) override { log.add("list"); }
    void setKeywordList(const std::vector<std::string>&, const std::string&) override { log.add("list"); }
    void setKeywordText(const std::string&) override { log.add("list"); }
    void focusKeyword() override {}
    void popupCardMenu(int, int) override {}
    CallLog& log;
    bool emptyPanelShown = false;
};

struct FakeQueryPanelView : testing::NullQueryPanelView {
    explicit FakeQueryPanelView(CallLog& l) : log(l) {}
    void setQueryGroupEnabled(bool enabled) override
    {
        log.add("query.group");
        groupEnabled = enabled;
    }
    void setQueryGroupCaption(const std::string& caption) override
    {
        log.add("query.group");
        groupCaption = caption;
    }
    void setAutoSearchTicked(bool ticked) override { log.add("query.autoSearch " + std::to_string(ticked)); }
    void setAutoLineTicked(bool ticked) override { log.add("query.autoLine " + std::to_string(ticked)); }
    CallLog& log;
    bool groupEnabled = true;
    std::string groupCaption;
};

struct FakeTypingView : TypingOptionsView {
    explicit FakeTypingView(CallLog& l) : log(l) {}
    void setFullInputTicked(bool ticked) override { log.add("typing.fullInput " + std::to_string(ticked)); }
    void setSpeedIndex(int index) override { log.add("typing.speed " + std::to_string(index)); }
    CallLog& log;
};

// config.ini as "section/key" to value; a missing entry reads as the default.
struct FakeSettings : Settings {
    explicit FakeSettings(CallLog& l) : log(l) {}
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const override
    {
        const std::string name = std::string(section) + "/" + std::string(key);
        log.add("read " + name);
        const auto it = values.find(name);
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    void write(std::string_view section, std::string_view key, std::string_view) override
    {
        log.add("settings.write " + std::string(section) + "/" + std::string(key));
    }
    CallLog& log;
    std::map<std::string, std::string> values;
};

struct FakeTray : TrayIcon {
    explicit FakeTray(CallLog& l) : log(l) {}
    void addTrayIcon(const std::string& tip) override { log.add("tray " + gbToUtf8(tip)); }
    CallLog& log;
};

struct FakeHotKeys : HotKeys {
    explicit FakeHotKeys(CallLog& l) : log(l) {}
    bool bindHotKey(std::uint32_t modifiers, std::uint32_t virtualKey, std::function<void()> callback) override
    {
        log.add("hotkey " + std::to_string(modifiers) + " " + std::to_string(virtualKey));
        callbacks[virtualKey] = std::move(callback);
        return !refused.contains(virtualKey);
    }
    void toggleMainWindow() override { log.add("toggleMainWindow"); }
    void typeResult() override { log.add("typeResult"); }
    CallLog& log;
    std::map<std::uint32_t, bool> refused;
    std::map<std::uint32_t, std::function<void()>> callbacks;
};

struct FakeSurvey : SurveyWindow {
    explicit FakeSurvey(CallLog& l) : log(l) {}
    void openSurvey() override { log.add("survey"); }
    CallLog& log;
};

struct FakeMessages : MessageService {
    explicit FakeMessages(CallLog& l) : log(l) {}
    void showMessage(const std::string& text, MessageIcon icon, const std::string& caption) override
    {
        log.add("message " + gbToUtf8(text) + " | " + gbToUtf8(caption) +
                (icon == MessageIcon::Error ? " | error" : " | other icon"));
    }
    bool askYesNo(const std::string& text, const std::string&) override
    {
        log.add("ask " + gbToUtf8(text));
        return false;
    }
    CallLog& log;
};

struct NoClipboard : Clipboard {
    void setText(const std::string&) override {}
};

struct NoEditor : CardEditorOpener {
    void openCardEditor(EditorMode, const std::string&) override {}
};

// The start-up with every step faked. The card list, query panel and typing options are the real
// behaviours over fake views, so the log shows what each step did to the window.
class StartupFixture : public ::testing::Test {
public:
    StartupResult run()
    {
        log.clear();
        return runStartupSequence(context);
    }

    CallLog log;
    FakeInstance instance{log};
    FakeFiles files{log};
    FakeFrame frame{log};
    FakeLogin login{log};
    FakeUpdate update{log};
    FakeSql* sql = new FakeSql(log, files);
    CardStore store{std::unique_ptr<SqlConnection>(sql), RunDir + "/tamcard1.mdb"};
    FakeCardListView listView{log};
    FakeQueryPanelView queryView{log};
    FakeTypingView typingView{log};
    FakeSettings settings{log};
    FakeMessages messages{log};
    NoClipboard clipboard;
    NoEditor editor;
    CardList cardList{listView, store, messages, editor};
    QueryPanel queryPanel{queryView, store, messages, settings, clipboard};
    TypingOptions typingOptions{typingView, settings};
    FakeTray tray{log};
    FakeHotKeys hotKeys{log};
    FakeSurvey survey{log};
    StartupContext context{RunDir,   "www.tamrel.example", CarriedSkin, instance,     files,    frame,
                           login,    update,               store,       cardList,     queryPanel,
                           typingOptions, tray,            hotKeys,     settings,     survey,   messages};
};

// A first start in an empty run directory with no config.ini.
const std::vector<std::string> FreshStart = {
    "instance",
    "size skinh.she",
    "remove skinh.she",
    "exists skinh.she",
    "write skinh.she",
    "skin skinh.she",
    "caption",
    "width 485",
    "login",
    "update 2.5",
    "exists tamcard1.mdb",
    "db.create tamcard1.mdb",
    "db.open tamcard1.mdb",
    "list",
    "query.group",
    "tray Velkora托盘信息",
    "hotkey 2 123",
    "hotkey 1 80",
    "read hotkey/onehotspeed",
    "typing.speed 3",
    "read hotkey/onehot",
    "typing.fullInput 1",
    "read Soft/AutoSearch",
    "query.autoSearch 1",
    "read Soft/AutoLine",
    "query.autoLine 1",
    "read run/vote",
    "survey",
};

std::vector<std::string> freshStartUpTo(const std::string& lastStep)
{
    const auto last = std::find(FreshStart.begin(), FreshStart.end(), lastStep);
    return {FreshStart.begin(), last + 1};
}

TEST_F(StartupFixture, FreshRunDirectoryRunsEveryStepInOrder)
{
    EXPECT_EQ(run(), StartupResult::ShowWindow);
    EXPECT_THAT(log.entries(), ElementsAreArray(FreshStart));

    EXPECT_EQ(files.files["skinh.she"], CarriedSkin);
    EXPECT_EQ(files.files["tamcard1.mdb"], "empty database");
    EXPECT_EQ(gbToUtf8(frame.caption), "Velkora Ver 2.5 2011年正月版 [永久免费使用] www.tamrel.example");
    EXPECT_TRUE(listView.emptyPanelShown);
    EXPECT_FALSE(queryView.groupEnabled);
    EXPECT_EQ(gbToUtf8(queryView.groupCaption), "密保查询-请先选择密保卡");
}

TEST(MainWindowCaption, EndsWithTheSiteHostAsGiven)
{
    EXPECT_EQ(gbToUtf8(mainWindowCaption("127.0.0.1:8080")), "Velkora Ver 2.5 2011年正月版 [永久免费使用] 127.0.0.1:8080");
}

// Each early end stops start-up on the spot: nothing after it runs, the window is not shown.
struct EarlyEnd {
    const char* name;
    void (*arrange)(StartupFixture&);
    std::string lastStep;
    std::vector<std::string> then; // what the early end itself shows
};

void PrintTo(const EarlyEnd& e, std::ostream* os) { *os << e.name; }

class StartupEarlyEnd : public StartupFixture, public ::testing::WithParamInterface<EarlyEnd> {};

TEST_P(StartupEarlyEnd, SkipsEverythingAfterIt)
{
    GetParam().arrange(*this);
    EXPECT_EQ(run(), StartupResult::ExitProcess);
    std::vector<std::string> expected = freshStartUpTo(GetParam().lastStep);
    expected.insert(expected.end(), GetParam().then.begin(), GetParam().then.end());
    EXPECT_THAT(log.entries(), ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartupEarlyEnd,
    ::testing::Values(EarlyEnd{"AnotherInstanceRuns", [](StartupFixture& f) { f.instance.free = false; }, "instance", {}},
                      EarlyEnd{"LoginCancelled", [](StartupFixture& f) { f.login.passes = false; }, "login", {}},
                      EarlyEnd{"UpdateAccepted", [](StartupFixture& f) { f.update.goesOn = false; }, "update 2.5", {}},
                      EarlyEnd{"DatabaseCannotBeOpened",
                               [](StartupFixture& f) { f.sql->opens = false; },
                               "db.open tamcard1.mdb",
                               {"message 数据库加载失败！ | 信息： | error"}}),
    caseName<EarlyEnd>);

// The skin file is kept only when its size is exactly the carried skin's length.
struct SkinCase {
    const char* name;
    std::optional<std::string> existing; // no value: no file
    bool rewritten;
};

void PrintTo(const SkinCase& c, std::ostream* os) { *os << c.name; }

class StartupSkin : public StartupFixture, public ::testing::WithParamInterface<SkinCase> {};

TEST_P(StartupSkin, IsReplacedUnlessItsSizeIsExactlyTheCarriedLength)
{
    const SkinCase& c = GetParam();
    if (c.existing)
        files.files["skinh.she"] = *c.existing;
    EXPECT_EQ(run(), StartupResult::ShowWindow);
    EXPECT_EQ(files.files["skinh.she"], c.rewritten ? CarriedSkin : *c.existing);
    EXPECT_EQ(log.contains("write skinh.she"), c.rewritten);
    EXPECT_TRUE(log.contains("skin skinh.she"));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, StartupSkin,
    ::testing::Values(SkinCase{"Missing", std::nullopt, true},
                      SkinCase{"OneByteShort", CarriedSkin.substr(1), true},
                      SkinCase{"OneByteLong", CarriedSkin + "\n", true},
                      SkinCase{"EmptyFile", std::string(), true},
                      SkinCase{"SameSizeOtherContentIsKept", std::string(CarriedSkin.size(), 'x'), false},
                      SkinCase{"TheCarriedSkinIsKept", CarriedSkin, false}),
    caseName<SkinCase>);

TEST_F(StartupFixture, ExistingDatabaseIsOpenedWithoutBeingCreated)
{
    files.files["tamcard1.mdb"] = "cards";
    EXPECT_EQ(run(), StartupResult::ShowWindow);
    EXPECT_FALSE(log.contains("db.create tamcard1.mdb"));
    EXPECT_TRUE(log.contains("db.open tamcard1.mdb"));
    EXPECT_EQ(files.files["tamcard1.mdb"], "cards");
}

TEST_F(StartupFixture, UnopenableDatabaseIsNeitherReplacedNorCreated)
{
    files.files["tamcard1.mdb"] = std::string(196608, '\0');
    sql->opens = false;
    EXPECT_EQ(run(), StartupResult::ExitProcess);
    EXPECT_FALSE(log.contains("db.create tamcard1.mdb"));
    EXPECT_FALSE(log.contains("write tamcard1.mdb"));
    EXPECT_EQ(files.files["tamcard1.mdb"], std::string(196608, '\0'));
    EXPECT_EQ(log.entries().back(), "message 数据库加载失败！ | 信息： | error");
}

// A refused hot key warns and start-up goes on; Ctrl+F12 is always bound (and warned) first.
struct HotKeyCase {
    const char* name;
    bool ctrlF12Refused;
    bool altPRefused;
    std::vector<std::string> between; // log entries from Ctrl+F12 up to the options
};

void PrintTo(const HotKeyCase& c, std::ostream* os) { *os << c.name; }

class StartupHotKeys : public StartupFixture, public ::testing::WithParamInterface<HotKeyCase> {};

const std::string CtrlF12Refused = "message 热键Ctrl+F12注册失败！ | 热键冲突，被其他程序占用！ | error";
const std::string AltPRefused =
    "message 热键ALT+P注册失败，无法使用热键输入坐标功能！ | 热键冲突，被其他程序占用！ | error";

TEST_P(StartupHotKeys, RefusalsAreReportedInTurnAndStartUpGoesOn)
{
    const HotKeyCase& c = GetParam();
    if (c.ctrlF12Refused)
        hotKeys.refused[0x7B] = true;
    if (c.altPRefused)
        hotKeys.refused[0x50] = true;
    EXPECT_EQ(run(), StartupResult::ShowWindow);

    const auto& entries = log.entries();
    const auto from = std::find(entries.begin(), entries.end(), "hotkey 2 123");
    const auto to = std::find(entries.begin(), entries.end(), "read hotkey/onehotspeed");
    ASSERT_NE(from, entries.end());
    EXPECT_THAT(std::vector<std::string>(from, to), ElementsAreArray(c.between));
    EXPECT_EQ(entries.back(), "survey");
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, StartupHotKeys,
    ::testing::Values(HotKeyCase{"BothBound", false, false, {"hotkey 2 123", "hotkey 1 80"}},
                      HotKeyCase{"CtrlF12Taken", true, false, {"hotkey 2 123", CtrlF12Refused, "hotkey 1 80"}},
                      HotKeyCase{"AltPTaken", false, true, {"hotkey 2 123", "hotkey 1 80", AltPRefused}},
                      HotKeyCase{"BothTaken", true, true, {"hotkey 2 123", CtrlF12Refused, "hotkey 1 80", AltPRefused}}),
    caseName<HotKeyCase>);

TEST_F(StartupFixture, HotKeysRunTheirOwnCallbacks)
{
    ASSERT_EQ(run(), StartupResult::ShowWindow);
    log.clear();
    hotKeys.callbacks.at(0x7B)();
    hotKeys.callbacks.at(0x50)();
    EXPECT_THAT(log.entries(), ElementsAreArray({"toggleMainWindow", "typeResult"}));
}

// Remembered options: only the exact text "1" ticks, only the exact text "0" opens the survey.
struct OptionsCase {
    const char* name;
    std::map<std::string, std::string> config;
    int speedIndex;
    bool fullInput;
    bool autoSearch;
    bool autoLine;
    bool survey;
};

void PrintTo(const OptionsCase& c, std::ostream* os) { *os << c.name; }

class StartupOptions : public StartupFixture, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(StartupOptions, AreRestoredFromTheSettings)
{
    const OptionsCase& c = GetParam();
    settings.values = c.config;
    EXPECT_EQ(run(), StartupResult::ShowWindow);
    EXPECT_EQ(typingOptions.speedIndex(), c.speedIndex);
    EXPECT_EQ(typingOptions.fullInput(), c.fullInput);
    EXPECT_EQ(queryPanel.autoSearch(), c.autoSearch);
    EXPECT_EQ(queryPanel.autoLine(), c.autoLine);
    EXPECT_EQ(log.contains("survey"), c.survey);
    EXPECT_EQ(log.contains("typing.fullInput " + std::to_string(c.fullInput)), true);
    EXPECT_EQ(log.contains("query.autoSearch " + std::to_string(c.autoSearch)), true);
    EXPECT_EQ(log.contains("query.autoLine " + std::to_string(c.autoLine)), true);
    // Restoring an option never writes it back.
    for (const std::string& entry : log.entries())
        EXPECT_FALSE(entry.starts_with("settings.write")) << entry;
}

INSTANTIATE_TEST_SUITE_P(
    Values, StartupOptions,
    ::testing::Values(
        OptionsCase{"NoConfigFile", {}, 3, true, true, true, true},
        OptionsCase{"AllOff",
                    {{"hotkey/onehotspeed", "0"},
                     {"hotkey/onehot", "0"},
                     {"Soft/AutoSearch", "0"},
                     {"Soft/AutoLine", "0"},
                     {"run/vote", "1"}},
                    0, false, false, false, false},
        OptionsCase{"OnlyTheExactOneTicks",
                    {{"hotkey/onehotspeed", "5"},
                     {"hotkey/onehot", "true"},
                     {"Soft/AutoSearch", "2"},
                     {"Soft/AutoLine", "01"},
                     {"run/vote", "0"}},
                    5, false, false, false, true},
        OptionsCase{"TextWithoutDigitsSelectsTheFirstSpeed",
                    {{"hotkey/onehotspeed", "abc"}, {"hotkey/onehot", "1"}, {"run/vote", "00"}},
                    0, true, true, true, false},
        OptionsCase{"EmptyValuesAreNotDefaults",
                    {{"hotkey/onehot", ""}, {"Soft/AutoSearch", ""}, {"Soft/AutoLine", ""}, {"run/vote", ""}},
                    3, false, false, false, false}),
    caseName<OptionsCase>);

} // namespace
} // namespace velkora
