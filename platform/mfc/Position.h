// Where an iteration over a list or a map stands; NULL after the last element.
#pragma once

typedef struct __POSITION { int unused; }* POSITION;
