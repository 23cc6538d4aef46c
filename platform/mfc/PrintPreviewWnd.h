// CPrintPreviewWnd: a window beside the program that shows a view's printed
// pages one at a time, drawn as the printer would draw them, with buttons to
// turn to the next or the previous page and to close. Each page is a whole
// small job (OnBeginPrinting, OnPrint, OnEndPrinting) recorded into a
// metafile of the printer's page, so the view keeps nothing of the preview
// between pages and may change meanwhile; once the view is gone, turning a
// page closes the preview instead.
#pragma once

#include "platform/mfc/Wnd.h"

#include <memory>

class CPrintInfo;
class CView;

// Commands of the preview's buttons.
const UINT ID_PREVIEW_CLOSE = 0xE300;
const UINT ID_PREVIEW_NEXT = 0xE301;
const UINT ID_PREVIEW_PREV = 0xE302;

class CPrintPreviewWnd : public CWnd
{
public:
    // info holds the printer DC the pages are measured on.
    CPrintPreviewWnd(CView* view, std::unique_ptr<CPrintInfo> info);
    ~CPrintPreviewWnd() override;

    // Shows the first page in a window owned by owner.
    BOOL Create(CWnd* owner);
    UINT GetPage() const { return m_page; }
    // As the view counted them for the page shown last.
    UINT GetPageCount() const { return m_pageCount; }
    // Shows a page, kept inside the first and the last.
    void GoToPage(UINT page);
    // The page shown, as the printer would draw it; NULL when there is none.
    HENHMETAFILE GetPagePicture() const { return m_picture; }

    // Page Down and Page Up turn the pages, Escape closes, wherever the
    // focus is in the window.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PostNcDestroy() override;
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnNextPage();
    void OnPrevPage();
    void OnPreviewClose();
    DECLARE_MESSAGE_MAP()

private:
    bool ViewAlive() const;
    // Records page m_page into m_picture.
    void Render();
    void UpdateControls();
    // Where the page is drawn in the client area, with the printer's proportions.
    CRect PageRect() const;

    CView* m_view;
    HWND m_viewWnd;
    std::unique_ptr<CPrintInfo> m_info;
    HENHMETAFILE m_picture;
    UINT m_page;
    UINT m_pageCount;
};
