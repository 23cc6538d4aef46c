// The customise sheet and the tool-bars dialog behave as floating windows of
// the frame: their captions follow the activation the frame hands to its
// floating windows, and their own activation is handed on to those windows.
#pragma once

#include <afxwin.h>

// WM_FLOATSTATUS: the activate or deactivate bit shows on the caption.
LRESULT TkFloatStatusToCaption(CWnd* wnd, WPARAM flags);
// After WM_ACTIVATE: the top-level frame's floating windows are told.
void TkActivateFloatingWindows(CWnd* wnd, UINT state);
