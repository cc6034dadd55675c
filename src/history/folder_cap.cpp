#include "history/folder_cap.h"

std::uint32_t maxFolders = kDefaultMaxFolders;

bool maxFoldersKnown = false;

void ChooseMaxFolders(std::uint32_t cap) noexcept {
    maxFolders = cap;
    maxFoldersKnown = true;
}
