#include "shell/host_api.h"

HostApi hostApi;
