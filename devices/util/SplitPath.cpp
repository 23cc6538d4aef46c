#include "devices/util/SplitPath.h"

CSplitPath::CSplitPath(const char* path)
{
    _splitpath(path, m_drive, m_dir, m_fileName, m_ext);
}
