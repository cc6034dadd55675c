#include "shell/module_handle.h"

HINSTANCE moduleHandle = nullptr;
