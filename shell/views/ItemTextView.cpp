#include "shell/views/ItemTextView.h"

#include "core/doc/ZymDoc.h"

IMPLEMENT_DYNAMIC(CItemTextView, CBannerFormView)

CItemTextView::CItemTextView(UINT form, UINT editId, const ItemTextKind& kind)
    : CBannerFormView(form, kind.caption), m_editId(editId), m_kind(kind)
{
}

CZymDoc* CItemTextView::GetDoc()
{
    return dynamic_cast<CZymDoc*>(GetDocument());
}

void CItemTextView::DoDataExchange(CDataExchange* dx)
{
    CBannerFormView::DoDataExchange(dx);
    DDX_Control(dx, m_editId, m_edit);
}

void CItemTextView::OnInitialUpdate()
{
    CBannerFormView::OnInitialUpdate();
    CZymDoc* doc = GetDoc();
    m_editingAllowed = !(doc && doc->IsEditingDisabled());
    ApplyReadOnly();
}

void CItemTextView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintSelection:
        Save();
        Load();
        Invalidate(FALSE);
        break;
    case kViewHintEditingEnabled:
    case kViewHintEditingDisabled:
        m_editingAllowed = hint == kViewHintEditingEnabled;
        ApplyReadOnly();
        break;
    default:
        CBannerFormView::OnUpdate(sender, hint, hintObject);
    }
}

void CItemTextView::ApplyReadOnly()
{
    if (m_edit.m_hWnd)
        m_edit.SetReadOnly(!(m_editingAllowed && m_hasItem));
}

void CItemTextView::Save()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_hasItem || !m_edit.m_hWnd)
        return;
    CString text;
    m_edit.GetWindowText(text);
    if (text == m_loaded)
        return;
    CMusicLibrary& library = doc->GetMusicLibrary();
    {
        CLibraryLock lock(library);
        AlbumRecord* album = m_item.GetAlbum(lock, library);
        if (!album)
            return;
        (album->*m_kind.set)(m_item.GetTrack(), text);
    }
    m_loaded = text;
    library.SetModified(true);
}

void CItemTextView::Load()
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return;
    CPlayList selection(doc->GetSelectionList());
    m_banner.SetText(m_kind.caption);
    if (selection.GetCount() != 1)
    {
        m_item.Clear();
        Show(selection.GetCount() == 0 ? "(Nothing Selected)" : "(Multiple Items Selected)", false);
        return;
    }
    m_item = selection.GetItem(0);
    AlbumRecord album;
    if (!m_item.GetAlbumCopy(doc->GetMusicLibrary(), album))
    {
        Show("(Error)", false);
        return;
    }
    int track = m_item.GetTrack();
    if (track == kWholeAlbum)
        m_banner.SetText(m_kind.albumCaption + album.GetTitle(kAlbumIndex));
    else
        m_banner.SetText(m_kind.trackCaption + album.GetTitle(track));
    Show((album.*m_kind.get)(track), true);
}

void CItemTextView::Show(const CString& text, bool ofItem)
{
    m_hasItem = ofItem;
    m_loaded = text;
    if (m_edit.m_hWnd)
        m_edit.SetWindowText(text);
    ApplyReadOnly();
}
