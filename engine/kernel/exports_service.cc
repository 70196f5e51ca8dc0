// The exports that need no kernel: error texts and the version.
#include <algorithm>
#include <cstring>

#include "engine/foundation/error_text.h"
#include "engine/foundation/status.h"
#include "inkrec/inkrec.h"

namespace {

// The version text with its terminator and one more 0 byte.
constexpr char kVersionText[] = "9.0.462.11806\0";
constexpr int kBuildNumber = 462;

}  // namespace

extern "C" {

int crReturnErrText(int code, char16_t* buffer) { return inkrec::get_error_text(code, buffer); }

int crmGetVersion(char* buffer, int size) {
  if (buffer == nullptr) return inkrec::kBadArgument;
  if (size > 0) {
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(size), sizeof kVersionText);
    std::memcpy(buffer, kVersionText, n);
    buffer[size - 1] = '\0';
  }
  return kBuildNumber;
}

}  // extern "C"
