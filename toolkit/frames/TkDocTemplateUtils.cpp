#include "toolkit/frames/TkDocTemplateUtils.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"

#include <functional>

namespace
{
// Removes the templates for which keep answers FALSE.
void KeepOnly(CPtrList& list, const std::function<BOOL(CDocTemplate*)>& keep)
{
    POSITION position = list.GetHeadPosition();
    while (position)
    {
        POSITION at = position;
        if (!keep(static_cast<CDocTemplate*>(list.GetNext(position))))
            list.RemoveAt(at);
    }
}

BOOL HasFileTypeName(CDocTemplate* docTemplate, LPCSTR fileTypeName)
{
    CString name;
    docTemplate->GetDocString(name, CDocTemplate::regFileTypeName);
    return name == fileTypeName;
}

CMDIFrameWnd* MainMDIFrame()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(main)
                                                                : NULL;
}

// A visible docking frame other than exclude.
BOOL IsOtherVisibleDockingFrame(CFrameWnd* frame, CFrameWnd* exclude)
{
    return frame && frame != exclude && frame->IsKindOf(RUNTIME_CLASS(TkDockableFrame)) &&
           IsWindowChainVisible(frame);
}

// The parent frame of the first view, over every document of every
// template, for which accept answers TRUE.
CFrameWnd* FindViewFrame(const std::function<BOOL(CFrameWnd*)>& accept)
{
    CWinApp* app = AfxGetApp();
    POSITION templates = app && app->m_pDocManager ? app->GetFirstDocTemplatePosition() : NULL;
    while (templates)
    {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(templates);
        POSITION docs = docTemplate->GetFirstDocPosition();
        while (docs)
        {
            CDocument* doc = docTemplate->GetNextDoc(docs);
            POSITION views = doc->GetFirstViewPosition();
            while (views)
            {
                CFrameWnd* frame = doc->GetNextView(views)->GetParentFrame();
                if (accept(frame))
                    return frame;
            }
        }
    }
    return NULL;
}
}  // namespace

int TkDocTemplateUtils::GetTemplateIndex(CDocTemplate* docTemplate, LPCSTR fileTypeName)
{
    CPtrList list;
    if (!GetAllTemplates(list))
        return -1;
    int index = 0;
    POSITION position = list.GetHeadPosition();
    while (position)
    {
        CDocTemplate* candidate = static_cast<CDocTemplate*>(list.GetNext(position));
        if (!HasFileTypeName(candidate, fileTypeName))
            continue;
        if (candidate == docTemplate)
            return index;
        index++;
    }
    return -1;
}

CDocTemplate* TkDocTemplateUtils::FindTemplate(LPCSTR fileTypeName, int index)
{
    CPtrList list;
    GetAllTemplates(list);
    CDocTemplate* found = NULL;
    int matches = 0;
    POSITION position = list.GetHeadPosition();
    while (position && matches <= index)
    {
        CDocTemplate* candidate = static_cast<CDocTemplate*>(list.GetNext(position));
        if (!HasFileTypeName(candidate, fileTypeName))
            continue;
        found = candidate;
        matches++;
    }
    return found;
}

CDocTemplate* TkDocTemplateUtils::FindTemplate(CDocument* doc, CView* view, CFrameWnd* frame)
{
    if (!doc || !view || !frame)
        return NULL;
    CPtrList list;
    GetAllTemplates(list);
    CDocTemplate* found = NULL;
    if (GetUnique(list, found))
        return found;
    KeepByViewAndFrame(list, view, frame);
    if (GetUnique(list, found))
        return found;
    KeepByResourceID(list, frame);
    if (GetUnique(list, found))
        return found;
    KeepByDocumentClass(list, doc);
    if (GetUnique(list, found))
        return found;
    if (list.Find(doc->GetDocTemplate()))
        return doc->GetDocTemplate();
    return static_cast<CDocTemplate*>(list.GetHead());
}

UINT TkDocTemplateUtils::GetFrameResourceID(CFrameWnd* frame)
{
    return frame ? frame->m_nIDHelp : 0;
}

