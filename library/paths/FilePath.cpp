#include "library/paths/FilePath.h"

#include "platform/crt/StringCase.h"

#include <stdio.h>
#include <string.h>

namespace {

const char kInvalidNameChars[] = "<>:\"\\/|";
const char* const kReservedNames[] = {
    "clock$", "con", "aux", "com1", "com2", "com3", "com4", "lpt1", "lpt2", "lpt3", "nul", "prn",
};

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

// ---- CFileName ----

void CFileName::Assign(const std::string& text)
{
    m_name.clear();
    if (text.find_first_of(kInvalidNameChars) != std::string::npos)
        return;
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    size_t last = text.find_last_not_of(' ');
    std::string trimmed = text.substr(first, last - first + 1);
    for (const char* reserved : kReservedNames)
    {
        if (_stricmp(trimmed.c_str(), reserved) == 0)
            return;
    }
    m_name = trimmed;
}

bool CFileName::operator==(const CFileName& other) const
{
    return EqualNoCase(m_name, other.m_name);
}

bool CFileName::HasWildcards() const
{
    return m_name.find_first_of("*?") != std::string::npos;
}

bool CFileName::HasExtension() const
{
    return m_name.find('.') != std::string::npos;
}

std::string CFileName::GetBaseName() const
{
    size_t dot = m_name.rfind('.');
    return dot == std::string::npos ? m_name : m_name.substr(0, dot);
}

void CFileName::SetBaseName(const std::string& base)
{
    size_t dot = m_name.rfind('.');
    Assign(dot == std::string::npos ? base : base + m_name.substr(dot));
}

std::string CFileName::GetExtension() const
{
    size_t dot = m_name.rfind('.');
    if (dot == std::string::npos)
        return std::string();
    return m_name.substr(dot + 1);
}

void CFileName::SetExtension(const std::string& ext)
{
    size_t dot = m_name.rfind('.');
    Assign(dot == std::string::npos ? m_name + "." + ext : m_name.substr(0, dot + 1) + ext);
}

// ---- CDirPath ----

bool CDirPath::operator==(const CDirPath& other) const
{
    return EqualNoCase(m_path, other.m_path);
}

bool CDirPath::HasDrive() const
{
    return m_path.size() >= 2 && m_path[1] == ':';
}

bool CDirPath::IsUNC() const
{
    return m_path.compare(0, 2, "\\\\") == 0;
}

bool CDirPath::IsAbsolute() const
{
    return IsUNC() || (HasDrive() && m_path.size() >= 3 && m_path[2] == '\\');
}

bool CDirPath::IsRoot() const
{
    if (m_path == "\\")
        return true;
    if (m_path.size() == 3 && HasDrive() && m_path[2] == '\\')
        return true;
    if (!IsUNC())
        return false;
    // \\server\share: exactly one backslash between two non-empty names.
    size_t shareSep = m_path.find('\\', 2);
    return shareSep != std::string::npos && shareSep > 2 && shareSep + 1 < m_path.size() &&
           m_path.find('\\', shareSep + 1) == std::string::npos;
}

// Length of the root; for a UNC path the root stops before the backslash that
// follows the share name (the whole text when there is none).
size_t CDirPath::RootLength() const
{
    if (IsUNC())
    {
        size_t shareSep = m_path.find('\\', 2);
        if (shareSep == std::string::npos)
            return m_path.size();
        size_t afterShare = m_path.find('\\', shareSep + 1);
        return afterShare == std::string::npos ? m_path.size() : afterShare;
    }
    if (HasDrive())
        return (m_path.size() >= 3 && m_path[2] == '\\') ? 3 : 2;
    if (!m_path.empty() && m_path[0] == '\\')
        return 1;
    return 0;
}

size_t CDirPath::FindRootEnd() const
{
    size_t rootEnd = RootLength();
    return rootEnd < m_path.size() ? rootEnd : kNoPosition;
}

size_t CDirPath::FindLastSeparatorAfter(size_t rootEnd) const
{
    size_t sep = m_path.find_last_of(":\\");
    return (sep != std::string::npos && sep >= rootEnd) ? sep : kNoPosition;
}

bool CDirPath::RemoveLast()
{
    size_t rootEnd = FindRootEnd();
    if (rootEnd == kNoPosition)
        return false;
    size_t sep = FindLastSeparatorAfter(rootEnd);
    m_path.erase(sep == kNoPosition ? rootEnd : sep);
    return true;
}

CFileName CDirPath::GetLast() const
{
    CFileName last;
    size_t rootEnd = FindRootEnd();
    if (rootEnd == kNoPosition)
        return last;
    size_t sep = FindLastSeparatorAfter(rootEnd);
    last.Assign(m_path.substr(sep == kNoPosition ? rootEnd : sep + 1));
    return last;
}

bool CDirPath::EndsInSeparator() const
{
    return !m_path.empty() && (m_path.back() == '\\' || m_path.back() == ':');
}

void CDirPath::SetRootFromText(const std::string& text, size_t& pos)
{
    if (text.compare(pos, 2, "\\\\") == 0)
    {
        m_path = "\\\\";
        pos += 2;
    }
    else if (pos + 1 < text.size() && IsDriveLetter(text[pos]) && text[pos + 1] == ':')
    {
        m_path = text.substr(pos, 2);
        pos += 2;
        if (pos < text.size() && IsSeparator(text[pos]))
        {
            m_path += '\\';
            ++pos;
        }
    }
    else if (IsSeparator(text[pos]))
    {
        if (IsUNC())
            m_path.erase(RootLength());
        else if (HasDrive())
            m_path.erase(2);
        else
            m_path.clear();
        m_path += '\\';
        ++pos;
    }
}

// False when the component is invalid: the caller then empties the path.
bool CDirPath::AppendComponent(const std::string& component)
{
    CFileName name;
    name.Assign(component);
    if (name.IsEmpty())
        return false;
    const std::string& text = name.GetText();
    if (text == ".")
    {
        if (m_path.empty())
            m_path = ".";
        return true;
    }
    if (text == ".." && IsAbsolute())
    {
        RemoveLast();
        return true;
    }
    if (!m_path.empty() && !EndsInSeparator())
        m_path += '\\';
    m_path += text;
    return true;
}

void CDirPath::Append(const std::string& text)
{
    size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos)
        return;
    SetRootFromText(text, pos);
    while (pos < text.size())
    {
        size_t end = pos;
        while (end < text.size() && !IsSeparator(text[end]))
            ++end;
        if (!AppendComponent(text.substr(pos, end - pos)))
        {
            m_path.clear();
            return;
        }
        // A separator that ends the text leaves no component behind it.
        pos = end + 1;
    }
    if (m_path == "\\\\")
        m_path.clear();
}

