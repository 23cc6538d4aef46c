// A folder of its own under /tmp for a test's files, removed with all it holds at
// the end. Names inside it are given as Unix paths for the test and as Z: paths for
// the program.
//
// Wine maps Z: to "/", so a wrong path can reach the whole machine: the folder
// removes only inside itself, never follows a symbolic link, and refuses to work at
// all unless its path is /tmp/PREFIX.XXXXXX as mkdtemp made it.
#pragma once

#include <string>

class CTempFolder
{
public:
    // prefix names the folder: /tmp/PREFIX.XXXXXX. Letters, digits, '-' and '_' only;
    // any other prefix leaves the folder invalid, with nothing made.
    explicit CTempFolder(const char* prefix);
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    bool IsValid() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }
    std::string UnixPath(const char* name) const;
    std::string WindowsPath(const char* name) const;
    bool Exists(const char* name) const;
    // Makes the sub-folder name (when missing); its Windows path.
    std::string MakeFolder(const char* name) const;

    // Removes a file, or a folder with all it holds, named relative to the folder.
    // Refuses (false, nothing touched) an empty or absolute name, or one with a
    // "." or ".." part.
    bool Remove(const char* name);

private:
    bool IsOwnFolder() const;

    std::string m_prefix;
    std::string m_path;
};
