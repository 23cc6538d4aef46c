// A dialog of buttons, each of which closes it with OK and its own choice.
// The choice stays -1 when the dialog closes any other way.
#pragma once

#include <afxwin.h>

struct ChoiceButton
{
    int id;
    int choice;
};

class CChoiceDlg : public CDialog
{
public:
    // The table must outlive the dialog; it ends with the {0, 0} row.
    CChoiceDlg(UINT templateId, const ChoiceButton* buttons, CWnd* parent);

    BOOL OnInitDialog() override;

    int m_nChoice;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    const ChoiceButton* m_buttons;
};
