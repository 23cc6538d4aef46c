// The Library menu's upkeep: the delete walk over the selection (tracks only
// of audio-file albums, each once, highest first), Select All, and the offer
// and conversion of a library of the old text format, whose failed save
// leaves the library where it was.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TestData.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowDriver.h"

#include "core/doc/DocCommandTargets.h"
#include "core/doc/DocResource.h"

namespace {

const char kFiles[] = "00000000000000F1";
const char kDisc[] = "00000000000000C1";
const char kOther[] = "00000000000000C2";
const DWORD kPatienceMs = 5000;

class DocLibraryCommandsTest : public DocFixture
{
protected:
    void SetUp() override { Open(); }

    void AddAlbum(const char* id, int player, const char* title, int tracks)
    {
        AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
        album.SetIdText(id);
        album.SetTrackCount(tracks);
        album.SetTitle(kAlbumIndex, title);
        for (int t = 0; t < tracks; ++t)
            album.SetTitle(t, ("T" + std::to_string(t)).c_str());
        album.SetPlayer(player);
        album.SetSlot(player == kMp3Player ? 0 : 3);
        album.SetPresent(true);
        m_doc->GetMusicLibrary().AppendAlbum(album);
    }
    void Select(const std::vector<std::pair<const char*, int>>& entries)
    {
        CPlayList& selection = m_doc->GetSelectionList();
        selection.Clear();
        for (const auto& entry : entries)
            selection.AddItem(CLibItem(entry.first, entry.second));
    }
    std::string Titles(const char* id)
    {
        AlbumRecord album;
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        if (!library.GetAlbumAt(library.FindAlbumIndex(id), album))
            return "gone";
        std::string titles;
        for (int t = 0; t < album.GetTrackCount(); ++t)
            titles += (t ? "," : "") + std::string(album.GetTitle(t));
        return titles;
    }
    static Texts BoxTexts(const CMessageBoxScript& boxes)
    {
        Texts texts;
        for (const ShownMessageBox& box : boxes.Shown())
            texts.push_back(box.text);
        return texts;
    }
    void Command(UINT id) { EXPECT_TRUE(m_doc->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr)); }
    // MF_GRAYED when the update handler disables the item.
    UINT State(UINT id) { return UpdatedMenuState(m_doc, id) & MF_GRAYED; }
    CDocLibraryCommands& Library() { return m_doc->GetCommandTargets().library; }
    // The document's ticks run until the library's load has ended with albums.
    void TickUntilLoaded(int albums)
    {
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        WaitUntil(
            [&] {
                if (!library.IsLoading() && library.GetAlbumCount() == albums)
                    return true;
                m_doc->RunTick();
                return false;
            },
            kPatienceMs);
    }
};

// The selection in any order, a track twice, a CD track, an album gone:
// the questions go from the last entry up, and every confirmed track goes.
TEST_F(DocLibraryCommandsTest, TheDeleteWalkDeletesEachConfirmedTrackOnce)
{
    AddAlbum(kFiles, kMp3Player, "Files", 5);
    AddAlbum(kDisc, 0, "Disc", 2);
    AddAlbum(kOther, 1, "Other", 2);
    Select({ { kFiles, 3 }, { kFiles, 1 }, { kDisc, 0 }, { "00000000000000EE", kWholeAlbum }, { kFiles, 3 },
             { kOther, kWholeAlbum }, { kFiles, 4 }, { kFiles, 0 } });
    m_trace.Take();
    CMessageBoxScript boxes;
    boxes.Then(IDNO).Then(IDYES).Then(IDYES).Then(IDYES).Then(IDYES);
    Command(ID_LIBRARY_DELETE);
    EXPECT_EQ(Texts({ "Delete T0?", "Delete T4?", "Delete Other?", "Delete T3?", "Delete T1?" }), BoxTexts(boxes));
    EXPECT_EQ(0, boxes.Unscripted());
    EXPECT_EQ("T0,T2", Titles(kFiles));
    EXPECT_EQ("T0,T1", Titles(kDisc));
    EXPECT_EQ("gone", Titles(kOther));
    EXPECT_TRUE(m_doc->GetMusicLibrary().HasChanged());
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
    EXPECT_EQ(Texts({ "hint 0" }), m_trace.Take());
}

