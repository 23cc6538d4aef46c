// The device page's list read back and the device edit dialog filled, as
// steps of a test driving the options sheet.
#pragma once

#include "shell/options/tests/OptionsFixture.h"

#include <ostream>
#include <string>
#include <vector>

// The device list's rows: name, file, number and unit from 1, ports, and the
// status image (disabled entries always the third).
struct ListRow
{
    std::string name, file, number, unit, ports;
    int image;
    bool operator==(const ListRow& other) const
    {
        return name == other.name && file == other.file && number == other.number && unit == other.unit &&
               ports == other.ports && image == other.image;
    }
};

inline std::ostream& operator<<(std::ostream& out, const ListRow& row)
{
    return out << row.name << "|" << row.file << "|" << row.number << "|" << row.unit << "|" << row.ports << "|"
               << row.image;
}

inline std::string ListText(HWND list, int row, int column)
{
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return text;
}

inline std::vector<ListRow> DeviceRows()
{
    HWND list = OptionsTest::Item(IDC_DEV_LIST);
    std::vector<ListRow> rows;
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; ++row)
    {
        std::string texts[5];
        for (int column = 0; column < 5; ++column)
            texts[column] = ListText(list, row, column);
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
        rows.push_back({ texts[0], texts[1], texts[2], texts[3], texts[4], item.iImage });
    }
    return rows;
}

inline void SelectDevice(int row)
{
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(OptionsTest::Item(IDC_DEV_LIST), LVM_SETITEMSTATE, row, (LPARAM)&item);
}

const char kEditTitle[] = "Device";

// Fills the device edit dialog once it is up, then presses OK.
inline CStepDriver::Step EditDevice(const char* name, const char* file, int number, int unit, std::vector<int> clicks)
{
    return [=] {
        HWND dialog = CStepDriver::Find(kEditTitle);
        if (!dialog)
            return false;
        SetDlgItemTextA(dialog, IDC_DEV_NAME, name);
        SetDlgItemTextA(dialog, IDC_DEV_FILE, file);
        SendDlgItemMessageA(dialog, IDC_DEV_NUMBER, CB_SETCURSEL, number, 0);
        SendDlgItemMessageA(dialog, IDC_DEV_UNIT, CB_SETCURSEL, unit, 0);
        for (int id : clicks)
            SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    };
}

inline CStepDriver::Step EditClosed()
{
    return [] { return CStepDriver::Find(kEditTitle) == NULL; };
}
