#include "LocalPorts.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

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

namespace {

constexpr int WaitMs = 10000;

// Reads exactly size bytes, waiting at most WaitMs for each part.
bool readFully(int s, unsigned char* into, size_t size) {
    while (size > 0) {
        pollfd p{s, POLLIN, 0};
        if (poll(&p, 1, WaitMs) <= 0) return false;
        const ssize_t n = recv(s, into, size, 0);
        if (n <= 0) return false;
        into += n;
        size -= size_t(n);
    }
    return true;
}

// One TDS message: its packets' payloads joined up to the one marked last.
bool readMessage(int s, unsigned char& type, std::vector<unsigned char>& payload) {
    payload.clear();
    for (;;) {
        unsigned char header[8];
        if (!readFully(s, header, sizeof header)) return false;
        type = header[0];
        const size_t length = size_t(header[2]) << 8 | header[3];
        if (length < 8) return false;
        const size_t at = payload.size();
        payload.resize(at + length - 8);
        if (!readFully(s, payload.data() + at, length - 8)) return false;
        if (header[1] & 1) return true;
    }
}

// A field of a LOGIN7 message: its offset and length in characters at position at.
QString loginField(const std::vector<unsigned char>& login, size_t at, bool password = false) {
    if (at + 4 > login.size()) return {};
    const size_t offset = login[at] | size_t(login[at + 1]) << 8;
    const size_t length = (login[at + 2] | size_t(login[at + 3]) << 8) * 2;
    if (offset + length > login.size()) return {};
    QString text;
    for (size_t i = offset; i < offset + length; i += 2) {
        unsigned char low = login[i];
        unsigned char high = login[i + 1];
        if (password) { // each byte's halves swapped and XORed with 0xA5
            low ^= 0xA5;
            high ^= 0xA5;
            low = static_cast<unsigned char>(low >> 4 | low << 4);
            high = static_cast<unsigned char>(high >> 4 | high << 4);
        }
        text += QChar(char16_t(low | high << 8));
    }
    return text;
}

} // namespace

TdsLoginListener::TdsLoginListener() {
    m_socket = boundSocket(m_port);
    listen(m_socket, 1);
    m_thread = std::thread([this] { serve(); });
}

TdsLoginListener::~TdsLoginListener() {
    shutdown(m_socket, SHUT_RDWR); // ends a wait for a client that never came
    if (m_thread.joinable()) m_thread.join();
    close(m_socket);
}

TdsLoginListener::Login TdsLoginListener::login() {
    if (m_thread.joinable()) m_thread.join();
    return m_login;
}

void TdsLoginListener::serve() {
    pollfd p{m_socket, POLLIN, 0};
    if (poll(&p, 1, WaitMs) <= 0) return;
    const int client = accept(m_socket, nullptr, nullptr);
    if (client < 0) return;
    unsigned char type = 0;
    std::vector<unsigned char> message;
    // The pre-login, answered with a version and no encryption.
    if (readMessage(client, type, message) && type == 0x12) {
        const unsigned char reply[] = {0x04, 0x01, 0x00, 8 + 18, 0, 0,    1,   0, // header
                                       0x00, 0,    11,   0,      6, 0x01, 0,   17,
                                       0,    1,    0xFF,                         // VERSION, ENCRYPTION
                                       16,   0,    0,    0,      0, 0,    0x02}; // 16.0, not supported
        send(client, reply, sizeof reply, MSG_NOSIGNAL);
        if (readMessage(client, type, message) && type == 0x10) {
            m_login.received = true;
            m_login.user = loginField(message, 40);
            m_login.password = loginField(message, 44, true);
            m_login.database = loginField(message, 68);
            m_login.attachDbFile = loginField(message, 82);
        }
    }
    close(client);
}
