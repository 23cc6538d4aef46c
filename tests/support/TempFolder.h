// A folder of its own under /tmp for a test's files, removed with what it holds
// (one level: tests put plain files there). Names inside it are given as Unix
// paths for the test and as Z: paths for the program.
#pragma once

#include <string>

class CTempFolder
{
public:
    // prefix names the folder: /tmp/PREFIX.XXXXXX.
    explicit CTempFolder(const char* prefix);
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    bool IsValid() const { return !m_path.empty(); }
    std::string UnixPath(const char* name) const;
    std::string WindowsPath(const char* name) const;
    bool Exists(const char* name) const;

private:
    std::string m_path;
};
