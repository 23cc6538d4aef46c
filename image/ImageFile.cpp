#include "image/ImageFile.h"

#include <windows.h>

CImageFile::~CImageFile()
{
    Close();
}

bool CImageFile::Open(const char* fileName, const char* mode)
{
    Close();
    WCHAR wideName[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, fileName, -1, wideName, MAX_PATH))
        return false;
    char* unixName = wine_get_unix_file_name(wideName);
    if (!unixName)
        return false;
    m_file = fopen(unixName, mode);
    HeapFree(GetProcessHeap(), 0, unixName);
    return m_file != NULL;
}

bool CImageFile::Close()
{
    if (!m_file)
        return true;
    bool flushed = fflush(m_file) == 0 && !ferror(m_file);
    bool closed = fclose(m_file) == 0;
    m_file = NULL;
    return flushed && closed;
}

long CImageFile::Remaining()
{
    long position = ftell(m_file);
    if (position < 0 || fseek(m_file, 0, SEEK_END) != 0)
        return -1;
    long end = ftell(m_file);
    fseek(m_file, position, SEEK_SET);
    return end < position ? -1 : end - position;
}
