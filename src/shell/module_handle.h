// The plug-in's own module handle, recorded by the entry handler.
#pragma once

#include <windows.h>

extern HINSTANCE moduleHandle;
