#include "engine/database/user_variant_file.h"

#include "engine/foundation/status.h"
#include "engine/foundation/utf.h"

namespace inkrec {

UserVariantFile::UserVariantFile(const char16_t* path, bool append_name) : path_(wide_view(path)) {
  if (append_name) path_ += u"user.txt";
}

int UserVariantFile::read() { return kOk; }

}  // namespace inkrec
