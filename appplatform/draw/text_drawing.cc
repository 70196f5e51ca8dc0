// The text calls of DeviceContext: output, extents and text in a rectangle.
#include <algorithm>
#include <string>

#include "appplatform/draw/device_context.h"

namespace ductra::platform {

namespace {

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Calls visit(unit index of the character's last unit, code point) for each
// character; an unpaired surrogate is U+FFFD.
template <typename Visit>
void for_each_character(std::u16string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (is_high_surrogate(u) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
      visit(i + 1, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
      visit(i, U'\uFFFD');
    } else {
      visit(i, static_cast<char32_t>(u));
    }
  }
}

ColorRef blend(ColorRef under, ColorRef over, int coverage) {
  auto mix = [&](int a, int b) { return (a * (255 - coverage) + b * coverage + 127) / 255; };
  return rgb(mix(red_of(under), red_of(over)), mix(green_of(under), green_of(over)),
             mix(blue_of(under), blue_of(over)));
}

// Without DT_NOPREFIX a single '&' is dropped and "&&" shows one '&'.
std::u16string without_prefixes(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    else if (text[i] == u'&') continue;
    out.push_back(text[i]);
  }
  return out;
}

std::vector<std::u16string_view> split_lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != u'\n') continue;
    std::size_t end = i;
    if (end > start && text[end - 1] == u'\r') --end;
    lines.push_back(text.substr(start, end - start));
    start = i + 1;
  }
  return lines;
}

// Where a line that fits `fit` units breaks: at the last space before the
// first unit that does not fit; a first word wider than the line stays whole.
std::size_t break_position(std::u16string_view line, int fit) {
  if (fit >= static_cast<int>(line.size())) return line.size();
  const std::size_t space = line.substr(0, static_cast<std::size_t>(fit) + 1).find_last_of(u' ');
  if (space != std::u16string_view::npos && space > 0) return space;
  const std::size_t word_end = line.find(u' ', 1);
  return word_end == std::u16string_view::npos ? line.size() : word_end;
}

}  // namespace

TextMetrics DeviceContext::text_metrics() const { return font_->metrics(); }

TextExtent DeviceContext::text_extent(std::u16string_view text, int max_extent) const {
  TextExtent result;
  result.extents.assign(text.size(), 0);
  int width = 0;
  for_each_character(text, [&](std::size_t last, char32_t code) {
    if (last > 0 && is_low_surrogate(text[last]) && is_high_surrogate(text[last - 1])) {
      result.extents[last - 1] = width;
    }
    width += font_->glyph(code).advance;
    result.extents[last] = width;
  });
  while (result.fit < static_cast<int>(text.size()) &&
         (max_extent < 0 || result.extents[static_cast<std::size_t>(result.fit)] <= max_extent)) {
    ++result.fit;
  }
  result.size = {width, font_->metrics().height};
  return result;
}

void DeviceContext::draw_glyph_run(int x, int baseline, std::u16string_view text, const Rect& clip) {
  const std::uint32_t solid = target_->native_of(text_color_);
  for_each_character(text, [&](std::size_t, char32_t code) {
    const Glyph& g = font_->glyph(code);
    for (int row = 0; row < g.rows; ++row) {
      for (int column = 0; column < g.width; ++column) {
        const int coverage = g.coverage[static_cast<std::size_t>(row * g.width + column)];
        const int px = x + g.left + column, py = baseline - g.top + row;
        if (coverage == 0 || !clip.contains(px, py)) continue;
        const int tx = px + origin_.x, ty = py + origin_.y;
        target_->set_native(tx, ty, coverage == 255 ? solid
                                                    : target_->native_of(blend(target_->color_at(tx, ty), text_color_, coverage)));
      }
    }
    x += g.advance;
  });
}

void DeviceContext::text_out(int x, int y, std::u16string_view text, unsigned options, const Rect* rect) {
  if (!target_) return;
  const TextMetrics m = font_->metrics();
  const int width = text_extent(text).size.cx;
  Rect clip = clip_;
  if (rect && (options & ETO_CLIPPED)) clip = intersect(clip, *rect);
  if (rect && (options & ETO_OPAQUE)) {
    fill_rect(intersect(*rect, clip), solid_brush(bk_color_));
  } else if (bk_mode_ == OPAQUE) {
    fill_rect(intersect({x, y, x + width, y + m.height}, clip), solid_brush(bk_color_));
  }
  const int baseline = y + m.ascent;
  draw_glyph_run(x, baseline, text, clip);
  if (font_->description().underline) {
    const int top = baseline + m.underline_offset;
    fill_rect(intersect({x, top, x + width, top + m.underline_thickness}, clip), solid_brush(text_color_));
  }
}

int DeviceContext::draw_text(std::u16string_view text, Rect& rect, unsigned format) {
  const std::u16string shown = format & DT_NOPREFIX ? std::u16string(text) : without_prefixes(text);
  std::vector<std::u16string_view> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(shown);
  } else {
    for (std::u16string_view line : split_lines(shown)) {
      if (!(format & DT_WORDBREAK)) {
        lines.push_back(line);
        continue;
      }
      // Break before the first word that would pass the right edge.
      while (!line.empty()) {
        const std::size_t end = break_position(line, text_extent(line, rect.width()).fit);
        lines.push_back(line.substr(0, end));
        line.remove_prefix(std::min(line.size(), end + (end < line.size() && line[end] == u' ' ? 1 : 0)));
      }
    }
  }
  const TextMetrics m = font_->metrics();
  const int height = static_cast<int>(lines.size()) * m.height;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (std::u16string_view line : lines) widest = std::max(widest, text_extent(line).size.cx);
    rect.right = rect.left + widest;
    rect.bottom = rect.top + height;
    return height;
  }
  int top = rect.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = rect.top + (rect.height() - m.height) / 2;
    else if (format & DT_BOTTOM) top = rect.bottom - m.height;
  }
  const unsigned options = format & DT_NOCLIP ? 0u : ETO_CLIPPED;
  for (std::u16string_view line : lines) {
    const int width = text_extent(line).size.cx;
    int left = rect.left;
    if (format & DT_CENTER) left = rect.left + (rect.width() - width) / 2;
    else if (format & DT_RIGHT) left = rect.right - width;
    text_out(left, top, line, options, &rect);
    top += m.height;
  }
  return height;
}

}  // namespace ductra::platform
