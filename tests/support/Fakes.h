#pragma once
// Fakes of the services and views the window behaviours talk to. Texts are recorded as UTF-8 so
// that failing assertions read plainly.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "carddata/Text.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/Services.h"
#include "mainwindow/WindowShell.h"
#include "startup/Settings.h"

namespace velkora::testing {

inline std::string gb(const std::string& utf8) { return utf8ToGb(utf8); }
inline std::string u8(const std::string& gbText) { return gbToUtf8(gbText); }

struct RecordedMessage {
    std::string text;    // UTF-8
    MessageIcon icon;
    std::string caption; // UTF-8
};

// A query panel view that shows nothing and holds nothing; a fake overrides what it watches.
class NullQueryPanelView : public QueryPanelView {
public:
    void setQueryGroupEnabled(bool) override {}
    void setQueryGroupCaption(const std::string&) override {}
    void setAccountText(const std::string&) override {}
    std::string accountText() const override { return {}; }
    void setSerialText(const std::string&) override {}
    std::string serialText() const override { return {}; }
    std::string cellText(int) const override { return {}; }
    void setCellText(int, const std::string&) override {}
    void focusCell(int) override {}
    void focusQueryButton() override {}
    void setQueryButtonCaption(const std::string&) override {}
    void setResultText(const std::string&) override {}
    void startAdvanceTimer(int) override {}
    void stopAdvanceTimer() override {}
    void setAutoSearchTicked(bool) override {}
    void setAutoLineTicked(bool) override {}
};

class FakeMessages : public MessageService {
public:
    using MessageService::askYesNo;
    using MessageService::showMessage;

    void showMessage(const std::string& text, MessageIcon icon, const std::string& caption) override
    {
        shown.push_back({u8(text), icon, u8(caption)});
    }
    bool askYesNo(const std::string& text, const std::string& caption) override
    {
        asked.push_back({u8(text), MessageIcon::Question, u8(caption)});
        return answerYes;
    }

    std::vector<RecordedMessage> shown;
    std::vector<RecordedMessage> asked;
    bool answerYes = true;
};

// Answers each prompt with the next queued reply (no value: cancelled); cancels when none is left.
class FakeInputBox : public InputBox {
public:
    std::optional<std::string> askText(const std::string& caption, const std::string& prompt, bool masked) override
    {
        asked.push_back({u8(caption), u8(prompt), masked});
        if (replies.empty())
            return std::nullopt;
        std::optional<std::string> reply = replies.front();
        replies.erase(replies.begin());
        return reply;
    }

    struct Prompt {
        std::string caption; // UTF-8
        std::string prompt;  // UTF-8
        bool masked;
    };
    std::vector<Prompt> asked;
    std::vector<std::optional<std::string>> replies; // GB18030
};

class FakeSettings : public Settings {
public:
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const override
    {
        auto it = values.find({std::string(section), std::string(key)});
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    void write(std::string_view section, std::string_view key, std::string_view value) override
    {
        values[{std::string(section), std::string(key)}] = std::string(value);
        writes.emplace_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> writes;
};

class FakeClipboard : public Clipboard {
public:
    void setText(const std::string& copied) override { text = copied; ++sets; }
    std::string text;
    int sets = 0;
};

class FakeAbout : public AboutWindowOpener {
public:
    void openAboutWindow() override { ++opened; }
    int opened = 0;
};

class FakeShell : public Shell {
public:
    void openUrl(const std::string& url) override { urls.push_back(url); }
    void openFile(const std::string& path) override { files.push_back(path); }
    std::vector<std::string> urls, files;
};

} // namespace velkora::testing
