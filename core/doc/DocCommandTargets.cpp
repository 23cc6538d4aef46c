#include "core/doc/DocCommandTargets.h"

#include "core/doc/ZymDoc.h"

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
