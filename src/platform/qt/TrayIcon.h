#pragma once

#include <QSystemTrayIcon>
#include <functional>
#include <string_view>

#include "platform/ui.h"

namespace tarnwk::qt {

// The program's icon in the notification area. Clicks arrive as the tray
// messages the program acts on; it pops its own menu, so the icon has none.
class TrayIcon {
public:
    TrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage);
    static bool available() { return QSystemTrayIcon::isSystemTrayAvailable(); }
    QSystemTrayIcon& icon() { return icon_; }
    // What the desktop reports, as the program hears it.
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    QSystemTrayIcon icon_;
    std::function<void(ui::TrayMessage)> onMessage_;
};

}  // namespace tarnwk::qt
