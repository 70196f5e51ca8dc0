// The exports that need no kernel: error texts, the version and the test
// values.
#include <algorithm>
#include <cstring>

#include "engine/foundation/error_text.h"
#include "engine/foundation/status.h"
#include "inkrec/inkrec.h"

namespace {

// The version text with its terminator and one more 0 byte.
constexpr char kVersionText[] = "9.0.462.11806\0";
constexpr int kBuildNumber = 462;

// Process-wide values that only their getters read.
double test_alpha = 1.0;
double test_exp = 3.0;
int test_n = 3;

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

int cr_test_SetAlpha(double alpha) {
  test_alpha = alpha;
  return inkrec::kOk;
}

int cr_test_SetExp(double exp) {
  test_exp = exp;
  return inkrec::kOk;
}

int cr_test_SetN(int n) {
  test_n = n;
  return inkrec::kOk;
}

double cr_test_GetAlpha(void) { return test_alpha; }

double cr_test_GetExp(void) { return test_exp; }

int cr_test_GetN(void) { return test_n; }

}  // extern "C"
