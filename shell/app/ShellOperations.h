// The document's operations that the shell carries out for its tick and
// start-up: the window title, play-list files handed over, the library
// upgrade, the disc search and the scheduler's end action.
#pragma once

#include "ZymDoc.h"

class CShellOperations : public CDocumentOperations
{
public:
    void SetDocument(CZymDoc* doc) { m_pDoc = doc; }

    void OfferLibraryUpgrade() override;
    void UpdateTitle() override;
    BOOL OpenPlaylistFile(const char* path) override;
    void SearchDiscs() override;
    void RunTimedAction() override;

private:
    CZymDoc* m_pDoc = nullptr;
};
