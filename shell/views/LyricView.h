// The lyrics of the selected album or track, with picture buttons that look
// lyrics up on the web, submit them, and open the lyrics site.
#pragma once

#include "shell/views/ItemTextView.h"

class CLyricView : public CItemTextView
{
    DECLARE_DYNCREATE(CLyricView)
public:
    CLyricView();

protected:
    void OnInitialUpdate() override;
    void Layout(int cx, int cy) override;

    void OnGetLyrics();
    void OnSubmitLyrics();
    void OnLyricsSite();
    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_pictures[3];
};

class CNoteView : public CItemTextView
{
    DECLARE_DYNCREATE(CNoteView)
public:
    CNoteView();

protected:
    void Layout(int cx, int cy) override;
};
