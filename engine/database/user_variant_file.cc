#include "engine/database/user_variant_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/database/data_store.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"

namespace inkrec {
namespace {

constexpr std::u16string_view kFileName = u"user.txt";
constexpr int kVariantKind = 0;
constexpr int kComplexKind = 1;

struct Choice {
  long kind;
  long id;
  long use;
};

// Three decimal numbers at the start of line; false when it has fewer or
// one is out of its range: the id a u16, the use class not negative (every
// class above 1 means "Never", so a stored class is never below 0).
bool parse_choice(const char* line, Choice* out) {
  long values[3];
  const char* at = line;
  for (long& value : values) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(at, &end, 10);
    if (end == at || errno != 0) return false;
    at = end;
  }
  *out = {values[0], values[1], values[2]};
  return out->id >= 0 && out->id <= 0xFFFF && out->use >= 0 && out->use <= INT32_MAX;
}

// Reads one line into buffer, dropping what does not fit; false at the end.
bool read_line(std::FILE* stream, char* buffer, int size) {
  if (std::fgets(buffer, size, stream) == nullptr) return false;
  if (std::strchr(buffer, '\n') == nullptr) {
    int c;
    while ((c = std::fgetc(stream)) != EOF && c != '\n') {
    }
  }
  return true;
}

void apply(const Choice& choice, DataStore& store) {
  const auto id = static_cast<std::uint16_t>(choice.id);
  const auto use = static_cast<std::uint32_t>(choice.use);
  if (choice.kind == kVariantKind) {
    if (const Variant* found = store.find_variant(id)) {
      Variant changed = *found;
      changed.idUse = use;
      store.set_variant(changed);
    }
  } else if (const ComplexVariant* found = store.find_complex_variant(id)) {
    ComplexVariant changed = *found;
    changed.use = use;
    store.set_complex_variant(changed);
  }
}

// One line "<kind> <id> <use class>"; a failed write marks the stream.
void write_choice(ReplacingFile& file, int kind, std::uint16_t id, std::uint32_t use) {
  if (file.file().printf("%d %d %d\n", kind, id, static_cast<int>(use)) < 0) {
    file.stream().set_error();
  }
}

}  // namespace

UserVariantFile::UserVariantFile(const char16_t* path, bool append_name) : path_(wide_view(path)) {
  if (append_name) path_ += kFileName;
}

UserVariantFile::UserVariantFile(const char* path, bool append_name)
    : path_(utf8_to_utf16(path == nullptr ? "" : path)) {
  if (append_name) path_ += kFileName;
}

int UserVariantFile::read(DataStore& store) const {
  if (path_.empty()) return kOk;
  FileHolder file;
  if (!file.open_wide(path_.c_str(), u"r")) return kOutOfMemory;
  char line[256];
  while (read_line(file.stream(), line, sizeof line)) {
    Choice choice{};
    if (parse_choice(line, &choice)) apply(choice, store);
  }
  return kOk;
}

int UserVariantFile::write(const DataStore& store) const {
  if (path_.empty()) return kOk;
  ReplacingFile file(path_.c_str());
  if (!file.is_open()) return kOutOfMemory;
  for (std::uint32_t i = 0; i < store.variant_count(); ++i) {
    const Variant& variant = *store.variant_at(i);
    if (variant.idUse != 0) write_choice(file, kVariantKind, variant.id, variant.idUse);
  }
  for (std::uint32_t i = 0; i < store.complex_variant_count(); ++i) {
    const ComplexVariant& variant = *store.complex_variant_at(i);
    if (variant.use != 0) write_choice(file, kComplexKind, variant.id, variant.use);
  }
  return file.commit();
}

}  // namespace inkrec
