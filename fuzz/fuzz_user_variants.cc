// A "user.txt" of arbitrary bytes applied to a small database; the choices
// are written out and read into a fresh database, which must end with the
// same use classes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/database/user_variant_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace inkrec;
  using namespace inkrec::fuzz;
  const std::string path = write_input("user.txt", data, size);
  const auto store = variant_store();
  FUZZ_CHECK(UserVariantFile(path.c_str(), false).read(*store) == kOk);

  const UserVariantFile saved(work_dir().file("saved.txt").c_str(), false);
  FUZZ_CHECK(saved.write(*store) == kOk);
  const auto again = variant_store();
  FUZZ_CHECK(saved.read(*again) == kOk);
  for (std::uint16_t id = 1; id <= 3; ++id) {
    FUZZ_CHECK(store->find_variant(id)->idUse == again->find_variant(id)->idUse);
    FUZZ_CHECK(store->find_complex_variant(id)->use == again->find_complex_variant(id)->use);
  }
  return 0;
}
