#pragma once
// Services the window behaviours use besides their own views: message and input boxes, clipboard,
// shell.

#include <optional>
#include <string>

#include "carddata/Text.h"

namespace velkora {

enum class MessageIcon { None, Error, Information, Question };

// The caption of a message box for which no caption is named.
inline const std::string& defaultCaption() { return VK_TEXT("信息："); }

class MessageService {
public:
    virtual ~MessageService() = default;
    // A box with an OK button, modal for the whole program, no owner window.
    virtual void showMessage(const std::string& text, MessageIcon icon, const std::string& caption) = 0;
    // A question with Yes and No; true only for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;

    void showMessage(const std::string& text, MessageIcon icon) { showMessage(text, icon, defaultCaption()); }
    bool askYesNo(const std::string& text) { return askYesNo(text, defaultCaption()); }
};

// A prompt for one line of text, modal for the whole program, with OK and Cancel.
class InputBox {
public:
    virtual ~InputBox() = default;
    // The entry starts empty; `masked` hides what is typed (passwords). The text confirmed with
    // OK, or no value when the box is cancelled or closed.
    virtual std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                               bool masked) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const std::string& text) = 0; // may fail silently
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual void openUrl(const std::string& url) = 0;   // only http and https are ever opened
    virtual void openFile(const std::string& path) = 0;
};

} // namespace velkora
