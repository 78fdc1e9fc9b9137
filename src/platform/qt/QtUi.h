#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/ui.h"

namespace tarnwk::qt {

class QtFormPeer;
class TrayIcon;

// The Qt Widgets toolkit behind the program's forms: one generic window per
// form, the event loop, message boxes, the busy pointer, popup menus and the
// tray icon. Needs a QApplication.
class QtUi final : public ui::UiBackend {
public:
    static constexpr std::chrono::milliseconds kServeInterval{20};
    // How long activations settle before the active window is reported: a
    // window shown while another comes up must not activate both again.
    static constexpr std::chrono::milliseconds kActivationSettle{50};

    explicit QtUi(std::chrono::milliseconds serveInterval = kServeInterval);
    ~QtUi() override;

    std::unique_ptr<ui::FormPeer> createPeer(ui::Form& form) override;
    // Serves the event loop, but at most once per serve interval: a walk
    // calls this for every file, and the check costs a clock read. Model
    // changes are applied whenever the loop is served.
    void doEvents() override;
    void setBusy(bool busy) override;
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override;
    [[noreturn]] void endProgram(int exitCode) override;
    int popupMenu(const std::vector<std::string>& items) override;
    bool addTrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage) override;
    int run() override;

    // The peer of a loaded form, or null.
    QtFormPeer* peerOf(const ui::Form& form) const;
    // Applies every noted model change to the widgets now.
    void flushAll();
    TrayIcon* trayIcon() const { return tray_.get(); }

private:
    friend class QtFormPeer;
    void peerCreated(QtFormPeer* peer);
    void peerDestroyed(QtFormPeer* peer);
    void schedule(QtFormPeer* peer);
    void windowActivated();
    void reportActiveWindow();

    std::vector<QtFormPeer*> peers_;
    std::vector<QtFormPeer*> dirty_;
    // Receiver of the one queued flush.
    QObject flushTarget_;
    bool flushPosted_ = false;
    QTimer activation_;
    std::chrono::milliseconds serveInterval_;
    std::chrono::steady_clock::time_point lastServed_{};
    bool busy_ = false;
    std::unique_ptr<TrayIcon> tray_;
};

}  // namespace tarnwk::qt
