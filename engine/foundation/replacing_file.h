// ReplacingFile: writes a whole new version of a file without ever damaging
// the old one.
//
// The content goes to a temporary file beside the target; commit() flushes
// it to the disk and renames it over the target in one step. Until then,
// and whenever writing or committing fails, the target keeps its old bytes
// and the temporary is removed. Every file the engine writes goes this way.
#pragma once

#include <string>

#include "engine/foundation/binary_stream.h"

namespace inkrec {

class ReplacingFile {
 public:
  // Opens the temporary "<target>.tmp" for writing (see is_open()).
  explicit ReplacingFile(std::string target_path);
  explicit ReplacingFile(const char16_t* target_path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool is_open() const { return stream_.good(); }
  BinaryStream& stream() { return stream_; }
  FileHolder& file() { return stream_.file(); }

  // Puts the written bytes in place of the target: 0, or 12001 when any
  // write fell short (through the stream or straight to the file) or the
  // flush, close or rename failed (the target is then untouched).
  int commit();

 private:
  void discard();

  std::string target_path_;
  std::string temporary_path_;
  BinaryStream stream_;
  bool committed_ = false;
};

}  // namespace inkrec