BOOL TkDocTemplateUtils::GetAllTemplates(CPtrList& list)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    POSITION position = app->m_pDocManager ? app->GetFirstDocTemplatePosition() : NULL;
    while (position)
        list.AddTail(app->GetNextDocTemplate(position));
    return TRUE;
}

BOOL TkDocTemplateUtils::KeepByViewAndFrame(CPtrList& list, CView* view, CFrameWnd* frame)
{
    if (!view || !frame)
        return FALSE;
    BOOL dockable = IsDockableFrameClass(frame->GetRuntimeClass());
    KeepOnly(list, [&](CDocTemplate* docTemplate) {
        return docTemplate->m_pViewClass == view->GetRuntimeClass() &&
               GetFrameClass(docTemplate, dockable) == frame->GetRuntimeClass();
    });
    return TRUE;
}

BOOL TkDocTemplateUtils::KeepByResourceID(CPtrList& list, CFrameWnd* frame)
{
    UINT id = GetFrameResourceID(frame);
    KeepOnly(list, [&](CDocTemplate* docTemplate) { return docTemplate->m_nIDResource == id; });
    return TRUE;
}

BOOL TkDocTemplateUtils::KeepByDocumentClass(CPtrList& list, CDocument* doc)
{
    if (!doc)
        return FALSE;
    KeepOnly(list, [&](CDocTemplate* docTemplate) {
        return docTemplate->m_pDocClass == doc->GetRuntimeClass();
    });
    return TRUE;
}

BOOL TkDocTemplateUtils::GetUnique(CPtrList& list, CDocTemplate*& docTemplate)
{
    if (list.GetCount() > 1)
        return FALSE;
    docTemplate = list.IsEmpty() ? NULL : static_cast<CDocTemplate*>(list.GetHead());
    return TRUE;
}

BOOL TkDocTemplateUtils::IsDockableFrameClass(CRuntimeClass* frameClass)
{
    return frameClass && frameClass->IsDerivedFrom(RUNTIME_CLASS(TkDockableFrame));
}

CRuntimeClass* TkDocTemplateUtils::GetFrameClass(CDocTemplate* docTemplate, BOOL dockable)
{
    if (!dockable)
        return docTemplate->m_pFrameClass;
    return docTemplate->IsKindOf(RUNTIME_CLASS(TkMultiDocTemplate))
               ? static_cast<TkMultiDocTemplate*>(docTemplate)->m_pDockableFrameClass
               : NULL;
}

BOOL AnyOtherMDIChildVisible(CWnd* exclude)
{
    CMDIFrameWnd* main = MainMDIFrame();
    if (!main || !main->m_hWndMDIClient)
        return FALSE;
    for (HWND child = ::GetWindow(main->m_hWndMDIClient, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (child != exclude->GetSafeHwnd() && (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE))
            return TRUE;
    }
    return FALSE;
}

BOOL IsWindowChainVisible(CWnd* window)
{
    for (HWND at = window->GetSafeHwnd(); at; at = ::GetParent(at))
    {
        CWnd* permanent = CWnd::FromHandlePermanent(at);
        BOOL visible = permanent && permanent->IsKindOf(RUNTIME_CLASS(CControlBar))
                           ? static_cast<CControlBar*>(permanent)->IsVisible()
                           : (::GetWindowLongA(at, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!visible)
            return FALSE;
    }
    return window && window->m_hWnd;
}

BOOL ActivateNextDockedFrame(CFrameWnd* exclude)
{
    CWnd* mainWnd = AfxGetMainWnd();
    if (!mainWnd || !mainWnd->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)))
        return FALSE;
    TkMDIFrameWnd* main = static_cast<TkMDIFrameWnd*>(mainWnd);
    if (IsOtherVisibleDockingFrame(main->GetActiveFrame(), exclude))
        return FALSE;
    CFrameWnd* next =
        FindViewFrame([&](CFrameWnd* frame) { return IsOtherVisibleDockingFrame(frame, exclude); });
    if (!next)
        return FALSE;
    main->ActivateDockedFrame(next);
    return TRUE;
}
