#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>

namespace tarnwk::qt {

QUrl shellUrl(std::string_view address) {
    const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
    return QUrl::fromUserInput(text, QDir::currentPath());
}

void QtShell::open(std::string_view address) {
    // Nothing is reported when no program could open it.
    const QUrl url = shellUrl(address);
    if (url.isValid()) QDesktopServices::openUrl(url);
}

}  // namespace tarnwk::qt
