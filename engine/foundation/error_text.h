// The message table of the engine's status codes (Russian, as the engine has
// always shown them) and the lookup behind crReturnErrText.
#pragma once

#include <cstddef>

namespace inkrec {

// Units a caller's message buffer must hold, the terminating 0 included.
inline constexpr std::size_t kErrorTextBufferUnits = 256;

// Writes the message of `code` (matched by absolute value) into `buffer`,
// which must hold kErrorTextBufferUnits units, always 0-terminated.
// Returns 0; -2 for a null buffer; -3 for a code outside 1000..14999 other
// than -1, -2 and -3; -4 for a code in that range without a message. In the
// last two cases the buffer holds the empty string.
int get_error_text(int code, char16_t* buffer);

}  // namespace inkrec
