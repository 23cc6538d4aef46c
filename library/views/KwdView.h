// The keyword view: for the albums and tracks selected elsewhere, every
// keyword with whether all, some or none of them carry it, a legend of the
// icons, and a banner naming the selection. Changes made in the list are
// written to the records when the selection changes.
#pragma once

#include "library/views/BannerFormView.h"
#include "library/views/KeywordCtrl.h"

#include <memory>

class CKwdView : public CBannerFormView
{
    DECLARE_DYNCREATE(CKwdView)
public:
    CKwdView();

    CKeywordCtrl& GetKeywordCtrl() { return m_keywords; }
    CListCtrl& GetLegend() { return m_legend; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // Writes the changed states into the records of the selection shown.
    void ApplyChanges();

protected:
    void Layout(int cx, int cy) override;

private:
    void LoadSelection();
    void FillLegend();
    CString Caption();
    // One changed keyword into one entry's album (under the library lock).
    static void ApplyToEntry(AlbumRecord& album, int track, const KeywordItem& item);

    CKeywordCtrl m_keywords;
    CListCtrl m_legend;
    CImageList m_images;
    CKeywordStatList m_stats;
    std::unique_ptr<CPlayList> m_selection;
};
