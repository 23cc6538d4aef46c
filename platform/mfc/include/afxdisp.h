// OLE automation types: dates and spans.
#pragma once

#include <afx.h>

#include "platform/mfc/OleDateTime.h"
