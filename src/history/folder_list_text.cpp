#include "history/folder_list_text.h"

const char16_t kFolderSeparator[] = u"*??*";

namespace {

bool IsSeparator(char16_t unit) noexcept {
    return unit == u'*' || unit == u'?';
}

} // namespace

std::size_t TextLengthWithin(const char16_t* text, std::size_t units) noexcept {
    std::size_t length = 0;
    while (length < units && text[length] != u'\0') {
        ++length;
    }
    return length;
}

std::vector<TextPiece> SplitFolderList(const char16_t* text, std::size_t units) {
    std::vector<TextPiece> pieces;
    std::size_t end = TextLengthWithin(text, units);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= end; ++i) {
        if (i == end || IsSeparator(text[i])) {
            if (i > start) {
                pieces.push_back({start, i - start});
            }
            start = i + 1;
        }
    }
    return pieces;
}

void AppendToFolderList(std::u16string& joined, bool first, const char16_t* folder,
                        std::size_t length) {
    if (!first) {
        joined.append(kFolderSeparator);
    }
    joined.append(folder, length);
}
