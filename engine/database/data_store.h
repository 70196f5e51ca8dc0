// DataStore: the recognition database in memory, bound to its data file.
//
// The store opens its file when it is built and reads it at once; status()
// tells how that went, and the engine manager destroys a store whose status
// is not 0.
#pragma once

#include <cstdint>

#include "engine/foundation/binary_stream.h"

namespace inkrec {

class DataStore {
 public:
  // access_class 0 opens the file read-only, 1 and 2 for reading and
  // writing; kind is the store kind of the data mode.
  DataStore(const char16_t* path, int access_class, int reserved, int kind);

  int status() const { return status_; }
  int kind() const { return kind_; }
  // Reads the data file again; the result becomes the status.
  int reload();

 private:
  int load();

  BinaryStream stream_;
  int kind_;
  int status_ = 0;
};

}  // namespace inkrec
