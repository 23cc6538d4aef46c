// The control road of the disc-database client: the look-up through the
// disc-database control.
#include "library/web/CDDBClient.h"

#include "library/web/DiscEntry.h"

#include <afxwin.h>

#include <memory>
#include <vector>

namespace {

const char kClientId[] = "24681357";
const char kClientTag[] = "7A3E90C2D41B58F6E02C9A17B6D83F45";
const char kControlError[] = "Error using CDDB Control";

// A failing control call ends the operation.
struct ControlFailure
{
};

void Check(HRESULT hr)
{
    if (FAILED(hr))
        throw ControlFailure();
}

struct ComRelease
{
    void operator()(IUnknown* object) const { object->Release(); }
};

// A BSTR argument made from a text, freed when it goes.
class CBstrArg
{
public:
    explicit CBstrArg(const CString& text) : m_bstr(text.AllocSysString()) {}
    ~CBstrArg() { SysFreeString(m_bstr); }
    CBstrArg(const CBstrArg&) = delete;
    CBstrArg& operator=(const CBstrArg&) = delete;
    operator BSTR() const { return m_bstr; }

private:
    BSTR m_bstr;
};

// Calls a text getter and takes the text it hands back.
CString TextOf(ICddbTrack* record, HRESULT (STDMETHODCALLTYPE ICddbTrack::*getter)(BSTR*))
{
    BSTR text = NULL;
    Check((record->*getter)(&text));
    CString value(text);
    SysFreeString(text);
    return value;
}

// What a disc record (or one of its tracks) gives the album.
struct ControlRecord
{
    CString title;
    CString artist;
    std::vector<long> genres;
    CString notes;
    CString year;
};

ControlRecord ReadRecord(ICddbTrack* record)
{
    ControlRecord out;
    out.title = TextOf(record, &ICddbTrack::GetTitle);
    out.artist = TextOf(record, &ICddbTrack::GetArtist);
    long genre = 0;
    Check(record->GetGenreId(&genre));
    out.genres.push_back(genre);
    Check(record->GetSecondaryGenreId(&genre));
    out.genres.push_back(genre);
    out.notes = TextOf(record, &ICddbTrack::GetNotes);
    out.year = TextOf(record, &ICddbTrack::GetYear);
    return out;
}

void AppendNotes(CString& notes, const CString& text)
{
    if (text.IsEmpty())
        return;
    if (!notes.IsEmpty())
        notes += "\n";
    notes += text;
}

} // namespace

bool CCDDBClient::CreateControl()
{
    try {
        if (!m_pControl) {
            ICddbControl* control = NULL;
            HRESULT hr = CoCreateInstance(CLSID_CddbControl, NULL, CLSCTX_ALL, IID_ICddbControl,
                                          (void**)&control);
            // Where the outside control is not installed, our stand-in serves.
            DWORD cookie;
            if (hr == REGDB_E_CLASSNOTREG && SUCCEEDED(RegisterCddbControl(&cookie)))
                hr = CoCreateInstance(CLSID_CddbControl, NULL, CLSCTX_ALL, IID_ICddbControl,
                                      (void**)&control);
            if (FAILED(hr))
                return false;
            m_pControl = control;
            Check(m_pControl->Initialize(CBstrArg(kClientId), CBstrArg(kClientTag),
                                         CBstrArg(""), CBstrArg("regstring")));
            long registered = 0;
            Check(m_pControl->GetUserRegistered(0, &registered));
            if (!registered)
                Check(m_pControl->GetUserRegistered(1, &registered));
            Check(m_pControl->GetGenreList(0, &m_pGenres));
        }
        ICddbOptions* options = NULL;
        Check(m_pControl->GetOptions(&options));
        std::unique_ptr<ICddbOptions, ComRelease> hold(options);
        Check(options->SetProxyServer(CBstrArg(m_bUseProxy ? m_strProxyHost : "")));
        Check(options->SetProxyServerPort(m_bUseProxy ? atoi(m_strProxyPort) : 0));
        Check(options->SetProxyUserName(CBstrArg(m_bUseProxy ? m_strProxyUser : "")));
        Check(options->SetProxyUserPassword(CBstrArg(m_bUseProxy ? m_strProxyPassword : "")));
        Check(m_pControl->SetOptions(options));
    } catch (const ControlFailure&) {
        AfxMessageBox(kControlError, MB_OK);
        return false;
    }
    return true;
}

