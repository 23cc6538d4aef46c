// A banner form view around the form's list control (a CLxListCtrl whose
// rows the view answers by index): its pictures, its columns from a table
// with their layout kept in the profile under the list's name, and the
// document's list font.
#pragma once

#include "library/views/BannerFormView.h"
#include "library/views/ViewResources.h"

#include "listctrl/LxListCtrl.h"

#include <afxcmn.h>

struct ListColumn
{
    int id;
    const char* label;
    int width;
    DWORD format;
    int headerImage;
    const char* description;
    int alignment = LVCFMT_LEFT;
};

class CListFormView : public CBannerFormView
{
    DECLARE_DYNAMIC(CListFormView)
public:
    CLxListCtrl& GetList() { return m_list; }
    BOOL PreTranslateMessage(MSG* msg) override;
    // The first submenu of a menu resource at a screen point, its commands
    // going to owner.
    static void TrackMenu(UINT menuId, CPoint screenPoint, CWnd* owner);

protected:
    CListFormView(const char* caption, const char* listName, const ListColumn* columns, int columnCount,
                  const int* shownIds, int shownCount, UINT templateId = IDD_LIST_FORM);

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void Layout(int cx, int cy) override;
    void ApplyListLook();
    // While a drag hovers near the top or bottom edge of the view (a point
    // of its client area), the list scrolls by a step.
    void ScrollNearEdges(CPoint point);
    // The Delete key pressed in the list.
    virtual void OnDeleteKey() {}
    // The row and column id of a cell's text; the list asks for each cell.
    virtual void GetCellText(int row, int columnId, CString& text) = 0;
    // Whether the list keeps its rows' item data itself, the form's
    // owner-data list view holding only their count; else the view answers
    // its rows by index.
    virtual bool KeepsRowData() const { return false; }

    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CLxListCtrl m_list;
    CImageList m_cellImages;
    CImageList m_headerImages;

private:
    void CellText(int row, int columnId, DWORD_PTR itemData, CString& text);
    void DefineColumns();

    const char* m_listName;
    const ListColumn* m_columns;
    int m_columnCount;
    const int* m_shownIds;
    int m_shownCount;
};
