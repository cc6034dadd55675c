// The cursor of a drag that copies: the arrow with a small plus box beside it.
#pragma once

#include "win_handles.h"

namespace copy_cursor {

win_handles::Cursor Make();

} // namespace copy_cursor
