// TextLine and the text line list.

#include "engine/records/text_line.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {

int LinePart::assign(const LinePart& other) {
  if (this == &other) return kOk;
  LinePart copy;
  if (copy_figure_list(other.candidates, copy.candidates) != kOk ||
      copy_figure_list(other.figure_refs, copy.figure_refs) != kOk ||
      copy_figure_list(other.extra_figures, copy.extra_figures) != kOk ||
      copy.entries.assign(other.entries) != kOk) {
    return kOutOfMemory;
  }
  copy.values[0] = other.values[0];
  copy.values[1] = other.values[1];
  copy.flag = other.flag;
  *this = std::move(copy);
  return kOk;
}

void LinePart::clear() {
  candidates.remove_all();
  figure_refs.remove_all();
  extra_figures.remove_all();
  entries.clear();
  values[0] = 0;
  values[1] = 0;
}

int TextLine::assign(const TextLine& other) {
  if (this == &other) return kOk;
  TextLine copy;
  if (copy.strokes.assign(other.strokes) != kOk || copy.part.assign(other.part) != kOk) {
    return kOutOfMemory;
  }
  std::copy(std::begin(other.fits), std::end(other.fits), copy.fits);
  copy.box = other.box;
  copy.id = other.id;
  copy.words[0] = other.words[0];
  copy.words[1] = other.words[1];
  *this = std::move(copy);
  return kOk;
}

void TextLine::clear() {
  for (LineFit& fit : fits) fit.reset();
  box.clear();
  strokes.clear();
  part.clear();
  id = 0;
  word_groups.clear();
  candidates.remove_all();
  letter_results.remove_all();
  tall_letter_height = 1;
  body_height = 1;
}

std::int16_t TextLine::case_reference_height(std::int16_t letter_height) const {
  const std::int16_t height = part_flag() != 0 ? body_height : letter_height;
  return std::max<std::int16_t>(height, 1);
}

void release_line_objects(DynArray<TextLine>& lines) {
  for (TextLine& line : lines) {
    for (LineGroup& group : line.word_groups) {
      group.cover.remove_all();
      group.alternatives.clear();
    }
  }
}

int TextLine::add_stroke(std::uint16_t stroke) {
  if (strokes.push_back(stroke) != kOk) return kOutOfMemory;
  sort_u16(strokes.data(), static_cast<std::int32_t>(strokes.size()));
  return kOk;
}

void sort_u16(std::uint16_t* values, std::int32_t count) {
  if (values == nullptr || count < 1) return;
  std::sort(values, values + count);
}

std::int16_t next_text_line_id(const DynArray<TextLine>& lines) {
  std::int32_t greatest = 0;
  for (const TextLine& line : lines) greatest = std::max<std::int32_t>(greatest, line.id);
  return saturate_int16(greatest + 1);
}

TextLine* append_text_line(DynArray<TextLine>& lines, const TextLine& line) {
  TextLine copy;
  if (copy.assign(line) != kOk || lines.push_back(std::move(copy)) != kOk) return nullptr;
  return &lines.back();
}

TextLine* append_new_text_line(DynArray<TextLine>& lines) { return lines.push_default(); }

TextLine* add_text_line(DynArray<TextLine>& lines) {
  TextLine* line = append_new_text_line(lines);
  if (line == nullptr) return nullptr;
  line->clear();
  line->id = next_text_line_id(lines);
  return line;
}

int remove_text_line(DynArray<TextLine>& lines, std::int16_t id) {
  for (std::uint32_t i = 0; i < lines.size(); ++i) {
    if (lines[i].id == id) return lines.erase(i, 1);
  }
  return kBadArgument;
}

}  // namespace inkrec
