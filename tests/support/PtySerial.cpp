#include "tests/support/PtySerial.h"

#include "tests/support/SerialCommRegistry.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <stdexcept>

namespace {

const int kLastPort = 64;
const int kLockWaitMs = 120000;

std::string Failure(const std::string& what)
{
    return "pty serial: " + what + ": " + strerror(errno);
}

// Only the prefix the run was given: a default one (~/.wine) may be a person's own,
// whose COM port links the fixture would replace.
std::string DosDevices()
{
    const char* prefix = getenv("WINEPREFIX");
    if (!prefix || !*prefix)
        throw std::runtime_error("pty serial: WINEPREFIX is not set: run the tests in the build's Wine prefix");
    return std::string(prefix) + "/dosdevices";
}

long long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Waits up to ms for the master to be readable (events POLLIN) or writable (POLLOUT).
bool WaitFor(int fd, short events, int ms)
{
    pollfd p = {fd, events, 0};
    int n;
    do {
        n = poll(&p, 1, ms < 0 ? 0 : ms);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & events);
}

} // namespace

CPtySerial::CPtySerial(int port) : m_dosDevices(DosDevices())
{
    char slave[PATH_MAX];
    if (openpty(&m_master, &m_slave, slave, nullptr, nullptr) != 0)
        throw std::runtime_error(Failure("openpty"));
    m_slavePath = slave;
    termios raw;
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);

    if (port > 0) {
        Lock(port, true);
    } else {
        for (int p = kFirstFreePort; p <= kLastPort && m_lockFd < 0; ++p)
            Lock(p, false);
        if (m_lockFd < 0)
            throw std::runtime_error("pty serial: no free COM port");
    }
    Link();
}

CPtySerial::~CPtySerial()
{
    Unlink();
    close(m_lockFd);
    close(m_slave);
    close(m_master);
}

std::string CPtySerial::Name() const
{
    return "COM" + std::to_string(m_port);
}

void CPtySerial::Lock(int port, bool wait)
{
    std::string path = m_dosDevices + "/.com" + std::to_string(port) + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error(Failure("open " + path));
    long long deadline = NowMs() + (wait ? kLockWaitMs : 0);
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (NowMs() >= deadline) {
            close(fd);
            if (wait)
                throw std::runtime_error("pty serial: COM" + std::to_string(port) + " stays busy");
            return;
        }
        usleep(20000);
    }
    m_lockFd = fd;
    m_port = port;
}

void CPtySerial::Link()
{
    m_linkPath = m_dosDevices + "/com" + std::to_string(m_port);
    char target[PATH_MAX];
    ssize_t n = readlink(m_linkPath.c_str(), target, sizeof target - 1);
    // A link to another pty is one a killed test left behind: nothing to restore.
    if (n > 0 && strncmp(target, "/dev/pts/", 9) != 0)
        m_oldTarget.assign(target, n);
    unlink(m_linkPath.c_str());
    if (symlink(m_slavePath.c_str(), m_linkPath.c_str()) != 0)
        throw std::runtime_error(Failure("symlink " + m_linkPath));
    if (!SerialCommRegistry::Add(m_port))
        throw std::runtime_error("pty serial: cannot register " + Name());
}

void CPtySerial::Unlink()
{
    SerialCommRegistry::Remove(m_port);
    unlink(m_linkPath.c_str());
    if (!m_oldTarget.empty())
        symlink(m_oldTarget.c_str(), m_linkPath.c_str());
}

bool CPtySerial::Write(const std::string& bytes, int timeoutMs)
{
    long long deadline = NowMs() + timeoutMs;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (!WaitFor(m_master, POLLOUT, int(deadline - NowMs())))
            return false;
    }
    return true;
}

std::string CPtySerial::Read(size_t max, int timeoutMs)
{
    std::string bytes;
    if (!WaitFor(m_master, POLLIN, timeoutMs))
        return bytes;
    bytes.resize(max);
    ssize_t n = read(m_master, &bytes[0], max);
    bytes.resize(n > 0 ? n : 0);
    return bytes;
}

std::string CPtySerial::ReadExact(size_t n, int timeoutMs)
{
    long long deadline = NowMs() + timeoutMs;
    std::string bytes;
    while (bytes.size() < n) {
        std::string part = Read(n - bytes.size(), int(deadline - NowMs()));
        if (part.empty())
            break;
        bytes += part;
    }
    return bytes;
}

void CPtySerial::Drain(int quietMs)
{
    while (!Read(4096, quietMs).empty()) {
    }
}
