#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/Sockets.h"

namespace tarnwk::test {

// A small HTTP/1.0 server on 127.0.0.1 for tests, on a port of its own.
// Paths not in the table answer 404.
class LoopbackHttpServer {
public:
    enum class Behaviour {
        Serve,       // status and body as given
        CutOff,      // announces the whole body, sends half, closes
        Endless,     // no length announced; the body repeats until the client goes
        NeverAnswer  // accepts the connection and stays silent
    };
    struct Route {
        int status = 200;
        std::string body{};
        Behaviour behaviour = Behaviour::Serve;
        std::string location{};  // for redirects
    };

    LoopbackHttpServer();
    ~LoopbackHttpServer();

    void route(const std::string& path, Route route);
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> requests() const;

private:
    void answer(sockets::Socket client);

    sockets::Socket listener_ = sockets::kNone;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::vector<std::string> requests_;
    std::vector<sockets::Socket> silentClients_;
    std::thread thread_;
};

}  // namespace tarnwk::test
