#include "startup/StartupSequence.h"

#include "carddata/CardStore.h"
#include "carddata/Text.h"
#include "mainwindow/CardList.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/Services.h"
#include "mainwindow/TypingOptions.h"
#include "startup/Settings.h"

namespace velkora {
namespace {

// Win32 modifier flags and virtual-key codes of the two hot keys.
constexpr std::uint32_t ModAlt = 1;
constexpr std::uint32_t ModControl = 2;
constexpr std::uint32_t KeyF12 = 0x7B;
constexpr std::uint32_t KeyP = 0x50;

// The carried style sheet is written out whole. A file of exactly its length is kept as it is,
// whatever it holds; a file of any other length is replaced.
void writeOutSkin(FileSystem& files, const std::string& path, std::string_view skin)
{
    if (files.fileSize(path) != static_cast<std::int64_t>(skin.size()))
        files.remove(path);
    if (!files.exists(path))
        (void)files.writeFile(path, skin); // a failure shows nothing; start-up goes on
}

void bindHotKeys(HotKeys& hotKeys, MessageService& messages)
{
    const std::string& conflict = VK_TEXT("热键冲突，被其他程序占用！");
    if (!hotKeys.bindHotKey(ModControl, KeyF12, [&hotKeys] { hotKeys.toggleMainWindow(); }))
        messages.showMessage(VK_TEXT("热键Ctrl+F12注册失败！"), MessageIcon::Error, conflict);
    if (!hotKeys.bindHotKey(ModAlt, KeyP, [&hotKeys] { hotKeys.typeResult(); }))
        messages.showMessage(VK_TEXT("热键ALT+P注册失败，无法使用热键输入坐标功能！"), MessageIcon::Error, conflict);
}

} // namespace

std::string mainWindowCaption(const std::string& siteHost)
{
    return VK_TEXT("Velkora Ver ") + std::string(RunningVersion) + VK_TEXT(" 2011年正月版 [永久免费使用] ") +
           siteHost;
}

StartupResult runStartupSequence(StartupContext& context)
{
    if (!context.instance.acquire())
        return StartupResult::ExitProcess;

    const std::string skinPath = context.runDir + "/skinh.she";
    writeOutSkin(context.files, skinPath, context.skinData);
    context.frame.attachSkin(skinPath);

    context.frame.setCaption(mainWindowCaption(context.siteHost));
    context.frame.setWidth(MainWindowWidth);

    if (!context.login.checkLoginPassword())
        return StartupResult::ExitProcess;
    // Made on every start, before the card database is touched.
    if (!context.update.checkForUpdate(std::string(RunningVersion)))
        return StartupResult::ExitProcess;

    // An existing database file is never overwritten, even when it cannot be opened.
    if (!context.files.exists(context.runDir + "/tamcard1.mdb"))
        context.store.createDefaultDatabase();
    if (!context.store.openStore()) {
        context.messages.showMessage(VK_TEXT("数据库加载失败！"), MessageIcon::Error);
        return StartupResult::ExitProcess;
    }

    context.cardList.fillCardList();
    context.queryPanel.showNoCard();
    context.tray.addTrayIcon(VK_TEXT("Velkora托盘信息"));
    bindHotKeys(context.hotKeys, context.messages);

    // Remembered options, each read afresh from the settings file, in this order.
    context.typingOptions.restoreSpeed();
    context.typingOptions.restoreFullInput();
    context.queryPanel.setAutoSearch(context.settings.read("Soft", "AutoSearch", "1") == "1");
    context.queryPanel.setAutoLine(context.settings.read("Soft", "AutoLine", "1") == "1");

    // Only the exact text "0" (or a missing key) means the survey has not been answered.
    if (context.settings.read("run", "vote", "0") == "0")
        context.survey.openSurvey();

    return StartupResult::ShowWindow;
}

} // namespace velkora
