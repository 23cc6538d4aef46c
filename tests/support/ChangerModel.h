// A Sony CD changer as the control bus sees it: the words the program sends
// (address byte 0x90 + id, 0x93 + id for the upper slots of 300- and 400-disc
// models, 0x97 for all) and the answers it gives (0x98 + id, 0x9B + id from the
// upper slots). Its byte values are those of the changers' bit tables. It holds
// slots with discs, a name, groups, power, the door and the front-panel modes,
// plays, pauses, stops and moves to discs, and, while time code is on, reports
// the time once a changer second. Faults come on demand.
// Not thread-safe: CChangerBus serialises the calls.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ChangerDisc
{
    std::vector<int> tracks;   // track lengths in seconds
    std::string memo;
    std::string cdText;
    // Delete marks, track t in bit t % 8 of byte t / 8 (a set bit: the track
    // plays); empty: the changer has no delete file for the disc.
    std::string deleteFile;
};

struct ChangerFaults
{
    bool silent = false;          // answers nothing
    int misqueues = 0;            // that many moves go to track 1 instead of the track asked for
    bool skipping = false;        // the time stands still
    bool binaryTracks = false;    // track numbers in binary in its mode report
    int unacknowledged = 0;       // that many memo writes are kept but not acknowledged
    bool lateAnswers = false;     // a memo or delete-file query gets the previous query's answer
};

// A word of the bus and its code byte.
struct ChangerWord
{
    const char* name;
    int code;
};
// The words the program sends, the changer's answers and the remote's keys,
// as far as the changers' bit tables give them; each list ends with a null
// name. A name may have two answer codes.
extern const ChangerWord kChangerCommands[];
extern const ChangerWord kChangerAnswers[];
extern const ChangerWord kChangerKeys[];

class CChangerModel
{
public:
    // id 0-2; type code and capacity as the changer reports them.
    CChangerModel(int id, int typeCode, int capacity);

    void SetDisc(int slot, const ChangerDisc& disc);
    void SetName(const std::string& name) { m_name = name; }
    void SetGroupName(int group, const std::string& name) { m_groups[group] = name; }
    void SetPowered(bool on) { m_powered = on; }
    // Front-panel modes as the mode report gives them.
    void SetModes(bool allDiscs, bool repeatOne, bool repeatAll, int shuffleOrProgram);
    // The artist table: names 1-200 (20 characters, blank padded by the
    // changer) and the artist number of each slot (0 none).
    void SetArtist(int artist, const std::string& name) { m_artists[artist] = name; }
    void SetSlotArtist(int slot, int artist) { m_slotArtists[slot] = artist; }
    ChangerFaults& Faults() { return m_faults; }

    // The answers to one message of the program; nothing when it is not addressed here.
    std::vector<std::string> Receive(const std::string& message);
    // What one changer second brings: time reports, the end-of-track warning,
    // the next track, the stop at the disc's end.
    std::vector<std::string> Second();
    // The door opened or closed by hand.
    std::vector<std::string> Door(bool open);

    bool IsPlaying() const { return m_playing; }
    bool IsPaused() const { return m_paused; }
    int Disc() const { return m_disc; }
    int Track() const { return m_track; }
    int Elapsed() const { return m_elapsed; }
    int FadeDowns() const { return m_fadeDowns; }
    bool TimeCode() const { return m_timeCode; }
    std::string Memo(int slot) const;
    std::string Artist(int artist) const;
    int SlotArtist(int slot) const;

private:
    std::string Answer(int code, const std::string& data = std::string(), bool upper = false) const;
    std::string DiscCode(int slot, bool& upper) const;
    int DecodeDisc(int code, bool upper) const;
    std::vector<std::string> MoveTo(int slot, int track, bool play);
    std::string PlayingReport() const;
    std::string ModeReport() const;
    std::vector<std::string> Query(int code, const std::string& data, bool upper);
    const ChangerDisc* Loaded(int slot) const;
    std::vector<std::string> WriteMemo(int code, const std::string& data, bool upper);
    std::vector<std::string> Acknowledge();
    std::vector<std::string> ArtistTexts(int artist) const;
    std::vector<std::string> ArtistData(int packet) const;
    std::vector<std::string> MemoAnswer(int code, const std::string& data, bool upper);

    int m_id;
    int m_typeCode;
    int m_capacity;
    std::string m_name;
    std::map<int, ChangerDisc> m_discs;
    std::map<int, std::string> m_groups;
    std::map<int, std::string> m_memos;
    std::map<int, std::string> m_artists;
    std::map<int, int> m_slotArtists;
    std::vector<std::string> m_lastMemoAnswer;
    ChangerFaults m_faults;
    bool m_powered = true;
    bool m_doorOpen = false;
    bool m_allDiscs = true;
    bool m_repeatOne = false;
    bool m_repeatAll = false;
    int m_shuffleOrProgram = 0;
    bool m_playing = false;
    bool m_paused = false;
    bool m_timeCode = false;
    int m_disc = 0;      // 0: none loaded
    int m_track = 0;     // from 1
    int m_elapsed = 0;   // seconds into the track
    int m_fadeDowns = 0;
};
