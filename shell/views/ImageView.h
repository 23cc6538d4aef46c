// The cover image of the selected album or track: found in the image folder
// by a fixed order of names, drawn plainly, stretched or fitted, replaced by
// one image file dropped from the shell. The "Image" menu's commands go to
// the document.
#pragma once

#include "image/Image.h"

#include <afxwin.h>

#include <memory>

class CZymDoc;

class CImageView : public CScrollView
{
    DECLARE_DYNCREATE(CImageView)
public:
    CImageView();
    ~CImageView() override;

    // Loads by the name's extension; false, with no image kept, unless it
    // has pixels.
    bool LoadImage(const CString& path);
    // Sets the file as the image of the one selected entry; false when the
    // selection is not one entry of the library.
    bool TakeDroppedFile(const CString& path);

    const CImage* GetImage() const { return m_image.get(); }
    // In lower case.
    const CString& GetShownPath() const { return m_path; }
    const CString& GetMessageText() const { return m_message; }

    void OnDraw(CDC* dc) override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT, int, int) {}
    void OnDropFiles(HDROP drop);
    void OnRButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CZymDoc* GetDoc();
    void ShowMessage(const char* text);
    // The selection's entry, or a message; false when the view shows a message.
    bool ShowSelection(LPARAM hint);
    void UpdateScrollSizes();
    void DrawMessage(CDC* dc, const CRect& client);
    // The image's place in the client area by the options.
    CRect ImageRect(const CRect& client);

    std::unique_ptr<CImage> m_image;
    CString m_path;
    CString m_message;
};
