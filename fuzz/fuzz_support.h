// What the fuzz targets and their seed writer share: a folder for the
// files a target reads and writes, and the small databases the user files
// are read against.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "tests/support/data_file.h"
#include "tests/support/dictionary_data.h"
#include "tests/support/temp_dir.h"

namespace inkrec::fuzz {

// A broken promise of the code under test: stops the run so that libFuzzer
// keeps the input.
#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                             \
    }                                                                           \
  } while (false)

// One folder for the whole run.
inline const testing::TempDir& work_dir() {
  static const testing::TempDir dir;
  return dir;
}

inline std::string write_input(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = work_dir().file(name);
  testing::write_bytes(path, std::vector<unsigned char>(data, data + size));
  return path;
}

inline std::unique_ptr<DataStore> empty_store() {
  const std::string path = work_dir().file("empty.dt");
  testing::write_empty_data_file(path);
  return std::make_unique<DataStore>(path.c_str(), 1, 0, 0);
}

// Charsets 5 and 6 with the letters a..z (6 also 'ä'), '-' a separator.
inline std::unique_ptr<DataStore> dictionary_store() {
  auto store = empty_store();
  testing::add_dictionary_charsets(*store);
  return store;
}

// Variants and complex variants 1..3, every one used "Often".
inline std::unique_ptr<DataStore> variant_store() {
  auto store = empty_store();
  for (std::uint16_t id = 1; id <= 3; ++id) {
    Variant variant;
    variant.id = id;
    variant.etalon_id = kNoEtalon;
    variant.special_recognition = kSpecialRecognition;
    store->knowledge_base().variants().push_back(variant);
    ComplexVariant complex{};
    complex.set = 5;
    store->add_complex_variant(complex);
  }
  store->knowledge_base().reindex(false);
  return store;
}

}  // namespace inkrec::fuzz
