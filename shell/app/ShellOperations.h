// What the shell carries out for the document's tick: the scheduler's end
// action.
#pragma once

#include "core/doc/DocumentFrame.h"

class CZymDoc;

class CShellOperations : public CDocumentOperations
{
public:
    void SetDocument(CZymDoc* doc) { m_pDoc = doc; }

    void RunTimedAction() override;

private:
    CZymDoc* m_pDoc = nullptr;
};
