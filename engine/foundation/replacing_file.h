// ReplacingFile: writes a whole new version of a file without ever damaging
// the old one.
//
// The content goes to a temporary file of its own beside the target,
// created exclusively under a fresh name, so a file or link planted beside
// the target is never written and two writers never share a temporary.
// commit() flushes it to the disk, renames it over the target in one step
// and syncs the folder. Until then, and whenever writing or committing
// fails, the target keeps its old bytes and the temporary is removed.
//
// The new file keeps the old one's mode bits. When the target is a
// symbolic link, the file it leads to is replaced and the link stays.
// Every file the engine writes goes this way.
#pragma once

#include <string>

#include "engine/foundation/binary_stream.h"

namespace inkrec {

class ReplacingFile {
 public:
  // Creates the temporary for writing (see is_open()).
  explicit ReplacingFile(const std::string& target_path);
  explicit ReplacingFile(const char16_t* target_path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool is_open() const { return stream_.good(); }
  BinaryStream& stream() { return stream_; }
  FileHolder& file() { return stream_.file(); }

  // Puts the written bytes in place of the target: 0, or 12001 when any
  // write fell short (through the stream or straight to the file) or the
  // flush, close or rename failed (the target is then untouched). A folder
  // that cannot be synced after the rename is not reported: the new file
  // is in place.
  int commit();

 private:
  void discard();

  std::string target_path_;  // with its symbolic links followed
  std::string temporary_path_;
  BinaryStream stream_;
  bool committed_ = false;
};

}  // namespace inkrec
