#include "app/shell/recognition_overrides.h"

#include <fstream>
#include <string>

namespace ductra {
namespace {

bool read_boolean(std::istream& in, bool* value) {
  std::string word;
  if (!(in >> word) || (word != "0" && word != "1")) return false;
  *value = word == "1";
  return true;
}

}  // namespace

void apply_recognition_overrides(const std::filesystem::path& file, RequestSwitches* switches) {
  std::ifstream in(file);
  if (!in) return;
  RequestSwitches read;
  if (read_boolean(in, &read.long_limit) && read_boolean(in, &read.dictionary) &&
      read_boolean(in, &read.right_to_left)) {
    *switches = read;
  }
}

}  // namespace ductra
