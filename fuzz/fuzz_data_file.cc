// A data file of arbitrary bytes, loaded as the engine loads "qlmain.dt";
// when it loads, its listing and self-test report are written, it is saved
// under another name and loaded again, which must succeed and list the
// same tables.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace inkrec;
  using namespace inkrec::fuzz;
  const std::string path = write_input("qlmain.dt", data, size);
  DataStore store(path.c_str(), kAccessReadOnly, 0, 0);
  if (store.status() != kOk) return 0;

  const std::string listing = work_dir().file("listing.txt");
  const std::string report = work_dir().file("report.txt");
  FUZZ_CHECK(store.save_text(listing.c_str()) == kOk);
  const int self_test = store.self_test(report.c_str());
  FUZZ_CHECK(self_test == 0 || self_test == 1);

  const std::string copy = work_dir().file("copy.dt");
  testing::write_bytes(copy, {});
  FUZZ_CHECK(store.save_as(copy.c_str()) == kOk);
  DataStore again(copy.c_str(), kAccessReadOnly, 0, 0);
  FUZZ_CHECK(again.status() == kOk);
  const std::string listing_again = work_dir().file("listing-again.txt");
  FUZZ_CHECK(again.save_text(listing_again.c_str()) == kOk);
  FUZZ_CHECK(testing::read_bytes(listing) == testing::read_bytes(listing_again));
  return 0;
}
