#pragma once

#include <QFile>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// Another process that holds a file locked (a record lock on the whole file) while it lives, as an
// office program holds the document it has open.
class LockedFile {
public:
    explicit LockedFile(const QString& fileName) {
        const QByteArray path = QFile::encodeName(fileName);
        int ready[2];
        if (::pipe(ready) != 0) return;
        m_holder = ::fork();
        if (m_holder == 0) {
            // Only async-signal-safe calls in the child of a threaded process.
            const int fd = ::open(path.constData(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            const char locked = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0 ? '1' : '0';
            [[maybe_unused]] const auto written = ::write(ready[1], &locked, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char locked = '0';
        m_locked = m_holder > 0 && ::read(ready[0], &locked, 1) == 1 && locked == '1';
        ::close(ready[0]);
    }
    ~LockedFile() {
        if (m_holder <= 0) return;
        ::kill(m_holder, SIGKILL);
        ::waitpid(m_holder, nullptr, 0);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool locked() const { return m_locked; }

private:
    pid_t m_holder = -1;
    bool m_locked = false;
};
