// The command language: one command text from the automation queue, run
// against the document. Every answer, reply or error, goes out as a program
// event; nothing returns to the caller and nothing is thrown.
#pragma once

#include <afx.h>

class CZymDoc;
class CPlayList;

class CDocCommands
{
public:
    explicit CDocCommands(CZymDoc& doc) : m_doc(doc) {}
    void Execute(const CString& text);

    typedef void (CDocCommands::*Handler)(const CString& argument);
    struct Row
    {
        const char* word;
        Handler run;
        // The reason of the command's one argument error, or null.
        const char* reason;
    };

private:
    static const Row kCommands[];

    void Fail(const char* reason);
    void Reply(const char* name, const CString& value);
    // "on", "off", "toggle" (when allowed) applied to a flag; FALSE after
    // answering the row's error.
    BOOL ReadSwitch(const CString& argument, BOOL& flag, BOOL toggle);
    // A slot of a range, 1..300; FALSE after answering the error.
    BOOL ReadSlot(const CString& text, const char* which, int& slot);
    BOOL ReadPosition(CPlayList& list, const CString& argument, int& position);

    void Play(const CString&);
    void Stop(const CString&);
    void Pause(const CString&);
    void Previous(const CString&);
    void Next(const CString&);
    void Optimize(const CString&);
    void Alternate(const CString&);
    void Shuffle(const CString&);
    void Preview(const CString& argument);
    void Loop(const CString& argument);
    void Mode(const CString& argument);
    void GetPointer(const CString&);
    void SetPointer(const CString& argument);
    void Clear(const CString&);
    void PlaylistSize(const CString&);
    void Insert(const CString& argument);
    void Delete(const CString& argument);
    void Explode(const CString& argument);
    void Condense(const CString& argument);
    BOOL FormatItem(CPlayList& list, int position, int fields, CString& reply);
    void GetItem(const CString& argument);
    void GetSearchItem(const CString& argument);
    void GetFileName(const CString&);
    void DeleteMatching(const CString& argument);
    void RunSearch(const CString& argument);
    CString PlaylistPath(const CString& name);
    void LoadInto(CPlayList& list, const CString& name);
    void SaveFrom(CPlayList& list, const CString& name);
    void LoadPlaylist(const CString& argument);
    void SavePlaylist(const CString& argument);
    void LoadSearchList(const CString& argument);
    void SaveSearchList(const CString& argument);
    void ChangeKeyword(const CString& argument, BOOL add);
    void NeverPlayCurrentTrack(const CString&);
    void AddKeyword(const CString& argument);
    void RemoveKeyword(const CString& argument);
    BOOL ReadLibraryPath(const CString& name, CString& path);
    void UseLibraryPath(const CString& path);
    void LibraryLoad(const CString& argument);
    void LibrarySaveAll(const CString& argument);
    void LookUpQueued(const CString&);
    void Shell(const CString& argument);
    void LoadMapFile(const CString& argument);
    void ListPlayers(const CString&);
    void SearchMode(const CString& argument);
    void SearchClear(const CString&);
    void SearchListSize(const CString&);
    void CopyToPlaylist(const CString&);
    void LibrarySave(const CString&);
    void AutoSave(const CString& argument);
    void AutoSaveInterval(const CString& argument);
    void DiscSearch(const CString& argument);
    void GetState(const CString&);
    void Echo(const CString& argument);
    void Sleep(const CString&);
    void Awaken(const CString&);
    void SleepAwakenToggle(const CString&);
    void Exit(const CString&);
    void VolumeUp(const CString&);
    void VolumeDown(const CString&);
    void Mute(const CString& argument);
    void Debug(const CString& argument);
    void NotifyItem(const CString& argument);
    void NotifyTime(const CString& argument);

    CZymDoc& m_doc;
    const Row* m_row = nullptr;
};

// The size reply: "count,minutes:seconds" of a total in seconds.
CString FormatListSize(int count, int seconds);
