// A data store opened for reading and writing as the engine opens it: with
// the RAF features that tell its knowledge base the cells of a sample, so
// that it can build etalons.
#pragma once

#include <memory>
#include <string>

#include "engine/analysis/raf_sample_cells.h"
#include "engine/database/data_store.h"

namespace inkrec::testing {

inline std::unique_ptr<DataStore> open_feature_store(const std::string& path) {
  auto store = std::make_unique<DataStore>(path.c_str(), 1, 0, 0);
  store->set_sample_cells(std::make_unique<RafSampleCells>());
  return store;
}

}  // namespace inkrec::testing
