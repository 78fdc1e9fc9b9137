#include "support/Sockets.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace tarnwk::test::sockets {

Socket listenOnLoopback(int& port) {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    const SOCKET listener = started ? socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
    sockaddr_in address{AF_INET, 0, {.S_un = {.S_addr = htonl(INADDR_LOOPBACK)}}};
    auto* named = reinterpret_cast<sockaddr*>(&address);
    int length = sizeof address;
    if (listener == INVALID_SOCKET || bind(listener, named, length) != 0 ||
        listen(listener, 16) != 0 || getsockname(listener, named, &length) != 0) {
        closeSocket(static_cast<Socket>(listener));
        return kNone;
    }
    port = ntohs(address.sin_port);
    return static_cast<Socket>(listener);
}

Socket acceptWithin(Socket listener, int milliseconds) {
    WSAPOLLFD waiting{static_cast<SOCKET>(listener), POLLRDNORM, 0};
    if (WSAPoll(&waiting, 1, milliseconds) <= 0) return kNone;
    const SOCKET client = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
    return client == INVALID_SOCKET ? kNone : static_cast<Socket>(client);
}

long sendSome(Socket socket, const char* data, std::size_t size) {
    return send(static_cast<SOCKET>(socket), data, static_cast<int>(size), 0);
}

long receiveSome(Socket socket, char* data, std::size_t size) {
    return recv(static_cast<SOCKET>(socket), data, static_cast<int>(size), 0);
}

void closeSocket(Socket socket) {
    closesocket(static_cast<SOCKET>(socket));
}

}  // namespace tarnwk::test::sockets
