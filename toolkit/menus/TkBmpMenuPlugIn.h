// TkBmpMenuPlugIn: makes the popup menus of the window it listens to
// owner-drawn, so that each command shows the image of its tool-bar button
// (from a TkBmpMgr) beside its text, with the accelerator text right-aligned.
// Items another party draws itself are never touched; when the plug-in goes,
// every item it converted becomes a plain text item again.
#pragma once

#include "toolkit/docking/TkWndPlugIn.h"
#include "toolkit/frames/TkFrameMenuPlugIn.h"

#include <utility>
#include <vector>

class TkBmpMgr;

class TkBmpMenuItemInfo : public CObject
{
public:
    TkBmpMenuItemInfo(UINT id, const CString& text);

    UINT m_nID;
    // The item's text before the conversion.
    CString m_strText;
    // The lower-cased character after the first "&", 0 when none.
    char m_chMnemonic;
};

class TkBmpMenuPlugIn : public TkWndListener, public TkFrameMenuPlugIn
{
    DECLARE_DYNAMIC(TkBmpMenuPlugIn)
public:
    explicit TkBmpMenuPlugIn(BOOL radioDot = FALSE);
    ~TkBmpMenuPlugIn() override;

    virtual void PurgeMenus();
    virtual void CreateMenuFont();
    virtual void CreateBoldMenuFont();
    // Monochrome mask of one image of the strip selected in dc: 0 on the
    // image, 1 on the face and highlight colours.
    virtual void CreateImageMask(CDC* dc, CBitmap* mask, int width, int height, int imageX);
    virtual void DrawCheckedPattern(CDC* dc, int x, int y, int width, int height, CDC* maskDC);
    virtual void DrawDisabledImage(CDC* dc, int x, int y, int width, int height, CDC* maskDC);
    virtual void DrawItemImage(const DRAWITEMSTRUCT* item, CDC* dc, const CRect& column,
                               HBITMAP image, int index, int width, int height);

    // Bitmap menus with the radio dot, plugged into frame: the factory a
    // frame without a menu bar is handed.
    static TkFrameMenuPlugIn* PlugInBmpMenus(CFrameWnd* frame);
    BOOL PreTranslateFrameMessage(MSG* msg) override;
    // None: a menu bar's plug-in does.
    BOOL ActivateMenu(UINT menuId) override;

    // A shared manager (menus keep small images while tool bars show large).
    void SetBmpMgr(TkBmpMgr* manager) override;
    TkBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    // Items of this command are owner-drawn by somebody else.
    void ExcludeCommand(UINT id);
    BOOL IsExcluded(UINT id) const;
    void InitMenuPopup(HMENU menu, LPARAM lParam);
    // The plug-in's info of that item data in menu, NULL when not its own.
    TkBmpMenuItemInfo* FindInfo(HMENU menu, ULONG_PTR itemData) const;

protected:
    // An item converted by the plug-in: its position, type and info.
    struct Converted
    {
        UINT position;
        UINT type;
        TkBmpMenuItemInfo* info;
    };
    // A copy of the menu map's entries.
    std::vector<std::pair<HMENU, CPtrList*>> Menus() const;
    static std::vector<Converted> ConvertedItems(HMENU menu, const CPtrList* infos);
    CPtrList* InfoList(HMENU menu, BOOL create);
    void RefreshColors();
    void CreateRadioDot();
    void RemeasureItems();
    void RestoreMenus();
    void DrawItemText(const DRAWITEMSTRUCT* item, CDC* dc, const CRect& area,
                      const TkBmpMenuItemInfo* info);
    void DrawCheckMark(const DRAWITEMSTRUCT* item, CDC* dc, const CRect& box);
    CFont* ItemFont(BOOL bold);

    LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItemMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItemMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuCharMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysColorChangeMsg(WPARAM wParam, LPARAM lParam);
    // Marks the message as the plug-in's own: the window does not see it.
    void Handled(LRESULT result);
    DECLARE_MESSAGE_MAP()

    CMapPtrToPtr m_menus;
    CMap<UINT, UINT, UINT, UINT> m_excluded;
    BOOL m_bRadioDot;
    TkBmpMgr* m_pBmpMgr;
    CFont m_menuFont;
    CFont m_boldFont;
    CBitmap m_pattern;
    // The radio items' check bitmap with the radio-dot option.
    CBitmap m_radioDot;
    COLORREF m_clrFace, m_clrPatternLight, m_clrEmbossLight, m_clrShadow, m_clrHighlight,
        m_clrMenu, m_clrGrayText, m_clrHighlightText, m_clrMenuText;
};
