// Internet sessions, HTTP connections and their files, over WinInet.
#pragma once

#include <afx.h>

#include "platform/mfc/InternetSession.h"
