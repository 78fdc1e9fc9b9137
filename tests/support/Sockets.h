// The few socket calls the loopback server needs, the same on every system.
#pragma once

#include <cstdint>

namespace tarnwk::test::sockets {

using Socket = std::intptr_t;
inline constexpr Socket kNone = -1;

// A TCP socket listening on 127.0.0.1 at a port of the system's choice;
// kNone on failure.
Socket listenOnLoopback(int& port);
// Waits up to `milliseconds` for a connection and accepts it; kNone when
// none came.
Socket acceptWithin(Socket listener, int milliseconds);
// Bytes sent (never a signal when the peer went away), or -1.
long sendSome(Socket socket, const char* data, std::size_t size);
long receiveSome(Socket socket, char* data, std::size_t size);
void closeSocket(Socket socket);

}  // namespace tarnwk::test::sockets
