#include "ui/folder_text_match.h"

#include <cstring>

bool SameFolderText(const char* a, const char* b) noexcept {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}
