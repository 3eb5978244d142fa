#pragma once

// A TCP port of the loopback address that nothing listens on: a connection to it is refused.
int closedLocalPort();

// A loopback port that takes connections and never answers, while the object lives.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};
