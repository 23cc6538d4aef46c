// Runs a dialog modally under test: once it is up, each step runs
// on a posted message after what the step before it posted has been handled,
// as a user's actions would arrive.
#pragma once

#include <afxwin.h>

#include <functional>
#include <vector>

template <class Dialog>
class CDriven : public Dialog
{
public:
    typedef std::function<void(CDriven&)> Step;
    static const UINT kNextStep = WM_APP + 1;

    using Dialog::Dialog;

    BOOL OnInitDialog() override
    {
        BOOL result = Dialog::OnInitDialog();
        this->PostMessage(kNextStep);
        return result;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kNextStep)
            return Dialog::WindowProc(message, wParam, lParam);
        if (m_next < m_steps.size()) {
            m_steps[m_next++](*this);
            this->PostMessage(kNextStep);
        }
        return 0;
    }

    // Clicks a button as the mouse would, so that radio buttons and check boxes change first.
    void Click(int id) { ::PostMessage(::GetDlgItem(this->m_hWnd, id), BM_CLICK, 0, 0); }
    bool IsEnabled(int id) { return ::IsWindowEnabled(::GetDlgItem(this->m_hWnd, id)) != FALSE; }

    std::vector<Step> m_steps;
    size_t m_next = 0;
};
