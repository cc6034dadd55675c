// Pictures of the screen saved as PNG files, through GDI+'s encoder.
#pragma once

#include <string>

#include "screen_pixels.h"

namespace png_file {

// False when GDI+ or its PNG encoder fails.
bool Save(const screen_pixels::Picture& picture, const std::wstring& path);

} // namespace png_file
