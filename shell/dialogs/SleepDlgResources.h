// Resource ids of the sleep notice.
#pragma once

#define IDD_SLEEP 312
#define IDI_SLEEP 311
