// A file that is replaced whole or not at all. The writer fills a temporary
// file beside the destination and Commit moves it over the destination in one
// rename, so that a failed or interrupted write never leaves a torn file and
// the old contents stay until the new ones are complete.
#pragma once

#include <windef.h>

#include <string>

class CFileReplacement
{
public:
    explicit CFileReplacement(const char* destination);
    // Removes the temporary file unless it was committed.
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // Creates the empty temporary file in the destination's folder; false
    // (with GetLastError set) when the folder cannot take it.
    bool Begin();
    // The temporary file to write, a Windows path; empty before Begin.
    const char* GetTempPath() const { return m_temp.c_str(); }
    // Moves the closed temporary file over the destination; false (with
    // GetLastError set, the temporary file removed) when that fails.
    bool Commit();
    // Commit over another destination in the same folder.
    bool CommitAs(const char* destination);

private:
    void Discard();

    std::string m_destination;
    std::string m_temp;
};
