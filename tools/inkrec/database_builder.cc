#include "tools/inkrec/database_builder.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "engine/analysis/raf_sample_cells.h"
#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "tools/inkrec/progress_bar.h"

namespace inkrec::tool {
namespace {

class Builder {
 public:
  Builder(const Recipe& recipe, DataStore& store, std::string* error)
      : recipe_(recipe), store_(store), error_(*error) {}

  bool place_all() {
    return place(recipe_.charsets, "charset",
                 [this](const CharSet& r) { return store_.add_charset(r); }) &&
           place(recipe_.symbs, "symbol", [this](const Symb& r) { return store_.add_symb(r); }) &&
           place(recipe_.charset_symbs, "charset symbol",
                 [this](const CharSetSymb& r) { return store_.add_charset_symb(r); }) &&
           place(recipe_.rafs, "raf", [this](const Raf& r) { return store_.place_raf(r); }) &&
           place(recipe_.shapes, "shape", [this](const Shape& r) { return store_.place_shape(r); }) &&
           place_variants() &&
           place(recipe_.complex_variants, "complex variant",
                 [this](const ComplexVariant& r) { return store_.place_complex_variant(r); });
  }

 private:
  template <typename Table, typename Add>
  bool place(const Table& table, const char* what, Add add) {
    for (const auto& [key, entry] : table) {
      if (!check(add(entry.record), entry.line, what)) return false;
    }
    return true;
  }

  // The long step: every variant's etalon is built from its shape.
  bool place_variants() {
    ProgressBar bar("building etalons", recipe_.variants.size());
    for (const auto& [id, entry] : recipe_.variants) {
      if (!check(store_.place_variant(entry.record), entry.line, "variant")) return false;
      bar.step();
    }
    return true;
  }

  bool check(int status, int line, const char* what) {
    if (status == kOk) return true;
    error_ = recipe_.path + ":" + std::to_string(line) + ": the store refused the " + what +
             " (status " + std::to_string(status) + ")";
    return false;
  }

  const Recipe& recipe_;
  DataStore& store_;
  std::string& error_;
};

}  // namespace

bool build_database(const Recipe& recipe, const std::string& out_path, std::string* error) {
  const std::string building = out_path + ".building";
  if (!std::ofstream(building, std::ios::binary | std::ios::trunc)) {
    *error = "cannot create " + building;
    return false;
  }
  bool built = false;
  {
    // The store opens the empty file and starts with empty tables.
    DataStore store(building.c_str(), 1, 0, 0);
    store.set_sample_cells(std::make_unique<RafSampleCells>());
    built = Builder(recipe, store, error).place_all();
    if (built) {
      if (const int status = store.save(); status != kOk) {
        *error = "cannot write " + building + " (status " + std::to_string(status) + ")";
        built = false;
      }
    }
  }
  std::error_code failure;
  if (built) {
    std::filesystem::rename(building, out_path, failure);
    if (!failure) return true;
    *error = "cannot rename " + building + " to " + out_path + ": " + failure.message();
  }
  std::filesystem::remove(building, failure);
  return false;
}

}  // namespace inkrec::tool
