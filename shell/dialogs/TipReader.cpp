#include "shell/dialogs/TipReader.h"

#include <afx.h>
#include <stdio.h>
#include <string.h>

namespace {
const char kSection[] = "Tip";
const char kMissing[] = "Tips file does not exist in the prescribed directory";

// Reads the next piece of a line into buffer; whole tells whether the piece
// ends the line. The buffer is cleared first so that the line end is found
// also behind a NUL the file holds, where strlen would stop.
BOOL ReadPiece(CStdioFile& file, char* buffer, UINT size, BOOL& whole)
{
    memset(buffer, 0, size);
    if (!file.ReadString(buffer, size))
        return FALSE;
    whole = memchr(buffer, '\n', size) != NULL;
    return TRUE;
}
} // namespace

CTipReader::CTipReader() : m_tip(kMissing), m_seekFailed(FALSE)
{
    CWinApp* app = AfxGetApp();
    m_showAtStartUp = (int)app->GetProfileInt(kSection, "StartUp", 0) <= 0;
    m_position = (LONG)app->GetProfileInt(kSection, "FilePos", 0);
}

CTipReader::~CTipReader()
{
    Close();
}

CString CTipReader::DefaultPath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind('\\') + 1) + "Tips.tip";
}

BOOL CTipReader::Open(LPCSTR path)
{
    Close();
    m_file = std::make_unique<CStdioFile>();
    // Others may replace or edit the file while it is open: reading copes.
    if (!m_file->Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) {
        m_file.reset();
        m_tip = kMissing;
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    CString stamp = Stamp(m_file->m_hFile);
    if (stamp != app->GetProfileString(kSection, "TimeStamp", "")) {
        m_position = 0;
        app->WriteProfileString(kSection, "TimeStamp", stamp);
    }
    SeekTo(m_position);
    return ReadNext();
}

BOOL CTipReader::ReadNext()
{
    if (!m_file)
        return FALSE;
    try {
        // One wrap at most: a file without a tip line would otherwise go round for ever.
        for (int wraps = 0; wraps < 2; wraps++) {
            if (ReadTipLine())
                return TRUE;
            if (wraps == 0 && !SeekTo(0))
                break;
        }
    } catch (CFileException* e) {
        e->Delete();
    }
    m_file.reset();
    m_tip = kMissing;
    return FALSE;
}

void CTipReader::Close()
{
    if (!m_file)
        return;
    try {
        m_position = (LONG)m_file->GetPosition();
        AfxGetApp()->WriteProfileInt(kSection, "FilePos", m_position);
    } catch (CFileException* e) {
        e->Delete();
    }
    m_file.reset();
}

void CTipReader::SetShowAtStartUp(BOOL show)
{
    m_showAtStartUp = show;
    AfxGetApp()->WriteProfileInt(kSection, "StartUp", show ? 0 : 1);
}

BOOL CTipReader::TakeSeekFailure()
{
    BOOL failed = m_seekFailed;
    m_seekFailed = FALSE;
    return failed;
}

BOOL CTipReader::IsComment(const char* line)
{
    return strchr(" \t\n;", line[0]) != NULL;
}

CString CTipReader::Stamp(HANDLE file)
{
    static const char kDays[] = "SunMonTueWedThuFriSat";
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    FILETIME written, local;
    SYSTEMTIME time;
    if (!GetFileTime(file, NULL, NULL, &written) || !FileTimeToLocalFileTime(&written, &local) ||
        !FileTimeToSystemTime(&local, &time))
        return "";
    char text[64];
    snprintf(text, sizeof text, "%.3s %.3s%3d %02d:%02d:%02d %d", kDays + 3 * time.wDayOfWeek,
             kMonths + 3 * (time.wMonth - 1), time.wDay, time.wHour, time.wMinute, time.wSecond,
             time.wYear);
    return text;
}

BOOL CTipReader::ReadTipLine()
{
    char line[kMaxLine + 1];
    BOOL whole = FALSE;
    while (ReadPiece(*m_file, line, sizeof line, whole)) {
        // The rest of an overlong line is no tip of its own.
        char rest[kMaxLine + 1];
        while (!whole && ReadPiece(*m_file, rest, sizeof rest, whole)) {
        }
        if (!IsComment(line)) {
            m_tip = line;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CTipReader::SeekTo(LONG offset)
{
    try {
        m_file->Seek(offset, CFile::begin);
        return TRUE;
    } catch (CFileException* e) {
        e->Delete();
    }
    m_seekFailed = TRUE;
    return FALSE;
}
