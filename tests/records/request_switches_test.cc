#include "engine/records/request_switches.h"

#include <gtest/gtest.h>

#include <cstring>

namespace inkrec {
namespace {

std::uint8_t& byte_at(RecognitionParams& params, std::size_t offset) {
  return reinterpret_cast<std::uint8_t*>(&params)[offset];
}

TEST(RequestSwitches, KernelStartsWithTheApplicationsValues) {
  RecognitionParams params;
  for (const SwitchByte& entry : kSwitchBytes) {
    SCOPED_TRACE(entry.names);
    EXPECT_EQ(byte_at(params, entry.offset), entry.default_value);
  }
  // The bytes follow each other from byte 20 of the request on.
  for (std::size_t i = 0; i < std::size(kSwitchBytes); ++i) {
    EXPECT_EQ(kSwitchBytes[i].request_byte, 20 + i);
    EXPECT_EQ(kSwitchBytes[i].offset, kSwitchBytes[0].offset + i);
  }
}

// Each name reads its byte and no other: with only that byte set, exactly
// the names of that byte are on.
TEST(RequestSwitches, EachNameReadsItsByte) {
  struct Name {
    const char* name;
    bool (RequestSwitches::*read)() const;
    std::uint8_t request_byte;
  };
  const Name names[] = {
      {"kind", &RequestSwitches::kind, 22},
      {"word-box search", &RequestSwitches::word_box_search, 22},
      {"body-and-link", &RequestSwitches::body_and_link, 23},
      {"pass", &RequestSwitches::pass, 23},
      {"baselines given", &RequestSwitches::baselines_given, 24},
      {"skip reference lines", &RequestSwitches::skip_reference_lines, 24},
      {"skew correction", &RequestSwitches::skew_correction, 25},
      {"stroke order", &RequestSwitches::stroke_order, 26},
      {"skew allowed", &RequestSwitches::skew_allowed, 26},
      {"writing order", &RequestSwitches::writing_order, 27},
      {"stroke joining", &RequestSwitches::stroke_joining, 27},
      {"word breaks", &RequestSwitches::word_breaks, 27},
      {"segment", &RequestSwitches::segment, 27},
      {"refine trajectories", &RequestSwitches::refine_trajectories, 28},
      {"fixed case", &RequestSwitches::fixed_case, 29},
      {"strict kind", &RequestSwitches::strict_kind, 29},
  };
  for (const SwitchByte& entry : kSwitchBytes) {
    RecognitionParams params;
    for (const SwitchByte& other : kSwitchBytes) byte_at(params, other.offset) = 0;
    byte_at(params, entry.offset) = 7;
    const RequestSwitches switches(params);
    for (const Name& name : names) {
      SCOPED_TRACE(name.name);
      EXPECT_EQ((switches.*name.read)(), name.request_byte == entry.request_byte);
    }
  }
}

}  // namespace
}  // namespace inkrec
