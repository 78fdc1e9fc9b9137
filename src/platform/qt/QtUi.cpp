#include "platform/qt/QtUi.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/Artwork.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/TrayIcon.h"

namespace tarnwk::qt {

QtUi::QtUi(std::chrono::milliseconds serveInterval)
    : serveInterval_(serveInterval), lastServed_(std::chrono::steady_clock::now() - serveInterval) {
    // The program ends only through endProgram; closing or hiding the last
    // window leaves it in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(artworkIcon("icon"));
    activation_.setSingleShot(true);
    activation_.setInterval(kActivationSettle);
    QObject::connect(&activation_, &QTimer::timeout, &flushTarget_,
                     [this] { reportActiveWindow(); });
}

QtUi::~QtUi() = default;

std::unique_ptr<ui::FormPeer> QtUi::createPeer(ui::Form& form) {
    return std::make_unique<QtFormPeer>(*this, form);
}

void QtUi::peerCreated(QtFormPeer* peer) {
    peers_.push_back(peer);
}

void QtUi::peerDestroyed(QtFormPeer* peer) {
    std::erase(peers_, peer);
    std::erase(dirty_, peer);
}

QtFormPeer* QtUi::peerOf(const ui::Form& form) const {
    for (QtFormPeer* peer : peers_)
        if (&peer->form() == &form) return peer;
    return nullptr;
}

void QtUi::schedule(QtFormPeer* peer) {
    dirty_.push_back(peer);
    if (flushPosted_) return;
    // One queued flush for all windows, run at the next event-loop turn.
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        &flushTarget_, [this] { flushAll(); }, Qt::QueuedConnection);
}

void QtUi::flushAll() {
    flushPosted_ = false;
    std::vector<QtFormPeer*> dirty;
    dirty.swap(dirty_);
    for (QtFormPeer* peer : dirty) {
        peer->scheduled_ = false;
        peer->flush();
    }
}

void QtUi::doEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastServed_ < serveInterval_) return;
    lastServed_ = now;
    flushAll();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtUi::setBusy(bool busy) {
    // A state, not a count: the override cursor is pushed once and popped once.
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::endProgram(int exitCode) {
    std::fflush(nullptr);
    std::exit(exitCode);
}

int QtUi::popupMenu(const std::vector<std::string>& items) {
    QMenu menu;
    std::vector<QAction*> actions;
    actions.reserve(items.size());
    for (const std::string& item : items)
        actions.push_back(menu.addAction(QString::fromStdString(item)));
    QAction* chosen = menu.exec(QCursor::pos());
    const auto it = std::find(actions.begin(), actions.end(), chosen);
    return chosen && it != actions.end() ? static_cast<int>(it - actions.begin()) : -1;
}

bool QtUi::addTrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage) {
    tray_ = std::make_unique<TrayIcon>(tip, std::move(onMessage));
    return TrayIcon::available();
}

int QtUi::run() {
    return QApplication::exec();
}

void QtUi::windowActivated() {
    activation_.start();
}

void QtUi::reportActiveWindow() {
    auto* window = dynamic_cast<FormWindow*>(QApplication::activeWindow());
    if (!window || !window->peer()) return;
    QtFormPeer* peer = window->peer();
    peer->userAction([peer] { peer->form().activated(); });
}

}  // namespace tarnwk::qt
