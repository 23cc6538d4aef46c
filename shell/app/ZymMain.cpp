// The jukebox's one application object.
#include "ZymApp.h"

CZymApp theApp;
