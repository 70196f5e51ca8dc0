// UserVariantFile: the user's choices of writing variants, kept in
// "user.txt".
#pragma once

#include <string>

namespace inkrec {

class UserVariantFile {
 public:
  // The file is `path`, or "user.txt" appended to it when append_name is set.
  UserVariantFile(const char16_t* path, bool append_name);

  const std::u16string& path() const { return path_; }
  int read();

 private:
  std::u16string path_;
};

}  // namespace inkrec
