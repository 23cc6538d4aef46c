// The ports the server probes for each kind of unit, as 24 check boxes. Built
// once at start-up: a server that was never told its ports asks first (the
// first-run dialog); the Options command shows it again. Choices take effect
// at the next start.
#pragma once

#include <afxwin.h>

#include "server/PortOptions.h"
#include "server/resource.h"


class COptionsDlg : public CDialog
{
public:
    enum { kPorts = 8 };

    // Loads the masks, which asks for them on a first run.
    explicit COptionsDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    // On a first run tells the user, runs the dialog and saves an OK'd choice;
    // a cancelled one leaves the registry as it was.
    void LoadPortMasks();
    // The masks from the boxes, written to the registry.
    void SavePortMasks();

    PortOptions m_masks;
    BOOL m_tavlin[kPorts];
    BOOL m_cm11a[kPorts];
    BOOL m_kelto[kPorts];

private:
    void SpreadMasks();
};

extern COptionsDlg* g_pOptionsDlg;
