#include "app/delivery/trailing_space.h"

namespace ductra {
namespace {

constexpr std::size_t kShortestSpaced = 2;
constexpr std::size_t kLongestSpaced = 254;
constexpr std::u16string_view kEndsThatSeparate = u"\b\t\n\r ";

}  // namespace

std::u16string postprocess_result(std::u16string_view text, bool space_after_result) {
  std::u16string result(text);
  const bool spaced = space_after_result && text.size() >= kShortestSpaced && text.size() <= kLongestSpaced &&
                      kEndsThatSeparate.find(text.back()) == std::u16string_view::npos;
  if (spaced) result += u' ';
  return result;
}

}  // namespace ductra
