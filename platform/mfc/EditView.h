// CEditView: a view that is a multi-line edit control.
#pragma once

#include "platform/mfc/View.h"

class CEdit;

class CEditView : public CView
{
    DECLARE_DYNCREATE(CEditView)
public:
    static const DWORD dwStyleDefault;

    CEditView();
    // The view itself, as the edit control it is.
    CEdit& GetEditCtrl() const;
    void OnDraw(CDC* dc) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // The control paints itself.
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
