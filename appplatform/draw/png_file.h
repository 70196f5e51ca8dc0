// PNG dumps of any bitmap, for screenshots and for looking at test output.
#pragma once

#include <string>

#include "appplatform/draw/bitmap.h"

namespace ductra::platform {

// Writes the bitmap as an 8-bit RGB PNG; false when the file cannot be
// written (a partly written file is removed).
bool write_png(const Bitmap& bitmap, const std::string& path);

}  // namespace ductra::platform
