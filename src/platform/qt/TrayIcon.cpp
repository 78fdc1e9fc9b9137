#include "platform/qt/TrayIcon.h"

#include "platform/qt/Artwork.h"

namespace tarnwk::qt {

TrayIcon::TrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage)
    : onMessage_(std::move(onMessage)) {
    icon_.setIcon(artworkIcon("icon"));
    icon_.setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
    icon_.show();
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    if (!onMessage_) return;
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            onMessage_(ui::TrayMessage::LeftButtonDown);
            break;
        case QSystemTrayIcon::Context:
            onMessage_(ui::TrayMessage::RightButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            onMessage_(ui::TrayMessage::LeftDoubleClick);
            break;
        default:
            break;
    }
}

}  // namespace tarnwk::qt