// Cancel ends the questions; what was confirmed before it is deleted.
TEST_F(DocLibraryCommandsTest, CancelEndsTheWalk)
{
    AddAlbum(kFiles, kMp3Player, "Files", 4);
    Select({ { kFiles, 0 }, { kFiles, 1 }, { kFiles, 2 } });
    CMessageBoxScript boxes;
    boxes.Then(IDYES).Then(IDCANCEL);
    Command(ID_LIBRARY_DELETE);
    EXPECT_EQ(Texts({ "Delete T2?", "Delete T1?" }), BoxTexts(boxes));
    EXPECT_EQ("T0,T1,T3", Titles(kFiles));
}

TEST_F(DocLibraryCommandsTest, SelectAllSelectsEveryAlbumWhole)
{
    AddAlbum(kFiles, kMp3Player, "Files", 1);
    AddAlbum(kDisc, 0, "Disc", 1);
    AddAlbum(kOther, 1, "Other", 1);
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    Select({ { kOther, kWholeAlbum } });
    Command(ID_LIBRARY_DELETE);
    Select({ { kFiles, 0 } });
    m_doc->GetSelectionList().SetLoop(true);
    m_trace.Take();
    Command(ID_LIBRARY_SELECT_ALL);
    CPlayList& selection = m_doc->GetSelectionList();
    ASSERT_EQ(2, selection.GetCount());
    EXPECT_EQ(kFiles, std::string(selection.GetItem(0).GetId()));
    EXPECT_EQ(kDisc, std::string(selection.GetItem(1).GetId()));
    EXPECT_TRUE(selection.GetItem(0).IsWholeAlbum());
    EXPECT_FALSE(selection.GetLoop());
    EXPECT_EQ(Texts({ "hint 4" }), m_trace.Take());
}

// Library/Save is offered while an edit is unsaved (also after the tick has
// told the views of it), writes the library, and is greyed again; a save
// that fails leaves it offered.
TEST_F(DocLibraryCommandsTest, SaveIsOfferedWhileAnEditIsUnsaved)
{
    m_doc->GetOptions().m_page2.m_autoSaveDb = 0;
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    library.SetModified(false);
    EXPECT_EQ(UINT(MF_GRAYED), State(ID_LIBRARY_SAVE));
    AddAlbum(kFiles, kMp3Player, "Files", 2);
    AlbumRecord album;
    ASSERT_TRUE(library.GetAlbumAt(library.FindAlbumIndex(kFiles), album));
    album.SetTitle(0, "Edited");
    library.StoreAlbum(album);
    m_doc->RunTick();
    EXPECT_EQ(0u, State(ID_LIBRARY_SAVE));

    CString path = library.GetLibraryPath();
    library.SetLibraryPath(m_folder.WindowsPath("no such folder\\library.mdb").c_str());
    CMessageBoxScript failing;
    failing.Then(IDYES).Then(IDOK);
    Command(ID_LIBRARY_SAVE);
    EXPECT_EQ(0u, State(ID_LIBRARY_SAVE));

    library.SetLibraryPath(path);
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    Command(ID_LIBRARY_SAVE);
    EXPECT_EQ(UINT(MF_GRAYED), State(ID_LIBRARY_SAVE));
    // As a load leaves it: marked modified, no album to write.
    library.SetModified(true);
    Command(ID_LIBRARY_SAVE);
    EXPECT_EQ(UINT(MF_GRAYED), State(ID_LIBRARY_SAVE));
    library.RemoveAllAlbums();
    ASSERT_TRUE(library.StartLoad());
    TickUntilLoaded(1);
    EXPECT_EQ("Edited,T1", Titles(kFiles));
}

