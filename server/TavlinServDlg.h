// The device server's window and, run modally, its message loop, which also
// serves the incoming COM calls (the GUI thread is a single-threaded
// apartment). It shows two status lines and the tree of everything the device
// manager found, sits in the notification area, registers the class object on
// its first tick (after the ports were probed) and, once a second, repaints
// the counters, rebuilds the tree and counts a COM-started server down to
// quitting once its last client object went.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <shellapi.h>

#include <atomic>

#include "server/ServerState.h"
#include "server/resource.h"

class CTavlinClientFactory;

const UINT WM_TRAYNOTIFY = WM_USER + 5;

class CTavlinServDlg : public CDialog, public ServerNotify
{
public:
    // Image indexes of the device tree.
    enum TreeImage
    {
        kUnitImage,
        kSLinkImage,
        kIRImage,
        kDeviceImage,
        kCodeImage,
        kNoneFoundImage,
        kGroupImage,
        kValueImage,
        kCM11aImage,
        kKeltoImage
    };
    enum { kFirstTick = 777 };

    explicit CTavlinServDlg(CTavlinClientFactory* factory, CWnd* parent = nullptr);
    ~CTavlinServDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // ServerNotify, from any thread: only flags for the next tick.
    void RepaintCounters() override;
    void RefreshTree() override;

    void FillDeviceTree();
    // The data of the selected item's top-level ancestor: a unit index, or -1.
    int GetSelectedUnit() const;
    // The texts of the two status lines.
    void UpdateStatusLines();

    BOOL m_invisible;
    BOOL m_noTrayIcon;
    // kFirstTick until the first tick; then 0 or 1, toggled by tray clicks.
    int m_shown;
    // Set by a first tick that hid the window: the modal loop's show on its
    // first idle, which may come after that tick, is refused until a tray
    // click shows it.
    BOOL m_keepHidden;
    CTreeCtrl m_tree;

protected:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnWindowPosChanging(WINDOWPOS* position);
    void OnPaint();
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnOptions();
    void OnTimer(UINT_PTR id);
    void OnClose();
    void OnHelp();
    void OnAbout();
    void OnSettings();
    void OnTest();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void BuildImageList();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void FillUnitItems(int unit, HTREEITEM item);
    void FillPortDiagnostics();
    HTREEITEM Insert(LPCSTR text, int image, LPARAM data, HTREEITEM parent = TVI_ROOT);

    CTavlinClientFactory* m_factory;
    UINT_PTR m_timerId;
    CImageList m_imageList;
    NOTIFYICONDATAA m_trayIcon;
    BOOL m_trayIconAdded;
    std::atomic<LONG> m_countersChanged;
    std::atomic<LONG> m_treeChanged;
    HICON m_icon;
};
