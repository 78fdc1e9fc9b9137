#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QPointer>
#include <QString>
#include <QWindow>
#include <memory>
#include <string>

#include "platform/platform.h"

class QLocalSocket;

namespace tarnwk::qt {

// One running instance per user: a lock file marks it, and a local socket
// beside it lets a later start ask it to come forward. Both live in the
// user's runtime folder, which only that user can reach. On a request the
// instance's front window is restored and raised before onActivateRequest
// runs (which shows the main window).
class QtSingleInstance final : public platform::SingleInstance {
public:
    // `key` names the lock and the socket; `folder` holds them (the user's
    // runtime folder when empty).
    explicit QtSingleInstance(std::string key = "Tarnwick", std::string folder = {});
    ~QtSingleInstance() override;

    bool claim() override;
    bool activateRunning() override;

    QString lockPath() const {
        return folder_ + QStringLiteral("/") + key_ + QStringLiteral(".lock");
    }
    QString serverName() const {
        return folder_ + QStringLiteral("/") + key_ + QStringLiteral(".socket");
    }

    // How long a later start tries to reach the running one, and waits for
    // its answer.
    static constexpr int kConnectMs = 1000;
    static constexpr int kAnswerMs = 2000;

private:
    bool lock();
    void listen();
    void answer(QLocalSocket* socket);
    void bringFrontWindowForward();
    void release();

    QString key_;
    QString folder_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
    bool claimed_ = false;
    // The window the user last worked in.
    QPointer<QWindow> front_;
};

}  // namespace tarnwk::qt
