#include "engine/foundation/replacing_file.h"

#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"
#include "platform/env.h"

namespace inkrec {

ReplacingFile::ReplacingFile(const std::string& target_path)
    : target_path_(platform::resolve_links(target_path)) {
  stream_.file().adopt(
      platform::create_unique_file(target_path_ + ".", target_path_, &temporary_path_));
}

ReplacingFile::ReplacingFile(const char16_t* target_path)
    : ReplacingFile(utf16_to_utf8(wide_view(target_path))) {}

ReplacingFile::~ReplacingFile() {
  if (!committed_) discard();
}

int ReplacingFile::commit() {
  const bool written = stream_.good() && stream_.file().error() == 0 &&
                       platform::sync_file(stream_.file().stream());
  if (!written || stream_.close() != 1 ||
      !platform::replace_file(temporary_path_, target_path_)) {
    discard();
    return kFileIo;
  }
  committed_ = true;
  platform::sync_folder_of(target_path_);
  return kOk;
}

void ReplacingFile::discard() {
  stream_.close();
  if (!temporary_path_.empty()) platform::remove_file(temporary_path_);
  temporary_path_.clear();
}

}  // namespace inkrec
