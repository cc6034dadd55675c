#include "history/folder_list_text.h"

#include <cstring>

const char16_t kFolderSeparator[] = u"*??*";

std::size_t TextLengthWithin(const char16_t* text, std::size_t units) noexcept {
    std::size_t length = 0;
    while (length < units && text[length] != u'\0') {
        ++length;
    }
    return length;
}

bool JoinedListUnits(std::size_t count, std::size_t folderUnits, std::size_t limit,
                     std::size_t* units) noexcept {
    std::size_t separators = count == 0 ? 0 : count - 1;
    if (folderUnits > limit || separators > (limit - folderUnits) / kFolderSeparatorUnits) {
        return false;
    }
    *units = folderUnits + separators * kFolderSeparatorUnits;
    return true;
}

char16_t* AppendToFolderList(char16_t* out, bool first, const char16_t* folder,
                             std::size_t length) noexcept {
    if (!first) {
        for (std::size_t i = 0; i < kFolderSeparatorUnits; ++i) {
            *out++ = kFolderSeparator[i];
        }
    }
    if (length != 0) {
        std::memcpy(out, folder, length * sizeof(char16_t));
    }
    return out + length;
}
