// Recipe: the text that describes a recognition database record by record,
// and its reader.
//
// One record a line; '#' starts a comment, blank lines are skipped. A line
// is a keyword, its positional fields, then key=value fields in any order.
// Numbers are decimal or 0x-hexadecimal; a name is one word or a text in
// double quotes (UTF-8). Every id is written out: the builder places each
// record under the id the recipe gives it.
//
//   charset ID NAME [ortho=N] [wordlist=CODE] [direct=N]
//   symbol CODE [second=C] [third=C] [sides=N] [def=N] [control=N]
//   charsym CHARSET CODE [values=A,B,C]
//   raf ID NX NY WEIGHT
//   shape ID NAME [height_limit=N] [width=N] [height=N] [minima=N]
//         [maxima=N] [count=N] [segments=N] [masks=A,B] [second_count=N]
//   sample SHAPE UPPER BASE STROKES...
//   samples SHAPE FILE
//   variant ID charset=N code=C shape=S [use=N] [group=N] [representative=N]
//         [properties=N] [special=N] [height_flag=N] [second=C] [cursive=N]
//   complex ID charset=N code=C first=S second=S symbol=C [kind=N]
//         [use=N] [sides=N] [count=N] [group=N] [show=N] [mode=N]
//         [whole=S] [first_code=C] [second_code=C] [tolerance=N] [pass=N]
//
// A sample's UPPER and BASE are its upper line and baseline (y grows
// downward); STROKES are points "x,y" separated by blanks, strokes by ';'.
// A samples FILE (relative to the recipe's folder) holds one sample a line
// as "UPPER BASE<TAB>STROKES". Whatever goes wrong is reported as
// "FILE:LINE: what" and nothing is built.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/database/data_records.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec::tool {

// A record with the recipe line that gave it, for the builder's messages.
template <typename Record>
struct RecipeEntry {
  Record record{};
  int line = 0;
};

struct Recipe {
  std::map<std::uint32_t, RecipeEntry<CharSet>> charsets;
  std::map<std::uint16_t, RecipeEntry<Symb>> symbs;
  std::map<std::pair<std::uint32_t, std::uint16_t>, RecipeEntry<CharSetSymb>> charset_symbs;
  std::map<std::uint16_t, RecipeEntry<Raf>> rafs;
  std::map<std::uint16_t, RecipeEntry<Shape>> shapes;
  std::map<std::uint16_t, RecipeEntry<Variant>> variants;
  std::map<std::uint16_t, RecipeEntry<ComplexVariant>> complex_variants;
  std::string path;
};

// Reads the recipe at `path` into *recipe: true, or false with *error set
// to "FILE:LINE: what went wrong".
bool read_recipe(const std::string& path, Recipe* recipe, std::string* error);

// Reads one line of strokes ("x,y x,y;x,y") into *strokes: false when a
// point is malformed, lies outside 16-bit coordinates or a stroke is empty.
bool parse_strokes(std::string_view text, StrokeArray* strokes);

}  // namespace inkrec::tool
