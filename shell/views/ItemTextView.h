// A text of the one selected album or track edited in a form (the lyrics,
// the notes): what the user typed is stored for the item before the next
// one is shown. Without a single item the edit shows why and is read-only,
// so that nothing typed there can reach an item.
#pragma once

#include "library/views/BannerFormView.h"

// The texts and the record's field of one kind of text.
class CZymDoc;

struct ItemTextKind
{
    const char* caption;
    const char* albumCaption;
    const char* trackCaption;
    CString (AlbumRecord::*get)(int index) const;
    bool (AlbumRecord::*set)(int index, const char* text);
};

class CItemTextView : public CBannerFormView
{
    DECLARE_DYNAMIC(CItemTextView)
public:
    // Stores the edit's text for the item shown when the user changed it.
    void Save();
    // Shows the text of the document's selection.
    void Load();
    CEdit& GetEdit() { return m_edit; }
    const CLibItem& GetItem() const { return m_item; }

protected:
    CItemTextView(UINT form, UINT editId, const ItemTextKind& kind);

    void DoDataExchange(CDataExchange* dx) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    CZymDoc* GetDoc();

    CEdit m_edit;

private:
    void Show(const CString& text, bool ofItem);
    void ApplyReadOnly();

    UINT m_editId;
    const ItemTextKind& m_kind;
    CLibItem m_item;
    // The text as it was shown: only a change of it is stored.
    CString m_loaded;
    bool m_hasItem = false;
    bool m_editingAllowed = true;
};
