// A listener of the device manager that only counts the texts it is given.
#pragma once

#include "devices/manager/TextCallback.h"

class CCountingListener : public CCallbackTarget
{
public:
    void OnText(CString) { ++count; }
    long count = 0;
};
