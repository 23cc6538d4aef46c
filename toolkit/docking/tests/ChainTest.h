#pragma once

#define IDD_CHAIN 300
#define IDC_CHAIN_PING 301
