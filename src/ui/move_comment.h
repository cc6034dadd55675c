// The comment that goes to the host with each item of the move-to-folder
// submenu: the folder's display text followed by " に移動".
#pragma once

#include <cstddef>

// The comment for `display`, the text of the item at `position`, made as
// FolderName values (to UTF-16 with the system ANSI code page and back).
// Comments made are kept, one for each position, with the display texts they
// were made from, so that a build whose items the host names as before makes
// none. Valid until the next call.
const char* MoveCommentFor(std::size_t position, const char* display);
