#include "tools/inkrec/ink_file.h"

#include <charconv>
#include <cstdint>

namespace inkrec::tool {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Splits text at each separator (empty pieces kept).
std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

bool parse_coordinate(std::string_view text, std::int16_t* value) {
  int parsed = 0;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (fault != std::errc() || end != text.data() + text.size() || parsed < INT16_MIN ||
      parsed > INT16_MAX) {
    return false;
  }
  *value = static_cast<std::int16_t>(parsed);
  return true;
}

bool parse_point(std::string_view text, crPoint* point) {
  const std::size_t comma = text.find(',');
  return comma != std::string_view::npos && parse_coordinate(text.substr(0, comma), &point->x) &&
         parse_coordinate(text.substr(comma + 1), &point->y);
}

bool parse_stroke(std::string_view text, std::vector<crPoint>* stroke, std::string* error) {
  for (std::size_t start = text.find_first_not_of(' '); start != std::string_view::npos;
       start = text.find_first_not_of(' ', start)) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view piece = text.substr(start, end - start);
    crPoint point{};
    if (!parse_point(piece, &point)) {
      *error = "not a point x,y with both in -32768..32767: \"" + std::string(piece) + "\"";
      return false;
    }
    if (stroke->size() == kMaxStrokePoints) {
      *error = "a stroke of more than " + std::to_string(kMaxStrokePoints) + " points";
      return false;
    }
    stroke->push_back(point);
    start = end;
  }
  if (stroke->empty()) {
    *error = "an empty stroke";
    return false;
  }
  return true;
}

bool parse_strokes(std::string_view text, InkSample* sample, std::string* error) {
  for (const std::string_view piece : split(text, ';')) {
    std::vector<crPoint> stroke;
    if (!parse_stroke(piece, &stroke, error)) {
      *error = "stroke " + std::to_string(sample->strokes.size() + 1) + ": " + *error;
      return false;
    }
    sample->strokes.push_back(std::move(stroke));
  }
  return true;
}

}  // namespace

bool parse_ink_line(std::string_view text, InkSample* sample, std::string* error) {
  error->clear();
  if (text.ends_with('\r')) text.remove_suffix(1);
  if (trim(text).empty()) return false;
  const std::vector<std::string_view> fields = split(text, '\t');
  if (fields.size() != 1 && fields.size() != 3) {
    *error = "expected label<TAB>writer<TAB>strokes or the strokes alone, found " +
             std::to_string(fields.size()) + " fields";
    return false;
  }
  sample->labelled = fields.size() == 3;
  if (sample->labelled) {
    sample->label = trim(fields[0]);
    sample->writer = trim(fields[1]);
  }
  sample->strokes.clear();
  return parse_strokes(fields.back(), sample, error);
}

void read_ink(std::istream& in, std::vector<InkSample>* samples, std::vector<InkError>* errors) {
  std::string text;
  for (long line = 1; std::getline(in, text); ++line) {
    InkSample sample;
    sample.line = line;
    std::string error;
    if (parse_ink_line(text, &sample, &error)) {
      samples->push_back(std::move(sample));
    } else if (!error.empty()) {
      errors->push_back({line, std::move(error)});
    }
  }
}

}  // namespace inkrec::tool
