// The Kelto switch's settings: new firmware from an Intel HEX file through the
// switch's boot loader, and a factory panel (shown by three Scroll Lock
// presses in a row) with the flash sums, a flash with a fresh serial number
// followed by the configuration ("The Works"), and the configuration alone.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include "devices/kelto/KeltoFlashWriter.h"
#include "devices/kelto/KeltoPort.h"
#include "server/resource.h"


class CKeltoSettingsDlg : public CDialog, public CKeltoFlashProgress
{
public:
    explicit CKeltoSettingsDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Writes the file's image; serial holds 16 characters, or is empty to keep
    // the unit's own. The file is checked whole before the first block.
    BOOL UpgradeFlash(const char* path, const char* serial);
    BOOL ReadChecksums();
    BOOL RunConfigScript();

    void OnFlashProgress(int nextWord) override;

    CKeltoPort* m_port;
    CListBox m_outputs;
    CListBox m_inputs;
    CProgressCtrl m_progress;
    int m_outputsIndex;
    int m_inputsIndex;
    CString m_hexPath;
    int m_scrollLocks;

protected:
    void OnUpgradeFlash();
    void OnTheWorks();
    void OnConfigOnly();
    void OnSums();
    void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    BOOL Failed(const char* message);
    void ShowFactoryPanel(BOOL show);
    // Both counts chosen, else the user is asked to choose them.
    BOOL CountsChosen();
};
