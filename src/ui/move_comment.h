// The comment that goes to the host with each item of the move-to-folder
// submenu: the folder's display text followed by " に移動".
#pragma once

#include "history/history_entry.h"

// The comment for `display`, made as FolderName values (to UTF-16 with the
// system ANSI code page and back) and kept with the entry, so that the next
// build reuses it while the host gives the same display text. Valid until
// the entry changes.
const char* MoveCommentFor(HistoryEntry& entry, const char* display);
