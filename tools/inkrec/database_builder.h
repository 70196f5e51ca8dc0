// build_database: writes the recognition database a recipe describes.
//
// The records go through the engine's own data store, each placed under the
// id the recipe gives it, and the store's serializer writes the file, so the
// file is exactly what the engine itself would write. Every variant that is
// not special gets its etalon built from its shape's samples by the
// knowledge base. The same recipe and samples give the same bytes.
#pragma once

#include <string>

#include "tools/inkrec/recipe.h"

namespace inkrec::tool {

// Builds the database into out_path: true, or false with *error saying
// which recipe line the store refused and why. The file is written whole
// beside out_path and renamed over it, so a failed build leaves whatever
// was there before.
bool build_database(const Recipe& recipe, const std::string& out_path, std::string* error);

}  // namespace inkrec::tool
