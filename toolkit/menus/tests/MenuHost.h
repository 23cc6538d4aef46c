// The menu tests' frame: a toolkit MDI frame whose menu bar and menu-bar
// feature stand in for its menu, with what it was asked to do recorded; and
// input as a person gives it (SendInput), scripted from a thread timer so
// that it also runs inside menu loops.
#pragma once

#include "toolkit/menus/TkMenuBarFeature.h"
#include "toolkit/menus/TkMDIMenuBar.h"
#include "toolkit/frames/TkMDIFrameWnd.h"

#include <functional>
#include <string>
#include <vector>

class CMenuHostFrame : public TkMDIFrameWnd
{
public:
    CMenuHostFrame();
    // Loads IDR_MENUHOST as the application's main window, docks the menu bar
    // with the given menus and shows the frame in the foreground.
    BOOL Make(const std::vector<UINT>& menus);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    TkMDIMenuBar m_menuBar;
    TkMenuBarFeature m_feature;
    // "command N", "syscommand F060" (system commands are not carried out).
    std::vector<std::string> m_done;
};

// What shows: "popup <first item>" for each open popup level joined by
// " > ", "system" for the frame's system menu, "mode <hot button>" in menu
// mode, else "idle".
std::string MenuState(CMenuHostFrame* frame);

void KeyDown(WORD key);
void KeyUp(WORD key);
void Tap(WORD key);
// key pressed while Alt is held.
void AltChord(WORD key);
void MoveMouse(CPoint screen);
void ClickAt(CPoint screen);
void MouseDown(CPoint screen);
void MouseUp(CPoint screen);
void DoubleClickAt(CPoint screen);

// Runs the steps one per tick of a thread timer while the thread pumps its
// messages through the application's pre-translation, then until the queue
// is idle.
void RunScript(const std::vector<std::function<void()>>& steps);
// Pumps through the application's pre-translation until idle.
void PumpIdle();
// The screen centre of a bar button.
CPoint ButtonCentre(TkCustomToolBar* bar, int index);
