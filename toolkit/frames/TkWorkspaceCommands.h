// The workspace commands: both toolkit frames answer them, doing nothing, so
// that menus and tool bars show them enabled. The frames' message maps take
// them with ON_TK_WORKSPACE_COMMANDS(), which needs the handlers
// OnWorkspaceCommand(UINT) and OnUpdateWorkspaceCommand(CCmdUI*).
#pragma once

const UINT kTkFirstWorkspaceFile = 43007;
const UINT kTkLastWorkspaceFile = 43009;
const UINT kTkFirstWorkspaceEdit = 43012;
const UINT kTkLastWorkspaceEdit = 43014;
// The workspace list; only its first command has an update handler.
const UINT kTkFirstWorkspaceList = 43031;
const UINT kTkLastWorkspaceList = 43039;

#define ON_TK_WORKSPACE_COMMANDS()                                                          \
    ON_COMMAND_RANGE(kTkFirstWorkspaceFile, kTkLastWorkspaceFile, OnWorkspaceCommand)        \
    ON_COMMAND_RANGE(kTkFirstWorkspaceEdit, kTkLastWorkspaceEdit, OnWorkspaceCommand)        \
    ON_COMMAND_RANGE(kTkFirstWorkspaceList, kTkLastWorkspaceList, OnWorkspaceCommand)        \
    ON_UPDATE_COMMAND_UI_RANGE(kTkFirstWorkspaceFile, kTkLastWorkspaceFile,                  \
                               OnUpdateWorkspaceCommand)                                     \
    ON_UPDATE_COMMAND_UI_RANGE(kTkFirstWorkspaceEdit, kTkLastWorkspaceEdit,                  \
                               OnUpdateWorkspaceCommand)                                     \
    ON_UPDATE_COMMAND_UI(kTkFirstWorkspaceList, OnUpdateWorkspaceCommand)