bool CCDDBClient::ShowServiceRegistration()
{
    if (!CreateControl())
        return false;
    long registered = 0;
    try {
        Check(m_pControl->GetUserRegistered(1, &registered));
    } catch (const ControlFailure&) {
        AfxMessageBox(kControlError, MB_OK);
    }
    return true;
}

bool CCDDBClient::LookupWithControl(AlbumRecord& album, bool openEditor)
{
    if (!CreateControl())
        return false;
    try {
        return LookupControlDisc(album, openEditor);
    } catch (const ControlFailure&) {
        AfxMessageBox(kControlError, MB_OK);
        return false;
    }
}

bool CCDDBClient::LookupControlDisc(AlbumRecord& album, bool openEditor)
{
    long code = 0;
    Check(m_pControl->LookupMediaByToc(CBstrArg(FormatQueryOffsets(album)), &code));
    if (code == kCddbLookupNone)
        return false;
    IUnknown* found = NULL;
    Check(m_pControl->GetMatchList(&found));
    std::unique_ptr<IUnknown, ComRelease> holdFound(found);
    ICddbDisc* disc = NULL;
    if (code == kCddbLookupSeveral) {
        ICddbMatches* matches = NULL;
        Check(found->QueryInterface(IID_ICddbMatches, (void**)&matches));
        std::unique_ptr<ICddbMatches, ComRelease> holdMatches(matches);
        long count = 0;
        Check(matches->GetCount(&count));
        ICddbDisc* picked = NULL;
        if (count == 1 || !m_bAsk)
            Check(matches->GetItem(1, &picked));
        else
            Check(m_pControl->ChooseMatch(matches, &picked));
        if (!picked)
            return false;
        std::unique_ptr<ICddbDisc, ComRelease> holdPicked(picked);
        Check(m_pControl->GetFullDiscInfo(picked, 0, &disc));
    } else {
        Check(found->QueryInterface(IID_ICddbDisc, (void**)&disc));
    }
    std::unique_ptr<ICddbDisc, ComRelease> holdDisc(disc);
    if (openEditor) {
        Check(m_pControl->ShowDiscEditor(disc, 1));
        return true;
    }
    CopyDisc(album, disc);
    return true;
}

CString CCDDBClient::GenreName(long id)
{
    BSTR name = NULL;
    Check(m_pGenres->GetGenreName(id, &name));
    CString text(name);
    SysFreeString(name);
    return text;
}

// Everything is read before the album changes, so that a failing call leaves
// it as it was. The extended texts of disc and tracks together replace the
// album's notes, so that a second look-up does not repeat them.
void CCDDBClient::CopyDisc(AlbumRecord& album, ICddbDisc* disc)
{
    std::vector<ControlRecord> records(1, ReadRecord(disc));
    long count = 0;
    Check(disc->GetTrackCount(&count));
    for (long n = 1; n <= count; n++) {
        ICddbTrack* track = NULL;
        Check(disc->GetTrack(n, &track));
        std::unique_ptr<ICddbTrack, ComRelease> holdTrack(track);
        records.push_back(ReadRecord(track));
    }
    std::vector<CString> genreNames;
    for (const ControlRecord& record : records) {
        CString names;
        for (long id : record.genres)
            names += id ? GenreName(id) + " " : CString();
        genreNames.push_back(names);
    }

    CString notes;
    for (size_t i = 0; i < records.size(); i++) {
        const ControlRecord& record = records[i];
        int index = (int)i - 1; // the disc first, then tracks 0..
        album.SetTitle(index, record.title);
        album.SetArtist(index, record.artist);
        AddKeywords(album, index, genreNames[i]);
        AppendNotes(notes, record.notes);
        if (!record.year.IsEmpty())
            album.SetReleased(kAlbumIndex, record.year);
    }
    if (!notes.IsEmpty())
        album.SetNotes(kAlbumIndex, notes);
}
