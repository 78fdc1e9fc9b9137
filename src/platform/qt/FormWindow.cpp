#include "platform/qt/FormWindow.h"

#include <QCloseEvent>

#include "platform/qt/QtFormPeer.h"

namespace tarnwk::qt {

void FormWindow::closeEvent(QCloseEvent* event) {
    // The form decides: it unloads, or cancels and perhaps hides. Qt must
    // not close the window behind its back either way.
    event->ignore();
    if (peer_) peer_->closeRequested();
}

bool FormWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && peer_) peer_->windowActivated();
    return QWidget::event(event);
}

}  // namespace tarnwk::qt
