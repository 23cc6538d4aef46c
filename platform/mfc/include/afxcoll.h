// The fixed collections.
#pragma once

#include <afx.h>

#include "platform/mfc/Collections.h"
