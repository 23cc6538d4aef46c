// The IR learner's one dialog: it hosts the interface control with a
// low-level device on it, learns the raw IR timings that device receives,
// shows them as a waveform, names them as codes of the device being edited,
// sends a code out to try it, and loads, saves and converts device files.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include <time.h>

#include <memory>

#include "devices/manager/Device.h"
#include "irteach/IrCodeConversion.h"
#include "irteach/IrWaveform.h"
#include "irteach/IrWaveformPane.h"
#include "core/devpath/Tavlinx.h"

class CIrteachDlg : public CDialog, public COleEventHandler
{
public:
    explicit CIrteachDlg(CWnd* parent = nullptr);
    ~CIrteachDlg() override;

    // The interface control's Receive event.
    void OnReceive(const CString& device, const CString& text);
    void OnOleEvent(DISPID id, DISPPARAMS* params) override;

    // Loads a device file for editing; a file that cannot be edited leaves the
    // current device as it was.
    void LoadDeviceFile(const char* path);

    // For the tests: what the dialog holds.
    const CDevice& GetDevice() const { return *m_device; }
    int GetCurrentCode() const { return m_current; }
    int GetMode() const { return m_mode; }
    BOOL HasUnsavedWork() const { return m_unsaved; }
    const CIrWaveform& GetWaveform() const { return m_waveform; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnClose();
    void OnDestroy();
    void OnDropFiles(HDROP drop);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnClearDevice();
    void OnLoadDevice();
    void OnSaveDevice();
    void OnImportSettings();
    void OnTry();
    void OnSaveCode();
    void OnNewCode();
    void OnTxOnly();
    void OnTxRx();
    void OnZoomIn();
    void OnZoomOut();
    void OnPanLeft();
    void OnPanRight();
    void OnListSelect(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    LRESULT OnSyncSelection(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    // The clock of the Try that the learner must not learn back.
    virtual time_t Now() const;

private:
    void SetUpList();
    void MakeControl();
    void NewDevice(const char* sleep);
    void SetMode(int mode);
    void CopyTimingsToDevice();
    // Moves the fields between the controls and the device; FALSE when a
    // field did not pass.
    BOOL UpdateFields(BOOL toDevice);
    void FillCodeList();
    void ShowSelectedCode();
    void ShowCode(int index);
    void SetCurrentCode(const char* timings);
    void ShowWindowChange();
    void UpdateScrollBar();
    void AddNewCode();
    void DeleteCurrentCode();
    // Asks before unsaved work is lost; TRUE when the user goes on.
    BOOL MayLoseWork(const char* question);
    CString ChooseFile(BOOL open);

    std::unique_ptr<CDevice> m_device;
    CString m_path;
    CString m_caption;   // the title without a file
    int m_current;
    int m_mode;
    BOOL m_unsaved;
    int m_newCodes;
    time_t m_lastTry;

    CString m_carrier;
    CString m_description;
    CString m_sleep;
    CString m_codeName;
    CString m_start;
    CString m_stop;
    CString m_zero;
    CString m_one;
    CString m_pause;
    int m_repeat;

    CListCtrl m_list;
    CImageList m_images;
    CIrWaveform m_waveform;
    CIrWaveformPane m_pane;
    CTavlinx m_control;
};
