#pragma once
// The program's start: every step from the single-instance check to the window being shown, in
// its fixed order. Each step's means come in through a small interface, so the order and the
// early ends are testable with fakes.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velkora {

class CardStore;
class CardList;
class QueryPanel;
class TypingOptions;
class Settings;
class MessageService;

class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    virtual bool acquire() = 0; // false: another instance is running
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::int64_t fileSize(const std::string& path) const = 0; // -1 when missing
    virtual bool exists(const std::string& path) const = 0;
    virtual void remove(const std::string& path) = 0;
    virtual bool writeFile(const std::string& path, std::string_view bytes) = 0; // atomic replace
};

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setWidth(int width) = 0;
    virtual void attachSkin(const std::string& styleSheetPath) = 0;
};

class LoginGate {
public:
    virtual ~LoginGate() = default;
    virtual bool checkLoginPassword() = 0; // false: the prompt was cancelled
};

class UpdateCheck {
public:
    virtual ~UpdateCheck() = default;
    virtual bool checkForUpdate(const std::string& runningVersion) = 0; // false: the user accepted an update
};

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void addTrayIcon(const std::string& tip) = 0;
};

class HotKeys {
public:
    virtual ~HotKeys() = default;
    // modifiers: 1 Alt, 2 Control (Win32 MOD_ values); key: Win32 virtual-key code.
    virtual bool bindHotKey(std::uint32_t modifiers, std::uint32_t virtualKey, std::function<void()> callback) = 0;
    virtual void toggleMainWindow() = 0;
    virtual void typeResult() = 0;
};

class SurveyWindow {
public:
    virtual ~SurveyWindow() = default;
    virtual void openSurvey() = 0; // modal
};

struct StartupContext {
    std::string runDir;   // no trailing slash
    std::string siteHost; // publisher's web site host, e.g. "www.tamrel.example"
    std::string_view skinData; // the carried style sheet

    InstanceGuard& instance;
    FileSystem& files;
    MainFrame& frame;
    LoginGate& login;
    UpdateCheck& update;
    CardStore& store;
    CardList& cardList;
    QueryPanel& queryPanel;
    TypingOptions& typingOptions;
    TrayIcon& tray;
    HotKeys& hotKeys;
    Settings& settings;
    SurveyWindow& survey;
    MessageService& messages;
};

enum class StartupResult { ShowWindow, ExitProcess };

inline constexpr std::string_view RunningVersion = "2.5";
inline constexpr int MainWindowWidth = 485;

std::string mainWindowCaption(const std::string& siteHost);

StartupResult runStartupSequence(StartupContext& context);

} // namespace velkora
