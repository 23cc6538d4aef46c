// Disc memos, delete marks and the artist tables of a changer: the memo upload
// with its acknowledged writes, the reads before it, the front-panel typing
// for changers that take memos only from the keypad, and the reads of the
// memo download. cancel is the flag of the task the caller runs; every wait
// honours it.
#pragma once

#include <afx.h>

#include <functional>

#include "core/players/ChangerState.h"
#include "devices/util/TaskCancelFlag.h"

class CChangerKeypad;
class CChangerLink;
class CChangerStateStore;
class CPlayList;
class CSonyPlayer;
class CTaskSink;

class CChangerMemos : public ChangerConstants
{
public:
    CChangerMemos(CSonyPlayer& player, CChangerLink& link, CChangerKeypad& keypad, CChangerStateStore& store)
        : m_player(player), m_link(link), m_keypad(keypad), m_store(store) {}
    CChangerMemos(const CChangerMemos&) = delete;
    CChangerMemos& operator=(const CChangerMemos&) = delete;

    // The memo upload of the entries on this changer, as the task
    // "CD n Download"; allSlots clears the memos of the slots without an entry.
    BOOL DownloadMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks);
    // Acknowledged writes: false when the changer never acknowledged the
    // third attempt; true also after a cancel.
    BOOL WriteMemoText(int slot, const CString& text, const TaskCancelFlag* cancel);
    // The artist text is kept only once both parts were acknowledged.
    BOOL WriteArtistMemo(int artist, const CString& text, const TaskCancelFlag* cancel);
    BOOL SetArtist(int slot, int artist, const TaskCancelFlag* cancel);
    // Ask for the artist texts and slot artists still unknown; false when
    // one stays unanswered after three tries.
    BOOL ReadArtistTexts(const TaskCancelFlag* cancel, CTaskSink* tasks, int taskId);
    BOOL ReadDiscArtists(const TaskCancelFlag* cancel, CTaskSink* tasks, int taskId);
    // Types the disc, artist and track memos on the front panel.
    BOOL EnterMemosByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                          const CString* trackTexts, BOOL shortClose, const TaskCancelFlag* cancel);
    // Without waiting: the tables take the new values at once.
    void WriteArtistMemoOnce(int artist, const CString& text);
    void SetArtistOnce(int slot, int artist);
    // The slot's memo and delete-file bits as the changer answers them within
    // 1000 ms; answers about another disc (a late one) do not count.
    BOOL ReadMemo(int slot, CString& memo, const TaskCancelFlag* cancel);
    BOOL ReadDeleteFile(int slot, BYTE bits[kDeleteFileBytes], const TaskCancelFlag* cancel);

private:
    typedef std::function<bool(const ChangerState&)> StateTest;
    enum WriteResult { kWritten, kNotAcknowledged, kWriteCancelled };

    WriteResult WriteMemoPart(const CString& text, const TaskCancelFlag* cancel);
    WriteResult WriteAcknowledged(const CString& text, const StateTest& written, const TaskCancelFlag* cancel);
    CString MemoPartText(int slot, bool second, const CString& text) const;
    CString ArtistPartText(int artist, int part, const CString& padded) const;
    CString ArtistChoiceText(int slot, int artist) const;
    void SendPause100();
    bool AskAboutDisc(BOOL (CSonyPlayer::*query)(int), int ChangerState::*disc, int slot, const TaskCancelFlag* cancel);
    bool EnterTextsByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                          const CString* trackTexts, BOOL shortClose, const TaskCancelFlag* cancel);
    void DownloadMemosByKeys(const CPlayList& entries, CTaskSink* tasks, int task, const TaskCancelFlag* cancel);
    void DownloadDiscMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks, int task,
                           const TaskCancelFlag* cancel);
    void DownloadArtists(const CPlayList& entries, CTaskSink* tasks, int task, const TaskCancelFlag* cancel);

    CSonyPlayer& m_player;   // its queries, texts and capability bits
    CChangerLink& m_link;
    CChangerKeypad& m_keypad;
    CChangerStateStore& m_store;
};