TEST_F(DocLibraryCommandsTest, TheConversionIsOfferedOnceForAnOldLibrary)
{
    const struct
    {
        int type;
        const char* path;
        bool offered;
    } cases[] = {
        { 0, "Z:\\music\\mine.lib", true },
        { 1, "Z:\\music\\mine.lib", false },
        { 0, "Z:\\zym\\sample.lib", false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.path);
        Close();
        Open();
        m_doc->GetOptions().m_page2.m_libraryType = c.type;
        m_doc->GetOptions().m_page2.m_dbPath = c.path;
        CMessageBoxScript boxes;
        boxes.Then(IDNO);
        Library().OfferLibraryUpgrade();
        Library().OfferLibraryUpgrade();
        ASSERT_EQ(c.offered ? 1u : 0u, boxes.Shown().size());
        if (c.offered)
            EXPECT_EQ(0u, boxes.Shown()[0].text.find("Your current music library is in an older ZYM format"));
    }
}

// Yes saves the library beside the old file as ".mdb" and loads it from
// there; the user's auto-save setting comes back either way.
TEST_F(DocLibraryCommandsTest, TheConversionSavesBesideTheOldFile)
{
    AddAlbum(kFiles, kMp3Player, "Files", 2);
    WriteFile("old.lib", "an old library\r\n");
    CZymOptions& options = m_doc->GetOptions();
    options.m_page2.m_libraryType = 0;
    options.m_page2.m_dbPath = m_folder.WindowsPath("old.lib").c_str();
    options.m_page2.m_autoSaveDb = 0;
    CMessageBoxScript boxes;
    boxes.Then(IDYES).Then(IDOK).Then(IDYES).Then(IDOK);
    Library().OfferLibraryUpgrade();
    std::string database = m_folder.WindowsPath("old.mdb");
    EXPECT_EQ(Texts({ boxes.Shown()[0].text, "ZYM will now save your library in the new format. This may take a while.",
                      "The library file named " + database +
                          " that you are trying to save doesn't exist. Would you like to create it?",
                      "ZYM will now try to load the new library." }),
              BoxTexts(boxes));
    EXPECT_EQ(database, std::string(options.m_page9.m_newDbPath));
    EXPECT_EQ(database, std::string(m_doc->GetMusicLibrary().GetLibraryPath()));
    EXPECT_TRUE(m_folder.Exists("old.mdb"));
    EXPECT_EQ(1, options.m_page2.m_libraryType);
    EXPECT_EQ(0, options.m_page2.m_autoSaveDb);
    TickUntilLoaded(1);
    EXPECT_EQ("T0,T1", Titles(kFiles));
}

// Where ".mdb" for the extension, or the library's own path, would name the
// old file itself, the conversion writes beside it under another name: the
// old file keeps its bytes.
TEST_F(DocLibraryCommandsTest, TheConversionNeverWritesOverTheOldFile)
{
    const struct
    {
        const char* old;
        const char* library;
        const char* written;
    } cases[] = {
        { "mine.mdb", "elsewhere.mdb", "mine (converted).mdb" },
        { "MINE.MDB", "other.mdb", "MINE (converted).mdb" },
        { "library", "library", "library (converted).mdb" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.old);
        Close();
        Open();
        WriteFile(c.old, "the user's library\r\n");
        CZymOptions& options = m_doc->GetOptions();
        options.m_page2.m_libraryType = 0;
        options.m_page2.m_dbPath = m_folder.WindowsPath(c.old).c_str();
        m_doc->GetMusicLibrary().SetLibraryPath(m_folder.WindowsPath(c.library).c_str());
        CMessageBoxScript boxes;
        boxes.Then(IDOK).Then(IDYES).Then(IDOK);
        Library().ConvertOldLibrary();
        EXPECT_EQ(m_folder.WindowsPath(c.written), std::string(options.m_page9.m_newDbPath));
        EXPECT_TRUE(m_folder.Exists(c.written));
        EXPECT_EQ("the user's library\r\n", ReadBytes(m_folder.UnixPath(c.old)));
        m_folder.Remove(c.old);
        m_folder.Remove(c.written);
    }
}

