// CLxInPlaceCell: the editor a CLxListCtrl opens over a cell of a drop-list
// or drop-down-list column: the value with a combo button at its right edge
// that drops the choices (CLxDropListBox). A drop list only chooses (a
// static text, CLxDropListStatic); a drop-down list also takes typed text
// completed from the choices (CLxInPlaceRichEdit). A changed value reaches
// the list's parent as LVN_ENDLABELEDIT from the list; the editor deletes
// itself once its window is gone.
#pragma once

#include "listctrl/LxDropListBox.h"
#include "listctrl/LxMenuRichEdit.h"

#include <afxcmn.h>

class CLxListCtrl;
class CLxInPlaceCell;

class CLxInPlaceRichEdit : public CLxMenuRichEdit
{
public:
    CLxInPlaceRichEdit(CLxInPlaceCell* editor, bool clickThrough);

    BOOL PreTranslateMessage(MSG* msg) override;
    // Completes the typed text from the choices (the editor's EN_CHANGE).
    void Complete();
    const CString& GetFinalText() const { return m_finalText; }

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);
    void OnLButtonDblClk(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CLxInPlaceCell* m_editor;
    bool m_clickThrough;
    // Set by Delete and Backspace: the next change is not completed.
    bool m_deleting;
    bool m_completing;
    CString m_finalText;
};

class CLxDropListStatic : public CStatic
{
public:
    explicit CLxDropListStatic(CLxInPlaceCell* editor) : m_editor(editor) {}

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CLxInPlaceCell* m_editor;
};

class CLxInPlaceCell : public CWnd
{
public:
    // Takes the choices (may be null).
    CLxInPlaceCell(int row, int column, const CString& text, CStringArray* choices,
                   bool editable, bool clickThrough);
    ~CLxInPlaceCell() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreTranslateMessage(MSG* msg) override;

    void SetOwnFont(HFONT font) { m_font = font; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SelectChoice(int index);
    void StepChoice(int delta) { SelectChoice(m_current + delta); }
    int FindChoice(int start, const CString& text) const;
    int FindPrefix(int start, const CString& prefix) const;
    CString NextByFirstLetter(char letter);
    // Sends a changed value; text null: the shown one.
    void Commit(const char* text);
    // The rich edit lost the focus, holding this text.
    void ChildLostFocus(HWND newFocus, const CString& text);
    void RepaintButton();
    bool OwnsWindow(HWND window);
    CLxListCtrl* List() const;
    HFONT Font() const;
    COLORREF GetTextColor() const { return m_textColor; }
    CString GetShownText() const;
    int GetChoiceCount() const { return m_choices ? (int)m_choices->GetSize() : 0; }
    CString GetChoice(int index) const { return m_choices->GetAt(index); }
    // Keys of the editor and of its rich edit: Enter, Esc and Tab.
    bool HandleKey(UINT key);

protected:
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnKillFocus(CWnd* newWnd);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* oldWnd);
    LRESULT OnSetChoice(WPARAM index, LPARAM text);
    DECLARE_MESSAGE_MAP()

private:
    CRect ButtonRect() const;
    void ShowText(const CString& text);
    void OpenDropList();
    void LeaveCell(int direction);
    void Close();

    HFONT m_font;
    bool m_flat;
    bool m_clickThrough;
    int m_current;
    bool m_editable;
    int m_buttonWidth;
    int m_row;
    int m_column;
    CString m_value;
    bool m_cancelled;
    bool m_closing;
    CStringArray* m_choices;
    CBitmap m_comboBitmap;
    CLxInPlaceRichEdit m_richEdit;
    CLxDropListStatic m_static;
    CLxDropListBox m_dropList;
    COLORREF m_textColor;
};
