// DDX_DateTimeCtrl between a COleDateTime and a date picker that may show no
// date: a valid value shows to the second and comes back; a picker showing
// none gives a null value, and a null or invalid value shows none.
#include "tests/support/TestFramework.h"

#include <afxcmn.h>
#include <afxdisp.h>
#include <afxwin.h>
#include <commctrl.h>

#include <string>

namespace
{
const UINT kDialog = 300;
const int kPicker = 301;

class CPickerDialog : public CDialog
{
public:
    CPickerDialog() : CDialog(kDialog) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_DateTimeCtrl(pDX, kPicker, m_value); }
    COleDateTime m_value;
};

std::string Stamp(const COleDateTime& value)
{
    if (value.GetStatus() == COleDateTime::null)
        return "null";
    return (LPCSTR)value.Format("%Y-%m-%d %H:%M:%S");
}

// What the picker holds, as a stamp or "none".
std::string Shown(CWnd& dialog)
{
    SYSTEMTIME parts = {};
    if (dialog.SendDlgItemMessage(kPicker, DTM_GETSYSTEMTIME, 0, (LPARAM)&parts) != GDT_VALID)
        return "none";
    return Stamp(COleDateTime(parts));
}

COleDateTime WithStatus(COleDateTime::DateTimeStatus status)
{
    COleDateTime value(2002, 7, 14, 21, 30, 0);
    value.SetStatus(status);
    return value;
}

TEST(DateTimeExchangeTest, ValuesGoIntoThePickerAndBack)
{
    const struct
    {
        const char* name;
        COleDateTime value;
        const char* shown;
        const char* back;
    } cases[] = {
        {"a date and time", COleDateTime(2002, 7, 14, 21, 30, 5), "2002-07-14 21:30:05",
         "2002-07-14 21:30:05"},
        {"a leap day", COleDateTime(2000, 2, 29, 0, 0, 0), "2000-02-29 00:00:00",
         "2000-02-29 00:00:00"},
        {"null", WithStatus(COleDateTime::null), "none", "null"},
        {"invalid", WithStatus(COleDateTime::invalid), "none", "null"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CPickerDialog dialog;
        ASSERT_TRUE(dialog.Create(kDialog));
        dialog.m_value = c.value;
        EXPECT_TRUE(dialog.UpdateData(FALSE));
        EXPECT_EQ(c.shown, Shown(dialog));
        dialog.m_value = COleDateTime(1999, 1, 1, 1, 1, 1);
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(c.back, Stamp(dialog.m_value));
        dialog.DestroyWindow();
    }
}

TEST(DateTimeExchangeTest, TheControlClassClearsThePickerToNoDate)
{
    CPickerDialog dialog;
    ASSERT_TRUE(dialog.Create(kDialog));
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Attach(dialog.GetDlgItem(kPicker)->GetSafeHwnd()));
    SYSTEMTIME parts = {};
    parts.wYear = 2002;
    parts.wMonth = 7;
    parts.wDay = 14;
    parts.wHour = 21;
    parts.wMinute = 30;
    EXPECT_TRUE(picker.SetTime(&parts));
    EXPECT_EQ("2002-07-14 21:30:00", Shown(dialog));
    EXPECT_TRUE(picker.SetTime(nullptr));
    EXPECT_EQ("none", Shown(dialog));
    picker.Detach();
    dialog.DestroyWindow();
}
} // namespace
