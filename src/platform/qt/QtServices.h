#pragma once
// Message boxes, clipboard and shell for the behaviours, realised with Qt.

#include "mainwindow/Services.h"

class QMessageBox;

namespace velkora {

// Boxes without an owner window, modal for the whole program. Texts are shown as plain text.
class QtMessageService final : public MessageService {
public:
    using MessageService::askYesNo;
    using MessageService::showMessage;

    void showMessage(const std::string& text, MessageIcon icon, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
};

class QtClipboard final : public Clipboard {
public:
    void setText(const std::string& text) override;
};

// Opens addresses in the user's browser and files with their viewer. Only http and https
// addresses are opened; any other scheme is ignored.
class QtShell final : public Shell {
public:
    void openUrl(const std::string& url) override;
    void openFile(const std::string& path) override;

    static bool isWebAddress(const std::string& url);
};

} // namespace velkora
