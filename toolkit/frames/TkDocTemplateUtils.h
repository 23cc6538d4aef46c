// TkDocTemplateUtils: finds the application's document templates for
// frames, views and documents; stateless, its operations overridable.
// The free functions answer the child frames' and dockable frames'
// questions about the main frame's other MDI children and docking frames.
#pragma once

#include <afxext.h>

class TkDocTemplateUtils
{
public:
    virtual ~TkDocTemplateUtils() {}

    // Index among the templates of that file-type name; -1 when not found.
    virtual int GetTemplateIndex(CDocTemplate* docTemplate, LPCSTR fileTypeName);
    // The match of that index, or the last match when fewer exist; NULL for none.
    virtual CDocTemplate* FindTemplate(LPCSTR fileTypeName, int index);
    // The template that made them; NULL when any is missing.
    virtual CDocTemplate* FindTemplate(CDocument* doc, CView* view, CFrameWnd* frame);
    // 0 for no frame.
    virtual UINT GetFrameResourceID(CFrameWnd* frame);
    virtual BOOL GetAllTemplates(CPtrList& list);
    virtual BOOL KeepByViewAndFrame(CPtrList& list, CView* view, CFrameWnd* frame);
    virtual BOOL KeepByResourceID(CPtrList& list, CFrameWnd* frame);
    virtual BOOL KeepByDocumentClass(CPtrList& list, CDocument* doc);
    // None or one: TRUE with it (or NULL); several: FALSE.
    virtual BOOL GetUnique(CPtrList& list, CDocTemplate*& docTemplate);
    virtual BOOL IsDockableFrameClass(CRuntimeClass* frameClass);
    // A docking frame's class only for a TkMultiDocTemplate, else NULL.
    virtual CRuntimeClass* GetFrameClass(CDocTemplate* docTemplate, BOOL dockable);
};

// Whether an MDI child of the main frame other than exclude is visible.
BOOL AnyOtherMDIChildVisible(CWnd* exclude);
// Whether the window and all its parents are visible (a bar by its own
// visibility).
BOOL IsWindowChainVisible(CWnd* window);
// Makes the first visible docking frame other than exclude the main frame's
// active docked frame unless a visible one is active; TRUE when it did.
BOOL ActivateNextDockedFrame(CFrameWnd* exclude);
