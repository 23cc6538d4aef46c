#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/CmdUI.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget()
{
}

CCmdTarget::~CCmdTarget()
{
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP map = {NULL, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* map, UINT message,
                                                     UINT code, UINT id)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL)
    {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry)
        {
            if (entry->nMessage == message && entry->nCode == code && id >= entry->nID &&
                id <= entry->nLastID)
                return entry;
        }
    }
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // Plain commands and control codes come as they are; codes of other
    // messages carry the message in the high word.
    UINT message = WM_COMMAND;
    UINT entryCode = (UINT)code;
    if (code != CN_UPDATE_COMMAND_UI && HIWORD(code) != 0)
    {
        message = HIWORD(code);
        entryCode = LOWORD(code);
    }
    if (message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_NOTIFY ||
        message == WM_REFLECT_BASE + WM_COMMAND)
        entryCode = (WORD)entryCode;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), message, entryCode, id);
    if (!entry)
        return FALSE;
    return DispatchCmdMsg(id, code, entry->pfn, extra, entry->nSig, handlerInfo);
}

BOOL CCmdTarget::DispatchCmdMsg(UINT id, int code, AFX_PMSG pfn, void* extra, UINT_PTR sig,
                                AFX_CMDHANDLERINFO* handlerInfo)
{
    if (handlerInfo)
    {
        handlerInfo->pTarget = this;
        handlerInfo->pmf = pfn;
        return TRUE;
    }
    AFX_NOTIFY* notify = (AFX_NOTIFY*)extra;
    switch (sig)
    {
    case AfxSig_vv:
        (this->*pfn)();
        return TRUE;
    case AfxSig_bv:
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)()>(pfn))();
    case AfxSig_vw:
        (this->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(id);
        return TRUE;
    case AfxSig_bw:
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(pfn))(id);
    case AfxSig_cmdui:
    {
        CCmdUI* cmdUI = (CCmdUI*)extra;
        // The handler may ask to pass the update on to the next target.
        cmdUI->m_bContinueRouting = FALSE;
        (this->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(cmdUI);
        return !cmdUI->m_bContinueRouting;
    }
    case AfxSig_notify:
        (this->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(notify->pNMHDR,
                                                                               notify->pResult);
        return TRUE;
    case AfxSig_bnotify:
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
            notify->pNMHDR, notify->pResult);
    case AfxSig_notifyw:
        (this->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            id, notify->pNMHDR, notify->pResult);
        return TRUE;
    case AfxSig_bnotifyw:
        return (this->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            id, notify->pNMHDR, notify->pResult);
    default:
        return FALSE;
    }
}
