// The settings an interface unit keeps in RAM and EEPROM: IR timing, the IR
// routing table (what receiver r hears, transmitters echo with a carrier), the
// IR port masks and the parallel bits' directions and strobes. The dialog
// keeps a working copy, written to the unit on request and reloaded from what
// the unit reports afterwards, so a refused value comes back unchanged.
#pragma once

#include <afxwin.h>

#include "devices/manager/DeviceManager.h"
#include "devices/port/TavlinPort.h"
#include "server/resource.h"


class CTavlinSettingsDlg : public CDialog
{
public:
    enum { kEntries = 8 };

    explicit CTavlinSettingsDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    void LoadFromPort();
    // save: controls to working copy; else working copy to controls.
    void UpdateFields(BOOL save);
    void StoreToRAM();
    void ResetDefaults();

    CTavlinPort* m_port;
    // Stopped around a new locate after loading from EEPROM.
    CDeviceManager* m_manager;

    int m_routingMasks[kEntries];
    double m_routingCarriers[kEntries];
    int m_receivePolarity;
    int m_transmitPorts;
    int m_receivePorts;
    int m_parallelDirection;   // bit set: input
    int m_parallelHandshake;   // bit 0: output strobe on bit 6; bit 1: input strobe on bit 7
    double m_carrier;
    double m_samplePeriod;
    double m_timeoutPeriod;
    double m_receiverSkew;
    double m_maxSignalLength;
    int m_enabledPorts;
    int m_baudRate;
    int m_minMessageLength;

protected:
    void OnOK() override;
    void OnApply();
    void OnStoreToRAM();
    void OnLoadFromEEPROM();
    void OnResetDefaults();
    void OnClearAll();
    void OnSetAll();
    void OnSetAllOthers();
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // The diagram's click areas in dialog coordinates.
    enum Area
    {
        kRoutingArea,
        kPolarityArea,
        kReceivePortsArea,
        kTransmitPortsArea,
        kAreas
    };
    BOOL IsNewFirmware() const;
    CRect AreaRect(Area area) const;
    // The cell (column, row) of an area under a point; false outside its cells.
    BOOL CellAt(Area area, CPoint point, int& column, int& row) const;
    BOOL CellSet(Area area, int column, int row) const;
    void ToggleCell(Area area, int column, int row);
    void DrawDiagram(CDC& dc);
    void SetRoutingMasks(int (*mask)(int entry));
    void RedrawDiagram();

    CPoint m_downPoint;
};
