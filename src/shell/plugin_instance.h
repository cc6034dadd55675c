// The module's one settings object, which the test programs replace with
// their own (they load no settings at start-up).
#pragma once

#include "history/folder_history.h"

// The history of the module's own settings object.
FolderHistory& ActiveHistory() noexcept;
