#include "support/Sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwk::test::sockets {

Socket listenOnLoopback(int& port) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener >= 0) close(listener);
        return kNone;
    }
    port = ntohs(address.sin_port);
    return listener;
}

Socket acceptWithin(Socket listener, int milliseconds) {
    pollfd waiting{static_cast<int>(listener), POLLIN, 0};
    if (poll(&waiting, 1, milliseconds) <= 0) return kNone;
    const int client = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return client >= 0 ? client : kNone;
}

long sendSome(Socket socket, const char* data, std::size_t size) {
    return send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
}

long receiveSome(Socket socket, char* data, std::size_t size) {
    return recv(static_cast<int>(socket), data, size, 0);
}

void closeSocket(Socket socket) {
    close(static_cast<int>(socket));
}

}  // namespace tarnwk::test::sockets
