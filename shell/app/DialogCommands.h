// The document's commands that run a dialog of the shell: the disc search,
// the memo transfer and the scheduler. The document cannot show the shell's
// dialogs, so the main frame runs them and hands their choices to the
// document's operations.
#pragma once

#include <afxwin.h>

class CSearchDlg;
class CZymDoc;

class CDialogCommands
{
public:
    CDialogCommands(CZymDoc& doc, CWnd* parent) : m_doc(doc), m_parent(parent) {}

    // Ignored while a search or look-up runs.
    void OnSearchForDiscs();
    void OnTransferText();
    void OnScheduler();

    // What an ended search dialog starts: a look-up of the selected or the
    // queued discs, or a disc search with its settings.
    void RunSearchChoice(const CSearchDlg& dialog);

private:
    CZymDoc& m_doc;
    CWnd* m_parent;
};
