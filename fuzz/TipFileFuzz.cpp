// The tips file of the tip of the day: the input after its first four bytes is
// the file; the reader takes tips from it, keeps its place, and starts again
// at the place the first four bytes give (a stored place may be anything).
// The reader keeps its place in the profile: one application and one file of
// the process serve every input.
#include "fuzz/FuzzTargets.h"

#include "shell/dialogs/TipReader.h"

#include <afxwin.h>

#include <string.h>

namespace {

const char kRegistryKey[] = "ZymTipFuzz";
const int kReadsPerOpen = 4;

class CTipFuzzApp : public CWinApp
{
public:
    CTipFuzzApp() : CWinApp("TipFuzz")
    {
        SetRegistryKey(kRegistryKey);
        char folder[MAX_PATH] = "";
        GetTempPathA(sizeof folder, folder);
        m_path.Format("%szym-tip-fuzz-%lu.tip", folder, GetCurrentProcessId());
    }
    ~CTipFuzzApp() override
    {
        DeleteFileA(m_path);
        RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + kRegistryKey);
    }
    // The input's file, written anew; the profile emptied.
    BOOL Prepare(const uint8_t* data, size_t size)
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + kRegistryKey);
        HANDLE file = CreateFileA(m_path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return FALSE;
        DWORD written = 0;
        BOOL done = WriteFile(file, data, DWORD(size), &written, NULL) && written == size;
        CloseHandle(file);
        return done;
    }
    const CString& Path() const { return m_path; }

private:
    CString m_path;
};

CTipFuzzApp& App()
{
    // Made at the first input, so that the other targets of a process run without it.
    static CTipFuzzApp app;
    return app;
}

void ReadTips(const CString& path)
{
    CTipReader reader;
    reader.Open(path);
    for (int i = 0; i < kReadsPerOpen && reader.IsOpen(); i++)
        reader.ReadNext();
    reader.TakeSeekFailure();
}

} // namespace

int FuzzTipFile(const uint8_t* data, size_t size)
{
    CTipFuzzApp& app = App();
    UINT place = 0;
    if (size >= sizeof place) {
        memcpy(&place, data, sizeof place);
        data += sizeof place;
        size -= sizeof place;
    }
    if (!app.Prepare(data, size))
        return 0;
    ReadTips(app.Path());
    app.WriteProfileInt("Tip", "FilePos", int(place));
    ReadTips(app.Path());
    return 0;
}
