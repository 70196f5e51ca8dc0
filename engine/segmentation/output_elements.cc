#include "engine/segmentation/output_elements.h"

#include "engine/foundation/values.h"
#include "engine/records/letter_fields.h"

namespace inkrec {

bool has_missing_element(const PtrArray<FigureGroup>& elements) {
  for (const FigureGroup* element : elements) {
    if (element == nullptr || element->geometry == nullptr) return true;
  }
  return false;
}

std::uint16_t element_line(const FigureGroup& element) {
  const FigureRecord* first = element.figures.front();
  return first == nullptr ? kNoKey16 : first->line_index;
}

bool on_one_line(const FigureGroup& a, const FigureGroup& b) {
  return element_line(a) != kNoKey16 && element_line(a) == element_line(b);
}

Box16 element_box(const FigureGroup& element) { return element.geometry->bounding_box(); }

std::int32_t element_reference_x(const FigureGroup& element) {
  return reference_point(*element.geometry).x;
}

std::int32_t raise_share(FigureGroup& element, std::int32_t divisor) {
  const WidthBlock* profile = element_glyph_profile(element);
  const std::int32_t percentage = profile == nullptr ? 0 : profile->rows;
  if (percentage <= 0) return 0;
  return element_box(element).height() * percentage / divisor;
}

bool reads_as_space(const FigureGroup& element) {
  return element.answers != nullptr && element.answers->best_code() == u' ';
}

bool share_a_stroke(const FigureGroup& a, const FigureGroup& b) {
  for (const FigureRecord* f : a.figures) {
    for (const FigureRecord* g : b.figures) {
      if (f != nullptr && g != nullptr && stroke_number(*f) == stroke_number(*g)) return true;
    }
  }
  return false;
}

}  // namespace inkrec
