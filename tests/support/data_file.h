// Data files for tests that start the engine.
#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace inkrec::testing {

// The bytes of a data file with no records: the header and the terminator.
inline std::vector<unsigned char> empty_data_file_bytes() {
  return {'g',  's',  't',  0, 0x03, 0x01, 0, 0,  // header, version 259
          0xFF, 0xFF, 0,    0, 0,    0,    0, 0, 0, 0, 0, 0,  // end chunk
          0xFF, 0xFF, 0xFF, 0xFF};
}

inline void write_empty_data_file(const std::string& path) {
  write_bytes(path, empty_data_file_bytes());
}

}  // namespace inkrec::testing
