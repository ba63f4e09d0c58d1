#pragma once
// The tray icon: the main window's icon with its tooltip. A left click shows or hides the main
// window; a right click (or the tray's context request) pops up the tray menu beside the pointer.
// Where the desktop has no tray, there is no icon and the program runs on without it.

#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

#include "startup/StartupSequence.h"

class QMenu;
class QWidget;

namespace velkora {

class QtTrayIcon final : public QObject, public TrayIcon {
    Q_OBJECT
public:
    // `menu` is the main window's 托盘菜单; `toggleWindow` runs on a left click.
    QtTrayIcon(QWidget& window, QMenu& menu, std::function<void()> toggleWindow);
    ~QtTrayIcon() override;

    void addTrayIcon(const std::string& tip) override;

    // What a notification from the tray does; `pointer` is the mouse pointer on the screen.
    void activate(QSystemTrayIcon::ActivationReason reason, const QPoint& pointer);

    QSystemTrayIcon* icon() const { return icon_.get(); } // none without a tray

    static constexpr int MenuOffset = 3; // the menu opens this far right of and below the pointer

private:
    QWidget& window_;
    QMenu& menu_;
    std::function<void()> toggleWindow_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

} // namespace velkora
