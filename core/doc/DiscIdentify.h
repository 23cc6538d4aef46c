// Disc identification: the table of contents of the disc a changer has just
// loaded gives its ids; a known album takes the disc's place, a new one is
// filled from the disc's own texts and the disc database and stored.
#pragma once

#include "devices/util/TaskCancelFlag.h"
#include "library/records/AlbumRecord.h"

#include <afx.h>

class CSonyPlayer;
class CLibraryDocument;

// The album of an identified disc, and where it sat before.
struct IdentifiedDisc
{
    CString id;
    CString title;
    bool known = false;   // the library had the album already
    int previousPlayer = kNoPlayer;
    int previousSlot = kNoSlot;
    bool previousPresent = false;
};

class CDiscIdentify
{
public:
    explicit CDiscIdentify(CLibraryDocument& doc) : m_doc(doc) {}

    // As the task "IDDisc"; false, and the library unchanged, when the
    // changer's table of contents could not be read.
    bool IdentifyDiscs(int changer, IdentifiedDisc& disc);
    // The disc's CD texts into the album, when the changer reports both
    // text bits.
    void ReadDiscTexts(CSonyPlayer& player, AlbumRecord& album);

private:
    bool ReadContents(CSonyPlayer& player, int slot, AlbumRecord& album);
    void UpdateKnownAlbum(AlbumRecord& stored, const AlbumRecord& found, IdentifiedDisc& disc);
    void AddNewAlbum(CSonyPlayer& player, AlbumRecord& album);
    void StoreAndTell(AlbumRecord& album);

    CLibraryDocument& m_doc;
    int m_task = 0;
    TaskCancelFlag m_cancel{0};
};
