// The views of the document templates and of the docked windows' tabs: one
// table each, so that a view joins the program by its rows.
#pragma once

#include "shell/app/MainFrame.h"

// The document templates, numbered from 1; the first is the application's.
const int kDocTemplateCount = 15;
const int kTavlinViewTemplate = 2;
// The view class of template number; null outside 1 to 15.
CRuntimeClass* GetTemplateViewClass(int number);

struct DockedView
{
    CMainFrame::DockWindow window;
    const char* label;
    int templateNumber;
    UINT icon;
};
// In tab order within each window.
const DockedView* GetDockedViews(int& count);
