// The module handles the class library looks in for resources.
#pragma once

#include <windows.h>

// The program's own module.
HINSTANCE AfxGetInstanceHandle();
// Where LoadString and the like look; the program's module until it is changed.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);
