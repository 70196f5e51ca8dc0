#include "engine/foundation/mapped_file.h"

#include "engine/foundation/utf.h"

namespace inkrec {

MappedFile::MappedFile(const char16_t* path) : mapping_(utf16_to_utf8(wide_view(path))) {}

}  // namespace inkrec
