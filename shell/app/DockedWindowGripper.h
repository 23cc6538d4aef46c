// The gripper node around each docked window of the main frame: the
// toolkit's gripper that also takes part in the docking protocol, so that
// the frame's docking feature can dock, hide and show it.
#pragma once

#include "docking/TkDockProtocol.h"
#include "docking/TkLayoutNodeGripper.h"

class CDockedWindowGripper : public TkReparentableGripperEx,
                             public TkDefDockNodeInitiatorBase,
                             public TkDefDockNodeBase
{
};
