#include "platform/runtime/FileReplacement.h"

#include <windows.h>

namespace {

const char kTempPrefix[] = "zym";

// The folder part of a path with its separator; "." when there is none.
std::string FolderOf(const std::string& path)
{
    size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator + 1);
}

}

CFileReplacement::CFileReplacement(const char* destination) : m_destination(destination)
{
}

CFileReplacement::~CFileReplacement()
{
    Discard();
}

bool CFileReplacement::Begin()
{
    Discard();
    char temp[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(m_destination).c_str(), kTempPrefix, 0, temp))
        return false;
    m_temp = temp;
    return true;
}

bool CFileReplacement::Commit()
{
    return CommitAs(m_destination.c_str());
}

bool CFileReplacement::CommitAs(const char* destination)
{
    if (m_temp.empty()) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return false;
    }
    // The temporary file lies in the destination's folder: the move is a rename.
    if (!MoveFileExA(m_temp.c_str(), destination, MOVEFILE_REPLACE_EXISTING)) {
        DWORD error = GetLastError();
        Discard();
        SetLastError(error);
        return false;
    }
    m_temp.clear();
    return true;
}

void CFileReplacement::Discard()
{
    if (!m_temp.empty())
        DeleteFileA(m_temp.c_str());
    m_temp.clear();
}
