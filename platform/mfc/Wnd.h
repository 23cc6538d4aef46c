// CWnd: a window and its object. Windows made through Create/CreateEx, and
// windows subclassed later, run through one window procedure that dispatches
// to the object's message map; what the map does not take goes on to the
// window procedure the window had before (m_pfnSuper) or to DefWindowProc.
#pragma once

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Geometry.h"

class CDataExchange;
class CDC;
class CFrameWnd;
class CFont;
class CMenu;
class CScrollBar;

// How RepositionBars treats the rectangle it is given.
enum RepositionFlags
{
    reposDefault = 0,
    // Nothing moves; the free area (or the bars' size) comes back in the rectangle.
    reposQuery = 1,
    // The rectangle holds extra borders kept around the pane.
    reposExtra = 2,
};

// A WM_CTLCOLOR... message as the reflected handler receives it; WM_CTLCOLOR
// stands for all seven in message maps.
struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

// Sent down the window tree at idle time so that bars update their items.
const UINT WM_IDLEUPDATECMDUI = 0x0363;

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Destroys a window the object still owns.
    ~CWnd() override;

    HWND m_hWnd;
    // Both take a NULL object too (callers ask pWnd->GetSafeHwnd()).
    operator HWND() const { return SafeHandle(this); }
    HWND GetSafeHwnd() const { return SafeHandle(this); }
    // Out of line so that the compiler cannot assume the object exists.
    static HWND PASCAL SafeHandle(const CWnd* wnd);

    // The object of a window: FromHandle makes a temporary one (deleted at
    // idle time) for windows without; FromHandlePermanent gives NULL then.
    // Both look only at the calling thread's windows.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Called as a window is attached to its object for good (subclassed, or
    // made through Create), before the object's procedure takes its messages.
    virtual void PreSubclassWindow();

    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parentWnd, UINT id, void* context = NULL);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU idOrMenu,
                  LPVOID param = NULL);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parentWnd, UINT id, LPVOID param = NULL);
    virtual BOOL DestroyWindow();

    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called after the last message (WM_NCDESTROY); windows on the heap that
    // own themselves delete themselves here.
    virtual void PostNcDestroy();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE when the map took the message; *result is what the window returns.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A parent hands a control its own notification first; TRUE when taken.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static BOOL PASCAL ReflectLastMsg(HWND child, LRESULT* result = NULL);
    // The current message, passed on to the default procedure.
    LRESULT Default();
    static const MSG* PASCAL GetCurrentMessage();

    // Offers msg to PreTranslateMessage of its window and the window's
    // parents, up to and including stop (or the top-level window).
    static BOOL PASCAL WalkPreTranslateTree(HWND stop, MSG* msg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL deep = TRUE, BOOL onlyPermanent = FALSE) const;

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);

    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* newParent);
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    // A floating popup hands its frame's commands on: the keyboard menu and
    // a close go to the top-level parent, F6 gives that parent the focus.
    // TRUE when the command was handled so.
    BOOL HandleFloatingSysCommand(UINT id, LPARAM lParam);
    // The nearest parent whose object is a frame; NULL when there is none.
    CFrameWnd* GetParentFrame() const;
    // Frames answer TRUE.
    virtual BOOL IsFrameWnd() const;
    CWnd* GetDlgItem(int id) const;
    void GetDlgItem(int id, HWND* hWnd) const;
    CWnd* GetWindow(UINT cmd) const;
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
    static CWnd* PASCAL GetFocus();
    CWnd* SetFocus();
    static CWnd* PASCAL GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* PASCAL GetForegroundWindow();
    BOOL SetForegroundWindow();
    static CWnd* PASCAL GetDesktopWindow();
    static CWnd* PASCAL FindWindow(LPCSTR className, LPCSTR windowName);
    static CWnd* PASCAL WindowFromPoint(POINT point);
    static CWnd* PASCAL GetCapture();
    CWnd* SetCapture();

    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR text, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;
    HMENU GetMenuHandle() const;

    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL IsChild(const CWnd* wnd) const;
    BOOL IsWindow() const;
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    void CenterWindow(CWnd* alternateOwner = NULL);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
    void BringWindowToTop();

    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT update = NULL, HRGN region = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL redraw = TRUE);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = NULL);
    BOOL KillTimer(UINT_PTR id);

    int GetScrollPos(int bar) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    int GetScrollLimit(int bar) const;
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT rect = NULL, LPCRECT clipRect = NULL);

    void SetDlgItemText(int id, LPCSTR text);
    int GetDlgItemText(int id, LPSTR text, int maxCount) const;
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = NULL, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    void CheckRadioButton(int firstId, int lastId, int checkId);
    UINT IsDlgButtonChecked(int id) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Moves data between members and controls; FALSE when a value failed to
    // save (its message has been shown, the focus is on its control).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Makes the window from a dialog template: a modeless dialog, a form, a page.
    BOOL CreateDlg(LPCSTR templateName, CWnd* parentWnd);
    virtual BOOL CreateDlgIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parentWnd);
    // NULL (and a debug text) when the resources have no such template.
    static LPCDLGTEMPLATEA PASCAL LoadDialogTemplate(LPCSTR templateName);

    // Lays out the control bars with ids in first..last and gives what is left
    // to the child leftOver (see AfxRepositionBars).
    void RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags = reposDefault,
                        LPRECT rectParam = NULL, LPCRECT rectClient = NULL, BOOL stretch = TRUE);

    // Through ShowMessageBox; the caption defaults to the application name.
    int MessageBox(LPCSTR text, LPCSTR caption = NULL, UINT type = MB_OK);

    // Window messages whose handlers the class library itself supplies.
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnClose();
    void OnNcDestroy();
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnSysColorChange();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem);

protected:
    // The procedure the window had before it was subclassed.
    WNDPROC m_pfnSuper;

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);

    BOOL DispatchWindowMessage(const AFX_MSGMAP_ENTRY* entry, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);
    // The colour messages share one entry; the control may answer when the map does not.
    BOOL OnCtlColorMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    const AFX_MSGMAP_ENTRY* FindWindowMessageEntry(UINT message) const;
    // Child messages that go to the child itself when the parent has no handler.
    BOOL ReflectUnhandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// While locked, the temporary objects of windows, DCs, GDI objects and menus
// stay alive through idle time (a loop of one's own that keeps pointers from
// FromHandle). Unlocking the last lock deletes them when asked; TRUE when it did.
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps(BOOL deleteTemps = TRUE);

// The window procedure of every window that has a permanent object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the object's WindowProc with message as the current message.
LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class with these properties and returns its name,
// which stays valid for the life of the program.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = NULL,
                                  HBRUSH background = NULL, HICON icon = NULL);
#include "platform/mfc/WndMessageMap.h"
