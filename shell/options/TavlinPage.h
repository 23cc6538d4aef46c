// Options page "Tavlin": how the interface units are found and set up: the
// COM ports to check, logging, the lowest baud rate and the IR timing.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

class CTavlinPage : public COptionsPage
{
public:
    CTavlinPage(CPage4& values, COptionsHost& host);

    BOOL OnInitDialog() override;

    // The list item of a value, or -1 when the value is none of the items.
    static int BaudIndex(int baud);
    static int SamplePeriodIndex(double seconds);
    static int TimeoutIndex(double seconds);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnLocateNow();
    void OnBaudChanged();
    void OnSamplePeriodChanged();
    void OnTimeoutChanged();
    DECLARE_MESSAGE_MAP()

private:
    // Reads the controls, then the list's selection; -1 without one.
    int TakeSelection(int id);

    CPage4& m_values;
};
