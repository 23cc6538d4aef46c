#include "tests/support/FtpTestServer.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace {

const char kPython[] = "/usr/bin/python3";
const char kTimeout[] = "/usr/bin/timeout";
// The server ends by itself after this even when the test program died.
const char kLifetimeSeconds[] = "600";
const char kListeningMark[] = ">>> starting FTP server on 127.0.0.1:";
const int kStartWaitMs = 20000;
const int kStopWaitMs = 5000;
const int kPollMs = 20;

void SleepMs(int ms)
{
    timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// True once pid has ended (reaped here, or by someone else).
bool Ended(int pid)
{
    int status;
    int reaped = waitpid(pid, &status, WNOHANG);
    return reaped == pid || (reaped < 0 && errno == ECHILD) || kill(pid, 0) != 0;
}

} // namespace

CFtpTestServer::CFtpTestServer(const std::string& folder, const std::string& user,
                               const std::string& password)
{
    char logPath[] = "/tmp/zym-ftp-XXXXXX";
    int log = mkstemp(logPath);
    if (log < 0)
        throw std::runtime_error(std::string("ftp test server: log: ") + strerror(errno));
    m_logPath = logPath;

    std::vector<std::string> args = {kTimeout, kLifetimeSeconds, kPython, "-m", "pyftpdlib",
                                     "-i", "127.0.0.1", "-p", "0", "-d", folder};
    if (!user.empty())
        args.insert(args.end(), {"-u", user, "-P", password});
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, log, 1);
    posix_spawn_file_actions_adddup2(&actions, log, 2);
    // The Wine process's own descriptors stay with it.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid;
    int failed = posix_spawn(&pid, kTimeout, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(log);
    if (failed != 0) {
        unlink(m_logPath.c_str());
        throw std::runtime_error(std::string("ftp test server: spawn: ") + strerror(failed));
    }
    m_pid = pid;
    try {
        WaitUntilListening();
    } catch (...) {
        Stop();
        throw;
    }
}

CFtpTestServer::~CFtpTestServer()
{
    Stop();
}

std::string CFtpTestServer::Url(const std::string& path, const std::string& credentials) const
{
    return "ftp://" + credentials + "127.0.0.1:" + std::to_string(m_port) + path;
}

// The server writes the port it got to its log once it listens.
void CFtpTestServer::WaitUntilListening()
{
    for (int waited = 0; waited < kStartWaitMs; waited += kPollMs) {
        std::string log = ReadFile(m_logPath);
        size_t mark = log.find(kListeningMark);
        if (mark != std::string::npos) {
            m_port = atoi(log.c_str() + mark + strlen(kListeningMark));
            if (m_port > 0)
                return;
        }
        if (Ended(m_pid))
            throw std::runtime_error("ftp test server ended: " + log);
        SleepMs(kPollMs);
    }
    throw std::runtime_error("ftp test server did not start: " + ReadFile(m_logPath));
}

void CFtpTestServer::Stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int waited = 0;
        while (!Ended(m_pid) && waited < kStopWaitMs) {
            SleepMs(kPollMs);
            waited += kPollMs;
        }
        if (!Ended(m_pid)) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }
    unlink(m_logPath.c_str());
}
