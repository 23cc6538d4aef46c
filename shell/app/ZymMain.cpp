// The jukebox's one application object.
#include "shell/app/ZymApp.h"

CZymApp theApp;
