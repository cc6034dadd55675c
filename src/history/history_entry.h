// One remembered folder and the host command id bound to its submenu item.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "common/folder_name.h"

struct HistoryEntry {
    HistoryEntry() noexcept = default;
    HistoryEntry(FolderName folder, std::int32_t commandId) noexcept
        : folder(std::move(folder)), commandId(commandId) {}

    FolderName folder;
    std::int32_t commandId = 0; // 0: no command bound
    // The comment that the last build of the submenu gave the host with this
    // folder's item, kept with the display text it was made from (see
    // ui/move_comment.h); null before the first build.
    std::unique_ptr<char[]> moveComment;
};
