#include "ui/move_comment.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "common/folder_name.h"
#include "history/folder_cap.h"

namespace {

// " に移動"
const char kMoveSuffix[] = " \x82\xc9\x88\xda\x93\xae";

// One block for each item position: the display text, its NUL, the comment
// and its NUL. Null until a comment is made there.
std::unique_ptr<char[]> keptComments[kMostFolders];

} // namespace

const char* MoveCommentFor(std::size_t position, const char* display) {
    auto madeFrom = [display](const std::unique_ptr<char[]>& block) {
        return block != nullptr && std::strcmp(block.get(), display) == 0;
    };
    std::unique_ptr<char[]>& slot = keptComments[position % kMostFolders];
    // The items may have moved since: a folder put at the front moves every
    // other one a place further down.
    const std::unique_ptr<char[]>* kept =
        madeFrom(slot) ? &slot
                       : std::find_if(std::begin(keptComments), std::end(keptComments), madeFrom);
    std::size_t displayBytes = std::strlen(display) + 1;
    if (kept != std::end(keptComments)) {
        return kept->get() + displayBytes;
    }
    FolderName comment = FolderName::Join(FolderName(display), FolderName(kMoveSuffix));
    const char* ansi = comment.Ansi();
    std::size_t commentBytes = std::strlen(ansi) + 1;
    std::unique_ptr<char[]> made(new char[displayBytes + commentBytes]);
    std::memcpy(made.get(), display, displayBytes);
    std::memcpy(made.get() + displayBytes, ansi, commentBytes);
    slot = std::move(made);
    return slot.get() + displayBytes;
}
