// A document that is the views' host, with a library of a few albums, its
// play lists and selection; a frame that shows one view of it; and the hints
// the views send, recorded by a second view.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "library/views/ViewsHost.h"

#include "library/records/LibraryHost.h"

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

class CViewsTestApp : public CWinApp
{
public:
    CViewsTestApp();
    ~CViewsTestApp() override;

private:
    std::string m_key;
};

class CTestViewsDoc : public CDocument, public CViewsHost, public CLibraryHost
{
public:
    CTestViewsDoc();

    // Albums: changer 0 slots 1 and 2, an MP3 album, changer 1 (not
    // present); tracks 100 seconds each.
    void AddAlbum(const char* id, int player, int slot, bool present, int tracks);
    static CLibItem Item(const char* id, int track) { return CLibItem(id, track); }
    // Entries as "id:track" with the id's last character.
    static std::vector<std::string> Entries(const CPlayList& list);

    // CViewsHost
    CMusicLibrary& GetLibrary() override { return m_library; }
    CPlayList* GetLastPlayList() override { return m_lists.back().get(); }
    CPlayList& GetSelectionList() override { return m_selection; }
    bool IsPlayingList(const CPlayList* list) override { return list == m_playing; }
    void SetPlayingList(CPlayList* list) override { m_playing = list; }
    void PlayPlayingList() override;
    bool UsePlayerColors() override { return m_playerColors; }
    void GetPlayerColors(int player, COLORREF& text, COLORREF& background) override;
    LOGFONT GetListFont() override;
    COLORREF GetListTextColor() override { return 0; }
    bool AreBannersShown() override { return m_banners; }
    bool IsEditingDisabled() override { return m_editingDisabled; }
    CView* GetActiveListView() override { return m_activeView; }
    void SetActiveListView(CView* view) override { m_activeView = view; }

    // CLibraryHost
    void FireEvent(const char*) override {}
    void ThreadStarted(const char*) override {}
    void ThreadEnded() override {}
    bool IsPlayerAvailable(int) override { return true; }

    // Each test starts from the built-in keywords: the library writes its
    // master list to the profile when it goes.
    struct KeywordsReset
    {
        KeywordsReset() { AfxGetApp()->WriteProfileString("Options", "Keywords", NULL); }
    } m_keywordsReset;
    CMusicLibrary m_library;
    std::vector<std::unique_ptr<CPlayList>> m_lists;
    CPlayList m_selection;
    CPlayList* m_playing = nullptr;
    int m_playCommands = 0;
    bool m_playerColors = false;
    bool m_banners = true;
    bool m_editingDisabled = false;
    CView* m_activeView = nullptr;
};

// Records the hints it gets.
class CHintView : public CView
{
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override { m_hints.push_back((int)hint); }
    std::vector<int> m_hints;
};

// A frame of client size 400 x 300 with one view of the class on the document.
class CViewFrame
{
public:
    CViewFrame(CDocument& doc, CRuntimeClass* viewClass);
    ~CViewFrame();
    CView* GetView() { return m_frame ? m_frame->GetActiveView() : nullptr; }
    CFrameWnd* GetFrame() { return m_frame; }

private:
    CFrameWnd* m_frame = nullptr;
};
