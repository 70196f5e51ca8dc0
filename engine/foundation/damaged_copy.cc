#include "engine/foundation/damaged_copy.h"

#include "engine/foundation/file_holder.h"
#include "engine/foundation/status.h"
#include "platform/env.h"

namespace inkrec {
namespace {

constexpr int kMaxCopies = 100;

// Creates the first free name of "<path>.damaged", "<path>.damaged-2", ...
// exclusively; false when none could be created.
bool create_copy(const std::string& path, FileHolder* copy, std::string* name) {
  for (int n = 1; n <= kMaxCopies; ++n) {
    *name = path + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n));
    if (copy->open(name->c_str(), "wbx")) return true;
  }
  return false;
}

bool copy_bytes(FileHolder& from, FileHolder& to) {
  char buffer[1 << 14];
  std::size_t n = 0;
  while ((n = from.read(buffer, 1, sizeof buffer)) > 0) {
    if (to.write(buffer, 1, n) != n) return false;
  }
  return from.error() == 0 && platform::sync_file(to.stream());
}

}  // namespace

int keep_damaged_copy(const std::string& path) {
  FileHolder original;
  if (!original.open(path.c_str(), "rb")) return kOk;
  FileHolder copy;
  std::string name;
  if (!create_copy(path, &copy, &name)) return kFileIo;
  if (copy_bytes(original, copy) && copy.close() == 1) return kOk;
  copy.close();
  platform::remove_file(name);
  return kFileIo;
}

}  // namespace inkrec
