#include "TempFolder.h"

#include <dirent.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

// std::filesystem is not used: its inline code sees the Windows target macros
// of a Winelib build and takes paths for Windows ones.
CTempFolder::CTempFolder(const char* prefix)
{
    std::string pattern = std::string("/tmp/") + prefix + ".XXXXXX";
    if (mkdtemp(&pattern[0]))
        m_path = pattern;
}

CTempFolder::~CTempFolder()
{
    if (m_path.empty())
        return;
    DIR* dir = opendir(m_path.c_str());
    if (dir) {
        while (struct dirent* entry = readdir(dir)) {
            if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
                unlink(UnixPath(entry->d_name).c_str());
        }
        closedir(dir);
    }
    rmdir(m_path.c_str());
}

std::string CTempFolder::UnixPath(const char* name) const
{
    return m_path + "/" + name;
}

std::string CTempFolder::WindowsPath(const char* name) const
{
    std::string path = "Z:" + UnixPath(name);
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool CTempFolder::Exists(const char* name) const
{
    return access(UnixPath(name).c_str(), F_OK) == 0;
}
