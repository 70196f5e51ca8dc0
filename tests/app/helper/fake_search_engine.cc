// The engine whose letter search reads what a test says
// (tests/support/fake_letter_search.h), built as a shared library with the
// engine's entry points, so the application loads it as it loads the
// engine and everything past the letter search runs as it does there: the
// text, the questions to the result callback and what the answers do.
#include <cstdint>
#include <vector>

#include "inkrec/inkrec.h"
#include "tests/support/fake_letter_search.h"

extern "C" {

// The next recognitions find one line of `count` letters; letter i is read
// as letters[i][0], with the further units of letters[i] as its
// alternatives, each scored a little lower. Call after the engine has
// started, while no recognition runs. 0, or the engine's status.
__attribute__((visibility("default"))) int fake_search_engine_read(const char16_t* const* letters, int count) {
  void* core = nullptr;
  if (const int status = crmGetCore(&core); status != 0) return status;
  inkrec::testing::FakeLetterSearch& search =
      inkrec::testing::install_fake_letter_search(*static_cast<inkrec::Kernel*>(core));
  inkrec::testing::FakeLine line;
  for (int i = 0; i < count; ++i) {
    std::vector<inkrec::testing::FakeReading> readings;
    for (const char16_t* unit = letters[i]; *unit != 0; ++unit) {
      readings.push_back(inkrec::testing::reading(*unit, 9000 - 100 * static_cast<std::int32_t>(readings.size())));
    }
    line.fragments.push_back(inkrec::testing::fragment(readings));
    line.fragments.back().points = {{static_cast<std::int16_t>(40 * i), 0},
                                    {static_cast<std::int16_t>(40 * i + 30), 40}};
  }
  search.lines = {line};
  return 0;
}

}  // extern "C"
