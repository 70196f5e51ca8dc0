// Writing the recognised text into the caller's buffer.
#pragma once

#include <cstdint>
#include <span>

namespace inkrec {

// Copies the codes into buffer, which holds size units: at most size - 1
// codes and a terminating 0; nothing at all for a size below 1. After each
// Hebrew final letter form (U+05DA, U+05DD, U+05DF, U+05E3, U+05E5) that is
// not the last code, a no-break space U+00A0 follows when it still fits.
void write_result_text(std::span<const std::uint16_t> text, char16_t* buffer, std::int32_t size);

}  // namespace inkrec
