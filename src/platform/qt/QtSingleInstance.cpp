#include "platform/qt/QtSingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cstdlib>

namespace tarnwk::qt {

namespace {

constexpr char kRequest[] = "activate\n";
constexpr char kAnswer[] = "ok\n";
// A lock file nobody could read (its writer died half-way) counts as stale
// once it is this old; younger, another start may be writing it right now.
constexpr qint64 kUnreadableStaleMs = 2000;

// endProgram leaves through std::exit, past every destructor: the holder's
// lock and socket are released at exit instead.
QtSingleInstance* holder = nullptr;

}  // namespace

QtSingleInstance::QtSingleInstance(std::string key, std::string folder)
    : key_(QString::fromStdString(key)),
      folder_(folder.empty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                             : QString::fromStdString(folder)),
      lock_(lockPath()) {
    // Age alone never makes the lock stale: the program runs for weeks. A
    // lock whose process is gone is stale all the same.
    lock_.setStaleLockTime(0);
}

QtSingleInstance::~QtSingleInstance() {
    release();
}

bool QtSingleInstance::claim() {
    if (claimed_) return true;
    QDir().mkpath(folder_);
    if (!lock()) return false;
    claimed_ = true;
    listen();
    if (qGuiApp)
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, server_.get(),
                         [this](QWindow* window) {
                             if (window) front_ = window;
                         });
    holder = this;
    static const int registered = std::atexit([] {
        if (holder) holder->release();
    });
    (void)registered;
    return true;
}

bool QtSingleInstance::lock() {
    if (lock_.tryLock(0)) return true;
    if (lock_.error() != QLockFile::LockFailedError) {
        // No lock can be made here at all (no rights, no space): better a
        // second instance than none.
        return true;
    }
    // QLockFile already takes over a lock whose process has ended. Left is a
    // file that holds no readable owner at all.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_.getLockInfo(&pid, &host, &app)) return false;
    const QDateTime written = QFileInfo(lockPath()).lastModified();
    if (written.isValid() && written.msecsTo(QDateTime::currentDateTime()) < kUnreadableStaleMs)
        return false;
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}

void QtSingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left here is a crashed instance's.
    QLocalServer::removeServer(serverName());
    if (!server_->listen(serverName())) return;
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, socket] { answer(socket); });
            answer(socket);
        }
    });
}

void QtSingleInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) return;
    const QByteArray request = socket->readLine();
    const bool activate = request == kRequest;
    if (activate) {
        socket->write(kAnswer);
        socket->flush();
    }
    socket->disconnectFromServer();
    if (!activate) return;
    bringFrontWindowForward();
    if (onActivateRequest) onActivateRequest();
}

void QtSingleInstance::bringFrontWindowForward() {
    QWindow* front = front_ && front_->isVisible() ? front_.data() : nullptr;
    if (!front) {
        for (QWindow* window : QGuiApplication::topLevelWindows())
            if (window->isVisible() && window->type() != Qt::Popup && window->type() != Qt::ToolTip)
                front = window;
    }
    if (!front) return;
    front->setWindowStates(front->windowStates() & ~Qt::WindowMinimized);
    front->raise();
    front->requestActivate();
}

bool QtSingleInstance::activateRunning() {
    QLocalSocket socket;
    QElapsedTimer trying;
    trying.start();
    // The running instance may hold the lock but not yet listen.
    for (;;) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(kConnectMs)) break;
        if (trying.elapsed() >= kConnectMs) return false;
        socket.abort();
        QThread::msleep(50);
    }
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(kAnswerMs) && socket.bytesToWrite() > 0) return false;
    // Wait for the answer with the event loop running, so an instance in
    // this very process (as in tests) can answer too.
    if (!socket.canReadLine()) {
        QEventLoop loop;
        QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
            if (socket.canReadLine()) loop.quit();
        });
        QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
        QTimer::singleShot(kAnswerMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // The request is delivered even when a busy instance answers late.
    socket.disconnectFromServer();
    return true;
}

void QtSingleInstance::release() {
    if (holder == this) holder = nullptr;
    if (!claimed_) return;
    claimed_ = false;
    if (server_) server_->close();
    server_.reset();
    lock_.unlock();
}

}  // namespace tarnwk::qt
