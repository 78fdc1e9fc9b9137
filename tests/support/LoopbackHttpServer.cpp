#include "support/LoopbackHttpServer.h"

#include <stdexcept>

namespace tarnwk::test {

using namespace sockets;

LoopbackHttpServer::LoopbackHttpServer() {
    listener_ = listenOnLoopback(port_);
    if (listener_ == kNone) throw std::runtime_error("cannot listen on loopback");
    thread_ = std::thread([this] {
        while (!stopping_)
            if (const auto client = acceptWithin(listener_, 50); client != kNone) answer(client);
    });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    thread_.join();
    closeSocket(listener_);
    for (const auto client : silentClients_) closeSocket(client);
}

void LoopbackHttpServer::route(const std::string& path, Route route) {
    const std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
}

std::vector<std::string> LoopbackHttpServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackHttpServer::answer(Socket client) {
    std::string request;
    char buffer[1024];
    for (long n = 1; n > 0 && request.find("\r\n\r\n") == std::string::npos;)
        if ((n = receiveSome(client, buffer, sizeof buffer)) > 0) request.append(buffer, n);
    const auto start = request.find(' ') + 1;  // "GET /path HTTP/1.1"
    const std::string path = request.substr(start, request.find(' ', start) - start);
    Route route{404, "not found"};
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(path);
        if (const auto it = routes_.find(path); it != routes_.end()) route = it->second;
    }
    if (route.behaviour == Behaviour::NeverAnswer) return silentClients_.push_back(client);
    std::string head = "HTTP/1.0 " + std::to_string(route.status) + " X\r\n";
    if (!route.location.empty()) head += "Location: " + route.location + "\r\n";
    if (route.behaviour != Behaviour::Endless)
        head += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
    std::string data = head + "Connection: close\r\n\r\n";
    data += route.behaviour == Behaviour::CutOff ? route.body.substr(0, route.body.size() / 2)
                                                 : route.body;
    // The endless body repeats until the client gives up (or a gibibyte,
    // should it never).
    for (std::size_t sent = 0, total = 0; sent < data.size() && total < (1u << 30);) {
        const long n = sendSome(client, data.data() + sent, data.size() - sent);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
        total += static_cast<std::size_t>(n);
        if (sent == data.size() && route.behaviour == Behaviour::Endless)
            data = route.body, sent = 0;
    }
    closeSocket(client);
}

}  // namespace tarnwk::test
