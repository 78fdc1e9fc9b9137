#pragma once

#include <QWidget>

namespace tarnwk::qt {

class QtFormPeer;

// The top-level window of a form. The user's close request and activation go
// to the form's peer; once the peer is gone (the window is deleted a moment
// later) the window reports nothing.
class FormWindow final : public QWidget {
public:
    FormWindow(QtFormPeer* peer, Qt::WindowFlags flags) : QWidget(nullptr, flags), peer_(peer) {}
    QtFormPeer* peer() const { return peer_; }
    void detach() { peer_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QtFormPeer* peer_;
};

}  // namespace tarnwk::qt
