// The document's commands: the command language, the search and its mode,
// the menu and tool-bar commands handed to the command targets, and the
// current player that the transport commands follow.
#include "core/doc/ZymDoc.h"

#include "core/doc/DocCommands.h"
#include "core/doc/DocCommandTargets.h"
#include "library/search/Expr.h"

void CZymDoc::ExecuteCommand(CString command)
{
    CDocCommands(*this).Execute(command);
}

// An expression that does not parse changes nothing. Disc mode gives one
// whole-disc entry for an album that matches itself or in any track.
BOOL CZymDoc::Search(CString expression, CString* quietError)
{
    expression.MakeLower();
    CExpr expr;
    expr.ShowErrors(quietError == nullptr);
    if (!expr.Parse(expression, m_library.GetRatingNames(), m_library.GetRatingCount()))
    {
        if (quietError)
            *quietError = expr.GetError();
        return FALSE;
    }
    m_searchList.Clear();
    int count = m_library.GetAlbumCount();
    for (int index = 0; index < count; ++index)
    {
        AlbumRecord album;
        if (!m_library.GetAlbumAt(index, album) || album.IsGone())
            continue;
        int first = IsDiscSearchMode() ? -1 : 0;
        for (int track = first; track < album.GetTrackCount(); ++track)
        {
            if (!expr.Evaluate(album, track))
                continue;
            if (IsDiscSearchMode())
            {
                m_searchList.AddItem(CLibItem(album.GetIdText(), -1));
                break;
            }
            m_searchList.AddItem(CLibItem(album.GetIdText(), track));
        }
    }
    return TRUE;
}

BOOL CZymDoc::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (GetCommandTargets().OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return CDocument::OnCmdMsg(id, code, extra, handlerInfo);
}

CDocCommandTargets& CZymDoc::GetCommandTargets()
{
    if (!m_commandTargets)
        m_commandTargets.reset(new CDocCommandTargets(*this));
    return *m_commandTargets;
}

void CZymDoc::CommandTargetsDeleter::operator()(CDocCommandTargets* targets) const
{
    delete targets;
}

int CZymDoc::GetCurrentPlayer()
{
    return GetCommandTargets().title.GetPlayer();
}

void CZymDoc::SetCurrentPlayer(int player)
{
    GetCommandTargets().title.SetPlayer(player);
}

void CZymDoc::SetSearchMode(BOOL discs)
{
    m_searchMode = discs ? 1 : 0;
    UpdateAllViews(nullptr, kViewHintSearchMode);
}
