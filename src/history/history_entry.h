// One remembered folder and the host command id bound to its submenu item.
#pragma once

#include <cstdint>

#include "common/folder_name.h"

struct HistoryEntry {
    FolderName folder;
    std::int32_t commandId = 0; // 0: no command bound
};
