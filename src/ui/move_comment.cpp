#include "ui/move_comment.h"

#include <cstring>
#include <memory>

#include "common/folder_name.h"
#include "history/folder_cap.h"

namespace {

// " に移動"
const char kMoveSuffix[] = " \x82\xc9\x88\xda\x93\xae";

// One block for each item position: the display text, its NUL, the comment
// and its NUL. Null until a comment is made there.
std::unique_ptr<char[]> keptComments[kMostFolders];

// The comment kept in `block` when it was made from `display`, else null.
const char* KeptCommentFor(const char* block, const char* display) noexcept {
    if (block == nullptr) {
        return nullptr;
    }
    std::size_t i = 0;
    for (; block[i] == display[i]; ++i) {
        if (display[i] == '\0') {
            return block + i + 1;
        }
    }
    return nullptr;
}

} // namespace

const char* MoveCommentFor(std::size_t position, const char* display) {
    std::unique_ptr<char[]>& kept = keptComments[position % kMostFolders];
    if (const char* comment = KeptCommentFor(kept.get(), display)) {
        return comment;
    }
    // The items may have moved since: a folder put at the front moves every
    // other one a place further down.
    for (const std::unique_ptr<char[]>& other : keptComments) {
        if (const char* comment = KeptCommentFor(other.get(), display)) {
            return comment;
        }
    }
    FolderName comment = FolderName::Join(FolderName(display), FolderName(kMoveSuffix));
    const char* ansi = comment.Ansi();
    std::size_t displayBytes = std::strlen(display) + 1;
    std::size_t commentBytes = std::strlen(ansi) + 1;
    std::unique_ptr<char[]> made(new char[displayBytes + commentBytes]);
    std::memcpy(made.get(), display, displayBytes);
    std::memcpy(made.get() + displayBytes, ansi, commentBytes);
    kept = std::move(made);
    return kept.get() + displayBytes;
}
