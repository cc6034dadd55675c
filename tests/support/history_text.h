// Histories written and read as short texts in tests: "Gamma(7),Alpha,Beta"
// is Gamma bound to command 7 at the front, then Alpha and Beta unbound.
#pragma once

#include <string>

#include "history/folder_history.h"

namespace history_text {

// Replaces the history's entries with those described.
void Fill(FolderHistory& history, const std::string& description);
std::string Describe(const FolderHistory& history);

} // namespace history_text
