// Fonts drawn by FreeType from the faces fontconfig finds. The face names
// the application uses map to the DejaVu family; any other name goes to
// fontconfig as it is.
#pragma once

#include <memory>

#include "appplatform/draw/font.h"

namespace ductra::platform {

// Null when fontconfig finds no face file or FreeType cannot open it.
std::shared_ptr<const Font> create_freetype_font(const LogFont& description);

}  // namespace ductra::platform
