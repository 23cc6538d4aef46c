// CCmdTarget: the base of every object that takes commands and messages, with
// the message maps that bind messages, commands and notifications to handlers.
#pragma once

#include <afx.h>

class CCmdTarget;
class CCmdUI;

typedef void (CCmdTarget::*AFX_PMSG)();

// The handler kinds a map entry can name. The dispatcher calls each through its
// own type, so every entry macro casts its handler from exactly that type.
enum AfxSig
{
    AfxSig_end = 0,
    AfxSig_vv,           // void ()
    AfxSig_bv,           // BOOL ()
    AfxSig_vw,           // void (UINT)                       command or control ranges
    AfxSig_bw,           // BOOL (UINT)                       ON_COMMAND_EX
    AfxSig_cmdui,        // void (CCmdUI*)
    AfxSig_cmduiw,       // void (CCmdUI*, UINT)              update ranges with the id
    AfxSig_notify,       // void (NMHDR*, LRESULT*)
    AfxSig_bnotify,      // BOOL (NMHDR*, LRESULT*)           reflected, may pass on
    AfxSig_notifyw,      // void (UINT, NMHDR*, LRESULT*)     notification ranges
    AfxSig_bnotifyw,     // BOOL (UINT, NMHDR*, LRESULT*)     ON_NOTIFY_EX
    AfxSig_lwl,          // LRESULT (WPARAM, LPARAM)          ON_MESSAGE
    AfxSig_vwl,          // void (WPARAM, LPARAM)             ON_THREAD_MESSAGE
    // Window messages, named after their parameters.
    AfxSig_is,           // int (LPCREATESTRUCT)
    AfxSig_vs,           // void (pointer in lParam)
    AfxSig_vwii,         // void (UINT, int, int)
    AfxSig_vMove,        // void (int, int)                   WM_MOVE
    AfxSig_vwww,         // void (UINT, UINT, UINT)
    AfxSig_vwp,          // void (UINT, CPoint)
    AfxSig_vWp,          // void (CWnd*, CPoint)
    AfxSig_vW,           // void (CWnd*)
    AfxSig_vt,           // void (UINT_PTR)                   WM_TIMER
    AfxSig_vwl2,         // void (UINT, LPARAM)
    AfxSig_vwWb,         // void (UINT, CWnd*, BOOL)
    AfxSig_bb,           // BOOL (BOOL)
    AfxSig_bWww,         // BOOL (CWnd*, UINT, UINT)          WM_SETCURSOR
    AfxSig_iWww,         // int (CWnd*, UINT, UINT)           WM_MOUSEACTIVATE
    AfxSig_vbw,          // void (BOOL, UINT)                 WM_SHOWWINDOW
    AfxSig_vis,          // void (int, pointer in lParam)     owner-drawn items
    AfxSig_vMwb,         // void (CMenu*, UINT, BOOL)         WM_INITMENUPOPUP
    AfxSig_vwwh,         // void (UINT, UINT, HMENU)          WM_MENUSELECT
    AfxSig_vwwS,         // void (UINT, UINT, CScrollBar*)    scrolling
    AfxSig_bD,           // BOOL (CDC*)                       WM_ERASEBKGND
    AfxSig_hDWw,         // HBRUSH (CDC*, CWnd*, UINT)        WM_CTLCOLOR
    AfxSig_hDw,          // HBRUSH (CDC*, UINT)               WM_CTLCOLOR reflected
    AfxSig_vww,          // void (UINT, UINT)                 scrolling reflected
    AfxSig_lp,           // LRESULT (CPoint)                  hit tests
    AfxSig_vh,           // void (HANDLE in wParam)           WM_DROPFILES
    AfxSig_vwSz,         // void (UINT, LPCSTR)               WM_SETTINGCHANGE
    AfxSig_vwW,          // void (UINT, CWnd*)                WM_ENTERIDLE
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;   // control or notification code; a command's kind
    UINT nID;     // first control or command id
    UINT nLastID; // last id of a range
    // An AfxSig, or for registered messages the address of the UINT that
    // holds the message number.
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled instead of calling the handler when only its existence is asked.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// The extra data of a WM_NOTIFY routed as a command.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Command kinds. Other codes given to OnCmdMsg are control notification codes;
// MAKELONG(code, message) routes a code of another message (WM_NOTIFY, or a
// reflected one).
const int CN_COMMAND = 0;
const int CN_UPDATE_COMMAND_UI = -1;
// Notifications sent back to the control that sent them are this plus the message.
const UINT WM_REFLECT_BASE = 0xBC00;

// Registered message numbers begin here; entries for them carry this number.
const UINT kRegisteredMessageEntry = 0xC000;

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Looks for a handler of command id with kind code in this object's map
    // (and its bases'); TRUE when one took it.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);

    // The first entry in this map chain for message, code and id, or NULL.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message,
                                                   UINT code, UINT id);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls a command, update or notification handler by its signature.
    BOOL DispatchCmdMsg(UINT id, int code, AFX_PMSG pfn, void* extra, UINT_PTR sig,
                        AFX_CMDHANDLERINFO* handlerInfo);
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0 } \
        }; \
        static const AFX_MSGMAP map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map; \
    }

// Casts a handler of the named type, which checks its signature at compile time.
#define AFX_MSG_HANDLER(type, memberFxn) \
    reinterpret_cast<AFX_PMSG>(static_cast<type>(memberFxn))

#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_vv, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(), &ThisClass::memberFxn) },
#define ON_COMMAND_EX(id, memberFxn) \
    { WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_bw, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(UINT), &ThisClass::memberFxn) },
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_vw, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(UINT), &ThisClass::memberFxn) },
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_bw, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(UINT), &ThisClass::memberFxn) },
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    { WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSig_cmdui, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn) },
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSig_cmdui, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn) },
#define ON_CONTROL(code, id, memberFxn) \
    { WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSig_vv, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(), &ThisClass::memberFxn) },
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) \
    { WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSig_vw, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(UINT), &ThisClass::memberFxn) },
#define ON_NOTIFY(code, id, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(id), AfxSig_notify, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn) },
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(idLast), AfxSig_notifyw, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn) },
#define ON_NOTIFY_EX(code, id, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(id), AfxSig_bnotifyw, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn) },
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(code), (UINT)(id), (UINT)(idLast), AfxSig_bnotifyw, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn) },
#define ON_NOTIFY_REFLECT(code, memberFxn) \
    { WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(code), 0, 0, AfxSig_notify, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn) },
#define ON_NOTIFY_REFLECT_EX(code, memberFxn) \
    { WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(code), 0, 0, AfxSig_bnotify, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn) },
#define ON_CONTROL_REFLECT(code, memberFxn) \
    { WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(code), 0, 0, AfxSig_vv, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(), &ThisClass::memberFxn) },
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    { WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(code), 0, 0, AfxSig_bv, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(), &ThisClass::memberFxn) },
#define ON_THREAD_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, AfxSig_vwl, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::memberFxn) },
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
    { kRegisteredMessageEntry, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::memberFxn) },

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
