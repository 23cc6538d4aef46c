// Options page "Devices": the extra devices the document defines at start-up.
// Adding, editing and deleting an entry defines or deletes its device at once.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

#include <afxcmn.h>

class CDevicesPage : public COptionsPage
{
public:
    // The list's images by entry status; disabled entries show the third.
    enum { kImageFailed = 0, kImageDefined = 1, kImageDisabled = 2 };

    CDevicesPage(const CZymOptions& options, CPage6& values, COptionsHost& host);

    BOOL OnInitDialog() override;

    // The ports column: "sl0 " to "sl3 ", then "ir0 " to "ir7 ", in bit order.
    static CString PortsText(int ports);
    static int StatusImage(const DeviceEntry& entry);

protected:
    void OnAdd();
    void OnEdit();
    void OnDelete();
    DECLARE_MESSAGE_MAP()

private:
    void AddColumn(int index, const char* label, int extra);
    void FillList();
    int SelectedRow();
    // Runs the edit dialog on the entry; TRUE on OK.
    BOOL EditEntry(DeviceEntry& entry);
    // Defines the entry's device and sets its status.
    void DefineDevice(DeviceEntry& entry);
    void ListChanged();

    const CZymOptions& m_options;
    CPage6& m_values;
    CListCtrl m_list;
    CImageList m_images;
};
