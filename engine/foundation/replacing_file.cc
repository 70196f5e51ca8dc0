#include "engine/foundation/replacing_file.h"

#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"
#include "platform/env.h"

namespace inkrec {

ReplacingFile::ReplacingFile(std::string target_path)
    : target_path_(std::move(target_path)), temporary_path_(target_path_ + ".tmp") {
  stream_.file().open(temporary_path_.c_str(), "wb");
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
  return kOk;
}

void ReplacingFile::discard() {
  stream_.close();
  platform::remove_file(temporary_path_);
}

}  // namespace inkrec
