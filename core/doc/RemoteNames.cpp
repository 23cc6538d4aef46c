#include "core/doc/RemoteNames.h"

#include <ctype.h>

namespace {

// Types the shell runs rather than shows: programs, scripts, installers,
// shortcuts (which may point at any of them), control-panel items, script
// hosts' files, help and registry files that carry script or settings.
const char* const kRefusedTypes[] = {
    "exe", "com", "bat", "cmd", "pif", "scr", "lnk", "url", "vbs", "vbe", "vb", "js", "jse", "wsf", "wsh",
    "wsc", "ws", "sct", "msi", "msp", "mst", "hta", "cpl", "msc", "ps1", "psm1", "psd1", "ps1xml", "ps2",
    "ps2xml", "psc1", "psc2", "msh", "msh1", "msh2", "jar", "jnlp", "reg", "inf", "scf", "chm", "hlp", "shs",
    "application", "appref-ms", "gadget", "xbap", "settingcontent-ms", "dll", "sys", "drv", "ocx",
};

// Names the system gives to devices in every folder, with any type.
const char* const kDeviceNames[] = {
    "con", "prn", "aux", "nul", "conin$", "conout$",
    "com1", "com2", "com3", "com4", "com5", "com6", "com7", "com8", "com9",
    "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9",
};

const char kWebSchemes[][9] = { "http://", "https://" };
// Besides control characters; ":" is judged on its own.
const char kBadNameChars[] = "<>\"|?*";
// A link reaches the browser's command line: nothing that could end its quoted argument.
const char kBadLinkChars[] = "\"<>|^` ";

bool InTable(const CString& word, const char* const* table, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        if (word.CompareNoCase(table[i]) == 0)
            return true;
    }
    return false;
}

bool HasControlChar(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
    {
        if (static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7F)
            return true;
    }
    return false;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsNetworkPath(const CString& path)
{
    return path.GetLength() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool IsWebLink(const CString& file)
{
    for (const char* scheme : kWebSchemes)
    {
        if (file.Left(int(strlen(scheme))).CompareNoCase(scheme) == 0)
            return true;
    }
    return false;
}

// A drive letter's colon is the only one a file name may hold; any other is
// a link's scheme or a stream name.
bool HasForeignColon(const CString& file)
{
    int colon = file.Find(':');
    if (colon == 1 && isalpha(static_cast<unsigned char>(file[0])))
        colon = file.Find(':', 2);
    return colon >= 0;
}

// The system drops trailing dots and blanks of a name, so "run.bat. " runs
// as "run.bat".
CString Stripped(CString name)
{
    name.TrimRight(". ");
    return name;
}

// The last component's type, without its dot; empty when it has none.
CString TypeOf(const CString& file)
{
    int cut = -1;
    for (int i = 0; i < file.GetLength(); ++i)
    {
        if (IsSeparator(file[i]))
            cut = i;
    }
    CString name = Stripped(file.Mid(cut + 1));
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

// One component of a relative name: "." may stay, anything that climbs,
// names a device or holds a forbidden character may not.
bool IsSafeComponent(const CString& component)
{
    if (component.IsEmpty() || component == ".")
        return true;
    CString stripped = Stripped(component);
    if (stripped.IsEmpty())
        return false;
    int dot = stripped.Find('.');
    CString base = dot < 0 ? stripped : stripped.Left(dot);
    base.TrimRight(" ");
    return !InTable(base, kDeviceNames, sizeof kDeviceNames / sizeof kDeviceNames[0]);
}

} // namespace

CString ShellRefusal(const CString& file, const CString& parameters, const CString& folder)
{
    if (!parameters.IsEmpty())
        return "parameters are not allowed";
    if (file.IsEmpty())
        return "no file given";
    if (IsNetworkPath(folder))
        return "network folders are not allowed";
    if (IsWebLink(file))
        return file.FindOneOf(kBadLinkChars) >= 0 || HasControlChar(file) ? "not a valid link" : "";
    if (IsNetworkPath(file))
        return "network paths are not opened";
    if (HasForeignColon(file))
        return "only http and https links are opened";
    if (file.FindOneOf(kBadNameChars) >= 0 || HasControlChar(file))
        return "not a valid file name";
    CString type = TypeOf(file);
    if (type.IsEmpty())
        return "a file without a type is not opened";
    if (InTable(type, kRefusedTypes, sizeof kRefusedTypes / sizeof kRefusedTypes[0]))
        return "programs and scripts are not opened";
    return CString();
}

BOOL PlaceInFolder(const CString& folder, const CString& name, CString& path)
{
    if (name.IsEmpty() || IsSeparator(name[0]) || name.Find(':') >= 0 || name.FindOneOf(kBadNameChars) >= 0 ||
        HasControlChar(name))
        return FALSE;
    int start = 0;
    while (start <= name.GetLength())
    {
        int end = start;
        while (end < name.GetLength() && !IsSeparator(name[end]))
            ++end;
        if (!IsSafeComponent(name.Mid(start, end - start)))
            return FALSE;
        start = end + 1;
    }
    path = folder;
    if (!path.IsEmpty() && !IsSeparator(path[path.GetLength() - 1]))
        path += '\\';
    path += name;
    path.Replace('/', '\\');
    return TRUE;
}

CString FolderOf(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 0; --i)
    {
        if (IsSeparator(path[i]))
            return path.Left(i + 1);
    }
    return CString();
}
