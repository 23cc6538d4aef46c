// The four ratings and the never-play switch of the one selected album or
// track; what the user moved is stored for the item before the next one is
// shown.
#pragma once

#include "library/views/BannerFormView.h"

#include <afxcmn.h>

class CZymDoc;

class CRatingView : public CBannerFormView
{
    DECLARE_DYNCREATE(CRatingView)
public:
    CRatingView();

    // Stores the sliders and the check for the item shown when they changed.
    void Save();
    void Load();
    CSliderCtrl& GetSlider(int rating) { return m_sliders[rating]; }
    CButton& GetNeverPlay() { return m_neverPlay; }

    static const int kRatings = CMusicLibrary::kRatingCount;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // The controls keep their places.
    void Layout(int, int) override {}

private:
    CZymDoc* GetDoc();
    void EnableControls(bool enable);

    CSliderCtrl m_sliders[kRatings];
    CButton m_neverPlay;
    CLibItem m_item;
    int m_loadedRatings[kRatings] = {};
    bool m_loadedNeverPlay = false;
    bool m_hasItem = false;
};
