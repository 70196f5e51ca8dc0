// UserVariantFile: the user's choices of how often each writing variant
// occurs in his hand, kept in the text file "user.txt" so that the shared
// data file need not change.
//
// One choice a line, three decimal numbers: "0 <id> <use class>" for a
// variant, "1 <id> <use class>" for a complex variant (any kind but 0 is
// read as complex). Only use classes other than 0 ("often") are written,
// variants first, each table in its order. Reading applies every line whose
// record the database holds; a line that is not three numbers is skipped.
#pragma once

#include <string>

namespace inkrec {

class DataStore;

class UserVariantFile {
 public:
  // The file is path, or "user.txt" appended to it when append_name is set.
  UserVariantFile(const char16_t* path, bool append_name);
  UserVariantFile(const char* path, bool append_name);

  const std::u16string& path() const { return path_; }

  // Applies the file's choices to the store: 0 (also for an empty path),
  // -1 when the file does not open.
  int read(DataStore& store) const;
  // Writes the store's choices through a temporary file: 0 (nothing for an
  // empty path), -1 when the file cannot be created, 12001 when writing
  // fails (the old file then stays).
  int write(const DataStore& store) const;

 private:
  std::u16string path_;
};

}  // namespace inkrec
