// A path split once into drive, directory, file name and extension, as the C
// runtime's path splitter leaves them.
#pragma once

#include "platform/crt/SplitPath.h"

class CSplitPath
{
public:
    explicit CSplitPath(const char* path);

    const char* GetDrive() const { return m_drive; }     // "C:"
    const char* GetDir() const { return m_dir; }         // with its trailing backslash
    const char* GetFileName() const { return m_fileName; }
    const char* GetExt() const { return m_ext; }         // with its dot

private:
    char m_drive[_MAX_DRIVE];
    char m_dir[_MAX_DIR];
    char m_fileName[_MAX_FNAME];
    char m_ext[_MAX_EXT];
};