// A save that fails stops the conversion: the library keeps its albums and
// its old paths, and the old format stays chosen.
TEST_F(DocLibraryCommandsTest, AFailedSaveKeepsTheLibraryAsItWas)
{
    AddAlbum(kFiles, kMp3Player, "Files", 2);
    CZymOptions& options = m_doc->GetOptions();
    CString databaseBefore = options.m_page9.m_newDbPath;
    CString libraryBefore = m_doc->GetMusicLibrary().GetLibraryPath();
    options.m_page2.m_libraryType = 0;
    options.m_page2.m_dbPath = m_folder.WindowsPath("no such folder\\old.lib").c_str();
    options.m_page2.m_autoSaveDb = 1;
    CMessageBoxScript boxes;
    Library().ConvertOldLibrary();
    Texts texts = BoxTexts(boxes);
    EXPECT_TRUE(std::find(texts.begin(), texts.end(), "ZYM will now try to load the new library.") == texts.end());
    EXPECT_EQ(databaseBefore, options.m_page9.m_newDbPath);
    EXPECT_EQ(libraryBefore, m_doc->GetMusicLibrary().GetLibraryPath());
    EXPECT_EQ(0, options.m_page2.m_libraryType);
    EXPECT_EQ(1, options.m_page2.m_autoSaveDb);
    EXPECT_EQ("T0,T1", Titles(kFiles));
}

// "x.y\library" has no extension: the library keeps its own paths.
TEST_F(DocLibraryCommandsTest, ADotInAFolderIsNoExtension)
{
    CZymOptions& options = m_doc->GetOptions();
    CString databaseBefore = options.m_page9.m_newDbPath;
    options.m_page2.m_dbPath = "Z:\\music\\x.y\\library";
    CMessageBoxScript boxes;
    Library().ConvertOldLibrary();
    EXPECT_EQ(databaseBefore, options.m_page9.m_newDbPath);
    EXPECT_EQ(databaseBefore, m_doc->GetMusicLibrary().GetLibraryPath());
}

// Before a disc search the sample library gives way to "user.mdb" beside
// it, made from the template; the option is saved at once.
TEST_F(DocLibraryCommandsTest, TheSampleLibraryGivesWayToTheUsersOwn)
{
    CZymOptions& options = m_doc->GetOptions();
    WriteFile("template.mdb", "the template");
    const struct
    {
        const char* option;
        int answer;
        BOOL result;
        const char* after;
    } cases[] = {
        { "sample.mdb", IDNO, FALSE, "sample.mdb" },
        { "mine.mdb", 0, TRUE, "mine.mdb" },
        { "sample.mdb", IDYES, TRUE, "user.mdb" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.option);
        options.m_page9.m_newDbPath = c.option;
        CMessageBoxScript boxes;
        if (c.answer)
            boxes.Then(c.answer);
        EXPECT_EQ(c.result, Library().LeaveSampleLibrary());
        EXPECT_EQ(c.answer ? 1u : 0u, boxes.Shown().size());
        EXPECT_EQ(c.after, std::string(options.m_page9.m_newDbPath));
    }
    EXPECT_EQ(m_folder.WindowsPath("user.mdb"), std::string(m_doc->GetMusicLibrary().GetLibraryPath()));
    EXPECT_TRUE(m_folder.Exists("user.mdb"));
    EXPECT_EQ("user.mdb", std::string(m_app.GetProfileString("Options", "New DB Path")));

    // A user.mdb made earlier is kept; a template that is missing says so.
    WriteFile("user.mdb", "made earlier");
    ASSERT_TRUE(m_folder.Remove("template.mdb"));
    options.m_page9.m_newDbPath = "sample.mdb";
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    EXPECT_TRUE(Library().LeaveSampleLibrary());
    ASSERT_TRUE(m_folder.Remove("user.mdb"));
    options.m_page9.m_newDbPath = "sample.mdb";
    boxes.Then(IDYES);
    EXPECT_FALSE(Library().LeaveSampleLibrary());
    ASSERT_EQ(3u, boxes.Shown().size());
    EXPECT_EQ(0u, boxes.Shown()[2].text.find("Error making copy of template file "));
    EXPECT_EQ("sample.mdb", std::string(options.m_page9.m_newDbPath));
}

