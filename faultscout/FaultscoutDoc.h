// The reporter's document: no data of its own, its contents are the log's text,
// saved and opened as plain text.
#pragma once

#include <afxwin.h>

class CFaultscoutView;

class CFaultscoutDoc : public CDocument
{
    DECLARE_DYNCREATE(CFaultscoutDoc)
public:
    void DeleteContents() override;
    BOOL OnOpenDocument(LPCSTR pathName) override;
    BOOL OnSaveDocument(LPCSTR pathName) override;

private:
    CFaultscoutView* LogView() const;
};
