#include "support/LoopbackHttpServer.h"

#include <stdexcept>

#include "support/Sockets.h"

namespace tarnwk::test {
namespace {

using namespace sockets;

void sendAll(Socket fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const long n = sendSome(fd, data.data() + sent, data.size() - sent);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

std::string requestPath(Socket fd) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const long n = receiveSome(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const auto start = request.find(' ');
    const auto end = request.find(' ', start + 1);
    if (start == std::string::npos || end == std::string::npos) return {};
    return request.substr(start + 1, end - start - 1);
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    listener_ = sockets::listenOnLoopback(port_);
    if (listener_ == sockets::kNone) throw std::runtime_error("cannot listen on loopback");
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    thread_.join();
    sockets::closeSocket(listener_);
    for (const auto client : silentClients_) sockets::closeSocket(client);
}

void LoopbackHttpServer::route(const std::string& path, Route route) {
    const std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
}

std::vector<std::string> LoopbackHttpServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackHttpServer::serve() {
    while (!stopping_) {
        const auto client = sockets::acceptWithin(listener_, 50);
        if (client != sockets::kNone) answer(client);
    }
}

void LoopbackHttpServer::answer(sockets::Socket client) {
    using namespace sockets;
    const std::string path = requestPath(client);
    Route route{404, "not found"};
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(path);
        if (const auto it = routes_.find(path); it != routes_.end()) route = it->second;
    }
    if (route.behaviour == Behaviour::NeverAnswer) {
        silentClients_.push_back(client);
        return;
    }
    std::string head = "HTTP/1.0 " + std::to_string(route.status) + " X\r\n";
    if (route.behaviour == Behaviour::Endless) {
        bool sent =
            sendSome(client, head.data(), head.size()) > 0 && sendSome(client, "\r\n", 2) > 0;
        // Until the client gives up (or a gibibyte, should it never).
        for (std::size_t total = 0; sent && total < (std::size_t{1} << 30);
             total += route.body.size())
            sent = sendSome(client, route.body.data(), route.body.size()) > 0;
        closeSocket(client);
        return;
    }
    if (!route.location.empty()) head += "Location: " + route.location + "\r\n";
    head +=
        "Content-Length: " + std::to_string(route.body.size()) + "\r\nConnection: close\r\n\r\n";
    const std::string body = route.behaviour == Behaviour::CutOff
                                 ? route.body.substr(0, route.body.size() / 2)
                                 : route.body;
    sendAll(client, head + body);
    closeSocket(client);
}

}  // namespace tarnwk::test
