// Ids of the string table the string tests load from.
#pragma once

#define IDS_SHORT 101
#define IDS_LONG 102
