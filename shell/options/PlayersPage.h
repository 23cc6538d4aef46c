// Options page "Players": finding and polling the changers, the MP3 player's
// output, pre-queueing, and the fades between tracks with their diagram.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

#include <afxcmn.h>

class CPlayersPage : public COptionsPage
{
public:
    // A fade is off or lasts at least this long.
    enum { kShortestFade = 3, kLongestFade = 30, kOverlapOffset = 30 };

    CPlayersPage(CPage5& values, COptionsHost& host);

    BOOL OnInitDialog() override;

    // The position a fade spin takes when it moved from kept to position.
    static int SnapFade(int position, int kept);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPaint();
    void OnLocateNow();
    void OnSpinDelta(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void CreateTools();
    // Snaps the fade spins and takes the three values from the spins.
    void TakeSpins();
    void ShowLabels();
    void DrawDiagram(CDC& dc);

    CPage5& m_values;
    CSpinButtonCtrl m_fadeDownSpin;
    CSpinButtonCtrl m_fadeUpSpin;
    CSpinButtonCtrl m_overlapSpin;
    // The fade spins' positions at the last paint.
    int m_keptFadeDown = 0;
    int m_keptFadeUp = 0;

    CBrush m_greyBrush;
    CPen m_greyPen;
    CPen m_outgoingPen;
    CPen m_incomingPen;
    CPen m_overlapPen;
    CBrush m_outgoingHatch;
    CBrush m_incomingHatch;
    CBrush m_overlapHatch;
    CPen m_markerPen;
};