// ---- CFilePath ----

CFilePath::CFilePath(const CDirPath& dir) : m_dir(dir)
{
    Rebuild();
}

CFilePath::CFilePath(const CFileName& name) : m_name(name)
{
    Rebuild();
}

CFilePath::CFilePath(const CDirPath& dir, const CFileName& name) : m_dir(dir), m_name(name)
{
    Rebuild();
}

void CFilePath::Clear()
{
    m_dir = CDirPath();
    m_name = CFileName();
    m_full.clear();
}

void CFilePath::Rebuild()
{
    m_full = m_dir.GetText();
    if (!m_full.empty() && m_full.back() != '\\' && m_full.back() != ':')
        m_full += '\\';
    m_full += m_name.GetText();
}

void CFilePath::SetName(const CFileName& name)
{
    m_name = name;
    Rebuild();
}

void CFilePath::SetDir(const CDirPath& dir)
{
    m_dir = dir;
    Rebuild();
}

void CFilePath::Append(const std::string& text)
{
    if (!m_name.IsEmpty())
        m_dir.Append(m_name.GetText());
    m_dir.Append(text);
    m_name = m_dir.GetLast();
    m_dir.RemoveLast();
    Rebuild();
}

bool CFilePath::operator==(const CFilePath& other) const
{
    return EqualNoCase(m_full, other.m_full);
}

void CFilePath::Dump() const
{
    fprintf(stderr, "dir '%s' name '%s' full '%s'\n", m_dir.GetText().c_str(),
            m_name.GetText().c_str(), m_full.c_str());
}
