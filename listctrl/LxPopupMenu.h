// CLxPopupMenu: turns a popup menu into an owner-drawn one that shows the
// images of a tool-bar resource beside its commands, in the system's menu
// font. The list's header menu and the editors' edit menus are built on the
// stack through Show.
#pragma once

#include <afxcmn.h>

#include <memory>
#include <vector>

// One entry of a menu built by CLxPopupMenu::Show; id 0 is a separator.
struct LxMenuEntry
{
    UINT id;
    const char* text;
};

class CLxPopupMenu : public CMenu
{
public:
    CLxPopupMenu();
    ~CLxPopupMenu() override;

    // Builds a popup of the entries with the images of tool bar 300, enables
    // its commands as the owner's update handlers say and tracks it with the
    // right button at a screen point; the chosen command goes to the owner.
    static void Show(const LxMenuEntry* entries, int count, CWnd* owner, POINT screen);

    BOOL LoadToolBarImages(UINT resourceId);
    void MakeOwnerDrawn(CMenu* menu);
    void UpdateCommandUI(CMenu* menu, CWnd* owner);
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override;
    void DrawItem(LPDRAWITEMSTRUCT draw) override;
    int FindImage(UINT commandId) const;

    // What an owner-drawn item shows: an image index or one of the codes.
    enum
    {
        kSubmenu = -2,
        kSeparator = -3,
        kTitle = -4,
    };
    struct Record
    {
        int image;
        UINT command;
        char text[128];
    };

private:
    Record* AddRecord(int image, UINT command, const CString& text);
    const Record* FindRecord(ULONG_PTR itemData) const;
    void DrawSeparator(CDC* dc, const CRect& rect);
    void DrawTitle(CDC* dc, const Record& record, const CRect& rect, bool selected);
    void DrawCommand(CDC* dc, const Record& record, const DRAWITEMSTRUCT& draw);
    void DrawImage(CDC* dc, int image, const CRect& column, bool selected, bool grey);
    void DrawLabel(CDC* dc, const char* text, CRect rect, COLORREF color);

    HFONT m_boldFont;
    HFONT m_menuFont;
    int m_imageWidth;
    int m_imageHeight;
    CImageList m_images;
    COLORREF m_menuTextColor;
    COLORREF m_highlightTextColor;
    COLORREF m_menuColor;
    COLORREF m_highlightColor;
    COLORREF m_hilightColor;
    COLORREF m_shadowColor;
    COLORREF m_grayTextColor;
    std::vector<std::unique_ptr<Record>> m_records;
    // Command id to image index.
    std::vector<std::pair<UINT, int>> m_imageMap;
    int m_depth;
};
