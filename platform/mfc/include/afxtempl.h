// The collection templates and their typed pointer views.
#pragma once

#include <afx.h>

#include "mfc/Array.h"
#include "mfc/List.h"
#include "mfc/Map.h"
#include "mfc/TypedPtr.h"
