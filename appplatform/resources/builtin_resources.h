// The program's own resources: its Russian string table (the text of
// lang/ductra_loc.0419.lang, built in), the bitmaps and icons it names, and
// the folder of the language bundles that ship with it.
#pragma once

#include <filesystem>
#include <memory>

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/icon.h"
#include "appplatform/resources/string_table.h"

namespace ductra::platform {

// Bitmaps: the about page's product picture (64 x 64), the help mark of the
// dialogs' title strip (20 x 20 on black, which is transparent), and the
// backgrounds of the language indicator, one a size: 154 (22 pixels), 155
// (30), 156 (42), 157 (54), 158 (84).
inline constexpr int kProductPictureBitmap = 136;
inline constexpr int kHelpBitmap = 148;
inline constexpr int kIndicatorBitmapFirst = 154;
inline constexpr int kIndicatorBitmapLast = 158;
// The language indicator's default icons: 149 (22 pixels), 125 (42), 150 (84).
inline constexpr int kIndicatorIconLarge = 125;
inline constexpr int kIndicatorIconSmall = 149;
inline constexpr int kIndicatorIconHuge = 150;

const StringTable& builtin_strings();

// A fresh RGB565 copy the caller may draw on; null for an unknown id.
std::shared_ptr<Bitmap> load_builtin_bitmap(int id);
// Null for an unknown id.
std::shared_ptr<const Icon> load_builtin_icon(int id);

// The folder of the language bundles that ship with the program.
std::filesystem::path shipped_bundle_directory();

}  // namespace ductra::platform
