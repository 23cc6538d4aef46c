#include "tests/support/HostProgram.h"

#include <fcntl.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
std::vector<char*> EnvironmentWithoutPreload()
{
    std::vector<char*> env;
    for (char** entry = environ; *entry; entry++)
    {
        if (strncmp(*entry, "LD_PRELOAD=", 11) != 0)
            env.push_back(*entry);
    }
    env.push_back(nullptr);
    return env;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof(buffer))) > 0)
        text.append(buffer, size_t(n));
    return text;
}
}

bool RunHostProgram(const std::vector<std::string>& argv, std::string* output)
{
    if (argv.empty())
        return false;
    std::vector<char*> args;
    for (const std::string& word : argv)
        args.push_back(const_cast<char*>(word.c_str()));
    args.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (output && pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> env = EnvironmentWithoutPreload();
    pid_t child;
    int failed = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (output)
    {
        close(pipeFds[1]);
        if (!failed)
            *output = ReadAll(pipeFds[0]);
        close(pipeFds[0]);
    }
    if (failed)
        return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> SplitQuotedWords(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : text)
    {
        if (c == '\'')
        {
            quoted = !quoted;
            inWord = true;
        }
        else if (!quoted && (c == ' ' || c == '\t'))
        {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        }
        else
        {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}