struct DialogAnswer
{
    std::string file;
    int button;
    std::string caption;
};

// A person at the add-file dialog: the file name typed, then the button.
DWORD WINAPI AnswerAddFileDialog(void* parameter)
{
    DialogAnswer& answer = *static_cast<DialogAnswer*>(parameter);
    HWND dialog = FindProcessDialog(GetCurrentProcessId(), 10000);
    if (!dialog)
        return 1;
    answer.caption = WindowText(dialog);
    SetDlgItemTextA(dialog, IDC_ADD_MP3_FILE, answer.file.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
    return 0;
}

// The dialog adds the file to the selected audio-file album before the
// selected track; Cancel adds nothing; a CD album cannot take files.
TEST_F(DocLibraryCommandsTest, TheAddFileDialogAddsToTheSelectedAlbum)
{
    AddAlbum(kFiles, kMp3Player, "Files", 2);
    AddAlbum(kDisc, 0, "Disc", 2);
    Select({ { kDisc, kWholeAlbum } });
    EXPECT_EQ(MF_GRAYED, State(ID_LIBRARY_ADD_AUDIO_FILE));
    Select({ { kFiles, kWholeAlbum }, { kFiles, 1 } });
    EXPECT_EQ(MF_GRAYED, State(ID_LIBRARY_ADD_AUDIO_FILE));
    Select({ { kFiles, 1 } });
    EXPECT_EQ(0u, State(ID_LIBRARY_ADD_AUDIO_FILE));

    const struct
    {
        const char* file;
        int button;
        const char* titles;
    } cases[] = {
        { "Z:\\music\\New_Song.mp3", IDOK, "T0,new song,T1" },
        { "Z:\\music\\Other.mp3", IDCANCEL, "T0,new song,T1" },
        { "", IDOK, "T0,new song,T1" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        DialogAnswer answer = { c.file, c.button, "" };
        HANDLE person = CreateThread(nullptr, 0, AnswerAddFileDialog, &answer, 0, nullptr);
        ASSERT_TRUE(person != nullptr);
        Command(ID_LIBRARY_ADD_AUDIO_FILE);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(person, 10000));
        DWORD code = 99;
        GetExitCodeThread(person, &code);
        CloseHandle(person);
        EXPECT_EQ(0u, code);
        EXPECT_EQ("Add mp3 to library", answer.caption);
        EXPECT_EQ(c.titles, Titles(kFiles));
    }
}

} // namespace

// The image view's and the Transfer Text menu's items reach the document's
// operations: Remove takes the selected album's image away.
TEST_F(DocLibraryCommandsTest, TheImageAndMemoMenusReachTheDocument)
{
    AlbumRecord disc = m_doc->GetMusicLibrary().NewAlbum();
    disc.SetIdText(kDisc);
    disc.SetTrackCount(1);
    disc.SetPlayer(0);
    disc.SetSlot(3);
    disc.SetPresent(true);
    CString error;
    ASSERT_TRUE(disc.SetImage(kAlbumIndex, "cover.jpg", false, "", error));
    m_doc->GetMusicLibrary().AppendAlbum(disc);
    Select({ { kDisc, kWholeAlbum } });
    Command(ID_COVER_REMOVE);
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    AlbumRecord album;
    ASSERT_TRUE(library.GetAlbumAt(library.FindAlbumIndex(kDisc), album));
    EXPECT_EQ("", std::string(album.GetImage(kAlbumIndex)));
    for (UINT id : { ID_COVER_GET, ID_COVER_BROWSE, ID_MEMOS_UPLOAD_ALL, ID_MEMOS_UPLOAD_SELECTED })
    {
        AFX_CMDHANDLERINFO handler = {};
        EXPECT_TRUE(m_doc->OnCmdMsg(id, CN_COMMAND, nullptr, &handler)) << id;
    }
}
