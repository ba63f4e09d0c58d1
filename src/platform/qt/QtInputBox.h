#pragma once
// The prompt for one line of text, realised with Qt.

#include "mainwindow/Services.h"

namespace velkora {

// A dialog without an owner window, modal for the whole program, with OK and Cancel.
class QtInputBox final : public InputBox {
public:
    std::optional<std::string> askText(const std::string& caption, const std::string& prompt, bool masked) override;
};

} // namespace velkora
