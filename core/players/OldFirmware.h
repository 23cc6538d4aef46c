// Interface units up to firmware 2.8 lose a message now and then, so several
// words go out twice to them. 2.8 itself is old; 2.81 is not.
#pragma once

bool IsOldFirmware(double version);
