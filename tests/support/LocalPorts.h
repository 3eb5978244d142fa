#pragma once

#include <QString>

#include <thread>

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

// A loopback port that plays a SQL Server for one TDS login: it answers the client's pre-login
// without encryption, reads its login and closes the connection, so the client's open fails.
// What the login carried is known once login() returns.
class TdsLoginListener {
public:
    struct Login {
        bool received = false;
        QString user;
        QString password;
        QString database;
        QString attachDbFile;
    };
    TdsLoginListener();
    ~TdsLoginListener();
    TdsLoginListener(const TdsLoginListener&) = delete;
    TdsLoginListener& operator=(const TdsLoginListener&) = delete;
    int port() const { return m_port; }
    // Waits for the connection to end (or for a few seconds without one).
    Login login();

private:
    void serve();
    int m_socket = -1;
    int m_port = 0;
    Login m_login;
    std::thread m_thread;
};
