// TkMultiDocTemplate: a document template whose documents open either in MDI
// child frames or as docking views: a TkDockableFrame inside a control bar
// (a TkFrameBar) docked to a side of the main frame. An open document moves
// between the two forms keeping the document and its views. The template
// carries its own menu and accelerators for its docking frames, and the
// caption feature flags its frames get.
//
// The main frame uses it like any template: registered with the application,
// OpenDocumentFileEx(path, visible, TRUE) opens a document docked at the next
// side of the main frame's dock order, ToggleDocking(frame) moves it.
#pragma once

#include "toolkit/frames/TkMDIFrameWnd.h"

#include <afxext.h>

class CView;
class ITkVwDockFeedBack;

class TkMultiDocTemplate : public CMultiDocTemplate
{
    DECLARE_DYNAMIC(TkMultiDocTemplate)
public:
    // Caption feature flags of the frames (TkCaptionFeatures' bits).
    enum
    {
        featureFilters = 1,
        featureNoCaptionButtons = 2,
        featureNoCaptionDoubleClick = 4,
        featureNoCaptionContextMenu = 8,
        kDefaultFeatures = 7,
    };

    // NULL classes take TkMDIChildWnd, TkDockableFrame and TkFrameBar; menu id
    // 0 takes the resource id; features -1 take kDefaultFeatures.
    TkMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                       CRuntimeClass* viewClass, UINT menuId = 0,
                       CRuntimeClass* dockableFrameClass = NULL,
                       CRuntimeClass* frameBarClass = NULL, DWORD features = (DWORD)-1);
    ~TkMultiDocTemplate() override;

    // Also loads the own menu and accelerators of the menu id.
    void LoadTemplate() override;
    CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other) override;

    // An MDI child, or with dock a docking frame at the main frame's next
    // dock place; barId 0 lets the main frame choose the bar's id.
    virtual CFrameWnd* CreateNewFrameEx(CDocument* doc, CFrameWnd* other, BOOL dock, int barId);
    virtual CDocument* OpenDocumentFileEx(LPCSTR pathName, BOOL makeVisible, BOOL dock, int barId);
    // Moves the frame's document and views to the other form; the new frame.
    virtual CFrameWnd* ToggleDocking(CFrameWnd* frame);
    // A frame bar docked at dockBarId with a dockable frame in it; a missing
    // dock bar id (0), placement or size comes from the main frame's dock
    // order. NULL when the bar or the frame cannot be made.
    virtual CFrameWnd* CreateDockingFrame(CDocument* doc, CFrameWnd* other, UINT dockBarId,
                                          const TkMDIFrameWnd::DockPlacement* placement,
                                          const TkMDIFrameWnd::DockSize* size);
    virtual BOOL IsDockableFrame(CFrameWnd* frame);
    // 0 top, 1 left, 2 bottom, 3 right, 4 floating, -1 none.
    virtual int GetDockSide(CFrameWnd* frame);
    // NULL when the frame is a docking frame already.
    virtual CFrameWnd* DockFrame(CFrameWnd* frame, UINT dockBarId,
                                 const TkMDIFrameWnd::DockPlacement* placement,
                                 const TkMDIFrameWnd::DockSize* size);
    virtual CFrameWnd* DockFrame(CFrameWnd* frame);
    // NULL unless the frame is a docking frame.
    virtual CFrameWnd* UndockFrame(CFrameWnd* frame);
    virtual void MoveViews(CFrameWnd* from, CFrameWnd* to);
    virtual BOOL ActivateNewFrame(CFrameWnd* frame);
    virtual void ApplyFeatures(CFrameWnd* frame, DWORD flags);
    virtual void EnableCaptionButtons(BOOL enable, BOOL apply);
    virtual void EnableCaptionDoubleClick(BOOL enable, BOOL apply);
    virtual void EnableCaptionContextMenu(BOOL enable, BOOL apply);
    virtual BOOL HasCaptionButtons();
    virtual BOOL HasCaptionDoubleClick();
    virtual BOOL HasCaptionContextMenu();
    // Both flag words; with apply, a change reaches every open frame.
    virtual void ModifyFeatures(DWORD remove, DWORD add, BOOL apply);
    virtual void ApplyFeaturesToAllFrames();
    virtual ITkVwDockFeedBack* GetDockFeedBack(CView* view);

    CRuntimeClass* m_pDockableFrameClass;
    CRuntimeClass* m_pFrameBarClass;
    BOOL m_bDockOnCreate;
    UINT m_nMenuId;
    DWORD m_dwMDIFrameFeatures;
    DWORD m_dwDockedFrameFeatures;
    int m_nControlBarId;
    HMENU m_hOwnMenu;
    HACCEL m_hOwnAccel;

protected:
    // Changes the flags only when the feature's state changes.
    void SwitchFeature(BOOL enable, BOOL enabled, DWORD bit, BOOL apply);
    // Moves the views from old to a new frame, tells the active view's
    // feedback before and after, and destroys old.
    void HandOver(CFrameWnd* old, CFrameWnd* frame, BOOL docking);
};
