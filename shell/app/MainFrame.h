// The jukebox's main window: a workbook frame with the status bar, four
// docked windows around the MDI client (three tab windows of views and the
// device-traffic view), the 100 ms timer that lays them out, starts the
// document and runs its tick, and the messages and commands it hands to the
// document. It is also the frame the document talks to.
//
// MainFrame.cpp: creation, placement and closing; MainFrameBars.cpp: the
// tool bars, their images and the menu bar; MainFrameDock.cpp: the docked
// windows and their views; MainFrameCommands.cpp: timer, routed messages and
// commands.
#pragma once

#include "shell/app/AnimatedIcon.h"
#include "shell/app/MinSplitterWnd.h"

#include "core/doc/DocumentFrame.h"
#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/docking/TkFrameDockingFeature.h"
#include "toolkit/docking/TkLayoutFactory.h"
#include "toolkit/frames/TkWorkbook.h"
#include "toolkit/tabs/TkTabWnd.h"

class CMPEGPlayerThread;
class CZymDoc;
class TkToolBarManager;

class CMainFrame : public TkWorkbook, public CDocumentFrame
{
    DECLARE_DYNAMIC(CMainFrame)
public:
    // The docked windows, in the order they are saved.
    enum DockWindow
    {
        kMusicInfo,
        kLibrary,
        kPlayer,
        kTavlin,
        kDockWindowCount
    };

    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void ActivateFrame(int cmdShow = -1) override;

    // The one document, from its creation to its close.
    void SetDocument(CZymDoc* doc) { m_pDoc = doc; }
    CZymDoc* GetDocument() const { return m_pDoc; }

    // Docked windows (MainFrameDock.cpp): the empty tab windows at the first
    // tick, their views from the document's start-up, saved at the close.
    void CreateDockWindows();
    void CreateViews() override;
    void SaveDockWindows();
    CRect GetDockWindowRect(LPCSTR section, const CRect& defaultRect);
    BOOL GetDockWindowVisible(LPCSTR section, BOOL defaultVisible);
    CView* CreateDockedView(CRuntimeClass* viewClass, CCreateContext* context, UINT id);
    TkLayoutNode* GetDockNode(DockWindow window) const { return m_nodes[window]; }
    Tk3DTabWnd& GetTabWindow(DockWindow window) { return m_tabs[window]; }
    TkFrameDockingFeature& GetDockingFeature() { return m_docking; }
    BOOL AreDockWindowsCreated() const { return m_bDockWindowsCreated; }
    CAnimatedIcon& GetAnimatedIcon() { return m_icon; }
    int GetPrintSelection() const { return m_nPrintSelection; }
    CMinSplitterWnd& GetLibrarySplitter() { return m_librarySplitter; }
    TkToolBarManager* GetToolBarManager() const;
    // Where "user.bmp" is looked for; the program's own folder unless set
    // before the window is made.
    void SetProgramFolder(const CString& folder) { m_strProgramFolder = folder; }

    // CDocumentFrame
    void ShowStatusIndicator(BOOL show) override;
    void ShowStartupTip() override;
    void ShowOptions(CZymOptions& options, const char* title) override;
    void PostClose() override;
    CMp3Control* GetMp3Player() override;
    CString GetVersionText() override;
    void FatalError(const char* text) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnClose();
    void OnDestroy();
    // MainFrameCommands.cpp
    void OnTimer(UINT_PTR id);
    LRESULT OnApplyOptions(WPARAM wParam, LPARAM lParam);
    LRESULT OnLocateTavlins(WPARAM wParam, LPARAM lParam);
    LRESULT OnRefreshPlayers(WPARAM wParam, LPARAM lParam);
    LRESULT OnAppCommand(WPARAM wParam, LPARAM lParam);
    void OnToggleDockWindow(UINT id);
    void OnUpdateDockWindow(CCmdUI* cmdUI);
    void OnPrintSelected();
    void OnPrintPreviewSelected();
    void OnShowCrashReporter();
    void OnViewOptions();
    // The tips on demand, whatever the start-up setting says.
    void ShowTip();
    // MainFrameBars.cpp: the tool-bars dialog, whose Customize button opens
    // the customise sheet.
    void OnViewToolBars();
    void OnCustomize();
    // Commands of the document that run a shell dialog.
    void OnSearchForDiscs();
    void OnTransferText();
    void OnScheduler();
    DECLARE_MESSAGE_MAP()

private:
    void RestorePlacement();
    BOOL CreateStatusBar();
    BOOL StartTimer();
    void ShowPendingTip();
    // MainFrameBars.cpp
    void LoadToolBarImages();
    void LoadUserButtonImages();
    void DefineDefaultToolBars();
    // The document of the active MDI child, else null.
    CZymDoc* GetActiveChildDocument();
    // Posts the selection's command of the table to every view.
    void PostPrintCommand(BOOL preview);
    void CreateDockWindow(DockWindow window);
    void AddViewTabs(DockWindow window, CCreateContext& context);
    void CreateLibrarySplitter(CCreateContext& context);
    void CreateTavlinWindow(CCreateContext& context);
    // The window wrapped in a gripper that docks; null when it cannot be.
    TkLayoutNode* CreateDockableNode(CWnd* window, LPCSTR caption);
    void DockWindowNode(DockWindow window, TkLayoutNode* node);

    CString m_strSection;
    BOOL m_bDockWindowsCreated = FALSE;
    // The document asked for the start-up tip; it waits for the library.
    BOOL m_bTipPending = FALSE;
    CAnimatedIcon m_icon;
    // "user.bmp", when it could be read: the user commands' images.
    CBitmap m_userButtons;
    CString m_strProgramFolder;
    TkLayoutDockFactory m_factory;
    TkFrameDockingFeature m_docking;
    Tk3DTabWnd m_tabs[kPlayer + 1];
    // The album list above the track list in the library tab.
    CMinSplitterWnd m_librarySplitter;
    TkStatusBar m_statusBar;
    TkLayoutNode* m_nodes[kDockWindowCount] = {};
    UINT_PTR m_nTimer = 0;
    int m_nPrintSelection = 0;
    CZymDoc* m_pDoc = nullptr;
    CMPEGPlayerThread* m_pMp3Thread = nullptr;
};
