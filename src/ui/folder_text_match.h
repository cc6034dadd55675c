// Whether two host folder texts name the same folder.
#pragma once

// Equal byte for byte up to and including the NUL: no case, code-page or
// locale folding. A missing text (null) names no folder and matches nothing.
bool SameFolderText(const char* a, const char* b) noexcept;
