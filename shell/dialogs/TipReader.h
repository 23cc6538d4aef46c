// The tips file of the tip of the day: one tip a line, read in turn from where
// the last run stopped. Lines that begin with a blank, a tab, a line feed or
// ';' are comments. At the end the reading starts again at the first line; a
// file newer than the one read before starts there too. The place, the file's
// stamp and the show-at-start-up choice live in the profile section "Tip".
#pragma once

#include <afxwin.h>

#include <memory>

class CStdioFile;

class CTipReader
{
public:
    static const UINT kMaxLine = 1000;

    // Reads the show-at-start-up choice and the stored place.
    CTipReader();
    // Remembers the place for the next run.
    ~CTipReader();
    CTipReader(const CTipReader&) = delete;
    CTipReader& operator=(const CTipReader&) = delete;

    // "Tips.tip" in the folder of the program's own executable.
    static CString DefaultPath();

    // Opens the file, continues at the stored place (or at the start of a newer
    // file) and reads a tip. FALSE without a file or without a single tip in it.
    BOOL Open(LPCSTR path);
    BOOL IsOpen() const { return m_file != nullptr; }
    // Reads the following tip; a file that no longer holds one is closed.
    BOOL ReadNext();
    // Writes the place as "FilePos" and closes the file.
    void Close();

    // The tip with its line end, or why there is none.
    const CString& GetTip() const { return m_tip; }
    BOOL GetShowAtStartUp() const { return m_showAtStartUp; }
    // Stored as "StartUp": 0 to show, 1 not to.
    void SetShowAtStartUp(BOOL show);
    // TRUE once after the file could not be moved to the stored place or back
    // to its start; reading went on from where the file stood.
    BOOL TakeSeekFailure();

private:
    static BOOL IsComment(const char* line);
    // The file's modification time as ctime writes it, without the line end.
    static CString Stamp(HANDLE file);
    // The next tip from the file's place; FALSE at its end.
    BOOL ReadTipLine();
    // Moves to offset; FALSE (and remembered) when the file cannot go there.
    BOOL SeekTo(LONG offset);

    std::unique_ptr<CStdioFile> m_file;
    CString m_tip;
    BOOL m_showAtStartUp;
    LONG m_position;
    BOOL m_seekFailed;
};
