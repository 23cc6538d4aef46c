// The document's menu and tool-bar commands, by theme, each theme a command
// target of its own; the document offers a command to each in turn before
// its own map. The window title's state lives here too: the transport
// commands act on the player it follows.
#pragma once

#include "core/doc/DocLibraryCommands.h"
#include "core/doc/DocPlaylistCommands.h"
#include "core/doc/DocPlaylistFiles.h"
#include "core/doc/DocTitle.h"
#include "core/doc/DocTransport.h"
#include "core/doc/PlaylistDocument.h"

class CDocCommandTargets
{
public:
    explicit CDocCommandTargets(CPlaylistDocument& doc)
        : title(doc), playlistFiles(doc), playlist(doc, title), transport(doc, title, playlist), library(doc)
    {
    }

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
    {
        CCmdTarget* const targets[] = { &playlistFiles, &playlist, &transport, &library };
        for (CCmdTarget* target : targets)
        {
            if (target->OnCmdMsg(id, code, extra, handlerInfo))
                return TRUE;
        }
        return FALSE;
    }

    CDocTitle title;
    CDocPlaylistFiles playlistFiles;
    CDocPlaylistCommands playlist;
    CDocTransport transport;
    CDocLibraryCommands library;
};
