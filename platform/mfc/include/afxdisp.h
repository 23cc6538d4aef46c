// OLE automation types: dates and spans.
#pragma once

#include <afx.h>

#include "mfc/OleDateTime.h"
