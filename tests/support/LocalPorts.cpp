#include "LocalPorts.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A socket bound to a free loopback port; its number in port.
int boundSocket(int& port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

} // namespace

int closedLocalPort() {
    int port = 0;
    close(boundSocket(port)); // bound, never listened on, now free
    return port;
}

SilentServer::SilentServer() {
    m_socket = boundSocket(m_port);
    listen(m_socket, 4); // the system completes the connections; nothing reads them
}

SilentServer::~SilentServer() {
    close(m_socket);
}
