// The fixed collections.
#pragma once

#include <afx.h>

#include "mfc/Collections.h"
