#include "shell/app/DialogCommands.h"

#include "core/doc/DiscLookups.h"
#include "core/doc/DiscSearch.h"
#include "core/doc/DocCommandTargets.h"
#include "core/doc/DocMemos.h"
#include "shell/views/SearchDlg.h"
#include "shell/dialogs/TextDlg.h"
#include "shell/dialogs/TimerSchedule.h"
#include "core/doc/ZymDoc.h"

namespace
{
// Keeps the document's busy flag set while a dialog and its search run.
class CSearchRunning
{
public:
    explicit CSearchRunning(CZymDoc& doc) : m_doc(doc) { m_doc.SetDiscSearchRunning(TRUE); }
    ~CSearchRunning() { m_doc.SetDiscSearchRunning(FALSE); }

private:
    CZymDoc& m_doc;
};
}

void CDialogCommands::OnSearchForDiscs()
{
    if (m_doc.IsDiscSearchRunning())
        return;
    if (!m_doc.GetCommandTargets().library.LeaveSampleLibrary())
        return;
    CSearchRunning running(m_doc);
    CSearchDlg dialog(m_doc.GetSonyControl(), m_parent);
    dialog.m_queue = !m_doc.GetOptions().m_page1.m_useInternet;
    if (dialog.DoModal() == IDOK)
        RunSearchChoice(dialog);
}

void CDialogCommands::RunSearchChoice(const CSearchDlg& dialog)
{
    if (dialog.m_lookupSelected)
        return CDiscLookups(m_doc).LookUpSelectedDiscs(m_doc.GetSelectionList());
    if (dialog.m_lookupQueued)
        return CDiscLookups(m_doc).LookUpQueuedDiscs();
    DiscSearchSettings& settings = m_doc.GetSearchSettings();
    settings.mode = dialog.m_kind;
    settings.playerFilter = dialog.m_player;
    settings.useRange = dialog.m_range == CSearchDlg::kSlotRange;
    settings.firstSlot = dialog.m_firstSlot;
    settings.lastSlot = dialog.m_lastSlot;
    m_doc.GetOptions().m_page1.m_useInternet = !dialog.m_queue;
    m_doc.GetCddbClient().m_bUseInternet = !dialog.m_queue;
    CDiscSearch(m_doc).SearchDiscs();
}

void CDialogCommands::OnTransferText()
{
    CTextDlg dialog(m_parent);
    if (dialog.DoModal() != IDOK)
        return;
    CDocMemos memos(m_doc);
    switch (dialog.m_nChoice)
    {
    case CTextDlg::kUploadAll: memos.OnUploadAllMemos(); break;
    case CTextDlg::kUploadSelected: memos.OnUploadSelectedMemos(); break;
    case CTextDlg::kDownloadAll: memos.OnDownloadAllMemos(); break;
    case CTextDlg::kDownloadSelected: memos.OnDownloadSelectedMemos(); break;
    default: break;
    }
}

void CDialogCommands::OnScheduler()
{
    CTimerDlg dialog(m_parent);
    ShowSchedule(m_doc.GetTimedPlay(), dialog);
    if (dialog.DoModal() != IDOK)
        return;
    CString playlist = TakeSchedule(dialog, m_doc.GetTimedPlay());
    if (playlist.IsEmpty())
        return;
    m_doc.GetCurrentPlayList().Clear();
    m_doc.GetCommandTargets().playlistFiles.OpenPlaylistFile(playlist, -1);
    m_doc.UpdateAllViews(nullptr, kViewHintPlaylist);
}
