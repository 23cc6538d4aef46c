#include "tests/support/TempFolder.h"

#include "tests/support/TestData.h"

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

// std::filesystem is not used: under Winelib it acts on "/" (see cmake/winelib-guard).
namespace {

const char kTempRoot[] = "/tmp";
const size_t kUniqueLength = 6;   // the XXXXXX that mkdtemp fills in
const int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool IsNameChar(char c)
{
    return isalnum((unsigned char)c) || c == '-' || c == '_';
}

bool IsPlainName(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!IsNameChar(c))
            return false;
    return true;
}

// Splits a name relative to the folder into its parts; false for an empty or
// absolute name or one with an empty, "." or ".." part.
bool SplitName(const char* name, std::vector<std::string>& parts)
{
    std::string text = name ? name : "";
    size_t start = 0;
    for (;;) {
        size_t slash = text.find('/', start);
        std::string part = text.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        parts.push_back(part);
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

bool RemoveAt(int folder, const char* name);

// Empties the open folder fd and closes it.
bool RemoveContents(int fd)
{
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    bool removed = true;
    while (dirent* entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
            removed = RemoveAt(dirfd(dir), entry->d_name) && removed;
    }
    closedir(dir);
    return removed;
}

// Removes name inside the open folder: a file or link as itself (a link is never
// followed), a folder with what it holds. Nothing there counts as removed.
bool RemoveAt(int folder, const char* name)
{
    struct stat st;
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return unlinkat(folder, name, 0) == 0;
    int fd = openat(folder, name, kOpenFolder);
    if (fd < 0)
        return false;
    bool emptied = RemoveContents(fd);
    return unlinkat(folder, name, AT_REMOVEDIR) == 0 && emptied;
}

} // namespace

CTempFolder::CTempFolder(const char* prefix)
{
    if (!prefix || !IsPlainName(prefix))
        return;
    std::string pattern = std::string(kTempRoot) + "/" + prefix + "." + std::string(kUniqueLength, 'X');
    if (mkdtemp(&pattern[0])) {
        m_prefix = prefix;
        m_path = pattern;
    }
}

CTempFolder::~CTempFolder()
{
    if (!IsOwnFolder())
        return;
    int root = open(kTempRoot, kOpenFolder);
    if (root < 0)
        return;
    RemoveAt(root, m_path.c_str() + strlen(kTempRoot) + 1);
    close(root);
}

// The path is the one mkdtemp made from our prefix, and still our own folder.
bool CTempFolder::IsOwnFolder() const
{
    std::string start = std::string(kTempRoot) + "/" + m_prefix + ".";
    if (!IsPlainName(m_prefix) || m_path.size() != start.size() + kUniqueLength ||
        m_path.compare(0, start.size(), start) != 0 || !IsPlainName(m_path.substr(start.size())))
        return false;
    struct stat st;
    return lstat(m_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid();
}

bool CTempFolder::Remove(const char* name)
{
    std::vector<std::string> parts;
    if (!IsOwnFolder() || !SplitName(name, parts))
        return false;
    int fd = open(m_path.c_str(), kOpenFolder);
    for (size_t i = 0; fd >= 0 && i + 1 < parts.size(); i++) {
        int inner = openat(fd, parts[i].c_str(), kOpenFolder);
        close(fd);
        fd = inner;
    }
    if (fd < 0)
        return false;
    bool removed = RemoveAt(fd, parts.back().c_str());
    close(fd);
    return removed;
}

std::string CTempFolder::UnixPath(const char* name) const
{
    return m_path + "/" + name;
}

std::string CTempFolder::WindowsPath(const char* name) const
{
    return ::WindowsPath(UnixPath(name));
}

bool CTempFolder::Exists(const char* name) const
{
    return access(UnixPath(name).c_str(), F_OK) == 0;
}

std::string CTempFolder::MakeFolder(const char* name) const
{
    mkdir(UnixPath(name).c_str(), 0700);
    return WindowsPath(name);
}
