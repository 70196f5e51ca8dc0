#include "device/sample_replay.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>

#include "appplatform/pen_ring.h"

namespace ductra::device {
namespace {

constexpr std::uint32_t kPenDown = 7;
constexpr std::uint32_t kPenMove = 15;
constexpr std::uint32_t kPenUp = 13;
constexpr std::uint32_t kPointMs = 10;
constexpr std::uint32_t kStrokeGapMs = 100;

struct RawPoint {
  long x;
  long y;
};
using RawStroke = std::vector<RawPoint>;

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

bool read_number(std::string_view text, long* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc{} && end == text.data() + text.size();
}

std::optional<std::vector<RawStroke>> read_strokes(std::string_view ink) {
  std::vector<RawStroke> strokes;
  for (const std::string_view stroke_text : split(ink, ';')) {
    RawStroke stroke;
    for (const std::string_view point_text : split(stroke_text, ' ')) {
      if (point_text.empty()) continue;
      const std::size_t comma = point_text.find(',');
      RawPoint point{};
      if (comma == std::string_view::npos || !read_number(point_text.substr(0, comma), &point.x) ||
          !read_number(point_text.substr(comma + 1), &point.y)) {
        return std::nullopt;
      }
      stroke.push_back(point);
    }
    if (!stroke.empty()) strokes.push_back(std::move(stroke));
  }
  if (strokes.empty()) return std::nullopt;
  return strokes;
}

// Whether `step` lies farther from the stroke's first point than the touch
// shim's move tolerance.
bool leaves_start(const tapshim::ReplayStep& first, const tapshim::ReplayStep& step) {
  return std::abs(step.x - first.x) + std::abs(step.y - first.y) > static_cast<int>(platform::kDefaultMoveTolerance);
}

}  // namespace

std::optional<WrittenSample> written_sample(std::string_view line, const WritingBox& box) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty() || line.front() == '#') return std::nullopt;
  const std::vector<std::string_view> fields = split(line, '\t');
  if (fields.size() != 3) return std::nullopt;
  const std::optional<std::vector<RawStroke>> strokes = read_strokes(fields[2]);
  if (!strokes) return std::nullopt;
  long min_x = LONG_MAX, min_y = LONG_MAX, max_x = LONG_MIN, max_y = LONG_MIN;
  for (const RawStroke& stroke : *strokes) {
    for (const RawPoint& p : stroke) {
      min_x = std::min(min_x, p.x);
      max_x = std::max(max_x, p.x);
      min_y = std::min(min_y, p.y);
      max_y = std::max(max_y, p.y);
    }
  }
  // One scale for both axes (box.width / span), so the proportions stay and
  // the ink fits the box both ways.
  const long span = std::max({max_x - min_x, (max_y - min_y) * box.width / box.height, 1L});
  const auto scaled = [&](long value, long origin, int offset) {
    return static_cast<std::int32_t>(offset + (value - origin) * box.width / span);
  };
  WrittenSample sample;
  sample.label = std::string(fields[0]);
  for (const RawStroke& stroke : *strokes) {
    bool left_start = false;
    for (std::size_t i = 0; i < stroke.size(); ++i) {
      tapshim::ReplayStep step;
      step.flags = i == 0 ? kPenDown : kPenMove;
      step.x = scaled(stroke[i].x, min_x, box.left);
      step.y = scaled(stroke[i].y, min_y, box.top);
      if (i == 0) {
        step.wait_ms = kStrokeGapMs;
      } else {
        step.wait_ms = left_start ? kPointMs : 0;
        left_start = left_start || leaves_start(sample.steps[sample.steps.size() - i], step);
      }
      sample.steps.push_back(step);
    }
    tapshim::ReplayStep up = sample.steps.back();
    up.wait_ms = kPointMs;
    up.flags = kPenUp;
    sample.steps.push_back(up);
  }
  return sample;
}

std::string replay_text(const WrittenSample& sample) {
  std::string text;
  for (const tapshim::ReplayStep& step : sample.steps) {
    text += std::to_string(step.wait_ms) + ' ' + std::to_string(step.flags) + ' ' + std::to_string(step.x) + ' ' +
            std::to_string(step.y) + '\n';
  }
  return text;
}

std::uint32_t playing_time(const WrittenSample& sample) {
  std::uint32_t total = 0;
  for (const tapshim::ReplayStep& step : sample.steps) total += step.wait_ms;
  return total;
}

}  // namespace ductra::device
