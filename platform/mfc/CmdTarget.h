// CCmdTarget: the base of every object that takes commands and messages.
// It carries nothing yet; the routing of commands joins it with message maps.
#pragma once

#include <afx.h>

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;
};
