#include "ui/move_comment.h"

#include <cstring>

namespace {

// " に移動"
const char kMoveSuffix[] = " \x82\xc9\x88\xda\x93\xae";

// The kept comment when it was made from `display`, else null. The kept
// block holds the display text, its NUL, the comment and its NUL.
const char* KeptCommentFor(const char* kept, const char* display) noexcept {
    if (kept == nullptr) {
        return nullptr;
    }
    std::size_t i = 0;
    for (; kept[i] == display[i]; ++i) {
        if (display[i] == '\0') {
            return kept + i + 1;
        }
    }
    return nullptr;
}

} // namespace

const char* MoveCommentFor(HistoryEntry& entry, const char* display) {
    if (const char* kept = KeptCommentFor(entry.moveComment.get(), display)) {
        return kept;
    }
    FolderName comment = FolderName::Join(FolderName(display), FolderName(kMoveSuffix));
    const char* ansi = comment.Ansi();
    std::size_t displayBytes = std::strlen(display) + 1;
    std::size_t commentBytes = std::strlen(ansi) + 1;
    std::unique_ptr<char[]> made(new char[displayBytes + commentBytes]);
    std::memcpy(made.get(), display, displayBytes);
    std::memcpy(made.get() + displayBytes, ansi, commentBytes);
    entry.moveComment = std::move(made);
    return entry.moveComment.get() + displayBytes;
}
