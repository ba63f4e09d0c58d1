#pragma once
// The about window: a banner, the credits, what the program is for, a link to the publisher's web
// site and a button that closes it.

#include <QDialog>

#include <functional>
#include <string>
#include <utility>

#include "mainwindow/WindowShell.h"

namespace velkora {

class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 338;
    static constexpr int Height = 353;

    // `openSite` runs when the link to the web site is clicked.
    AboutWindow(const std::string& siteHost, std::function<void()> openSite, QWidget* parent = nullptr);
};

// Opens the about window modal over the main window and returns when it is closed.
class QtAboutWindowOpener final : public AboutWindowOpener {
public:
    QtAboutWindowOpener(QWidget& owner, std::string siteHost);
    // What the window's link does: open the publisher's web site.
    void setOpenSite(std::function<void()> openSite) { openSite_ = std::move(openSite); }
    void openAboutWindow() override;

private:
    QWidget& owner_;
    std::string siteHost_;
    std::function<void()> openSite_;
};

} // namespace velkora
