#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace tarnwk::test {
namespace {

void sendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

std::string requestPath(int fd) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
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
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on loopback");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    thread_.join();
    close(listener_);
    for (const int client : silentClients_) close(client);
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
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0) continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) answer(client);
    }
}

void LoopbackHttpServer::answer(int client) {
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
        bool sent = send(client, head.data(), head.size(), MSG_NOSIGNAL) > 0 &&
                    send(client, "\r\n", 2, MSG_NOSIGNAL) > 0;
        // Until the client gives up (or a gibibyte, should it never).
        for (std::size_t total = 0; sent && total < (std::size_t{1} << 30);
             total += route.body.size())
            sent = send(client, route.body.data(), route.body.size(), MSG_NOSIGNAL) > 0;
        close(client);
        return;
    }
    if (!route.location.empty()) head += "Location: " + route.location + "\r\n";
    head +=
        "Content-Length: " + std::to_string(route.body.size()) + "\r\nConnection: close\r\n\r\n";
    const std::string body = route.behaviour == Behaviour::CutOff
                                 ? route.body.substr(0, route.body.size() / 2)
                                 : route.body;
    sendAll(client, head + body);
    close(client);
}

}  // namespace tarnwk::test
