// The collection templates and their typed pointer views.
#pragma once

#include <afx.h>

#include "platform/mfc/Array.h"
#include "platform/mfc/List.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/TypedPtr.h"
