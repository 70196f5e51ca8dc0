// The copybook's list of the writing variants of one letter (the list view
// 1121). Variants the engine marks with one group number are one item,
// shown as the shape of the group's representative; ungrouped variants
// come first, the last found first, then the groups by number, then the
// complex variants the same way. Each item shows its group's use (often,
// rarely, never) as a red mark; a new use is written to every variant of
// the focused group at once, and restore sets every variant of the engine
// back to often.
//
// Glyphs paints the list itself in place of the list view: it takes over
// the list's window procedure while it lives (one Glyphs at a time), and
// gives it back, with no image list left behind, when it goes. Engine
// failures come back as the failing operation and the engine's status; a
// fill that fails leaves the groups read so far and no items. UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/copybook/list_operations.h"
#include "app/copybook/shape_copy.h"
#include "app/shell/engine.h"
#include "app/shell/exception_info.h"
#include "appplatform/critical_section.h"
#include "appplatform/draw/image_list.h"
#include "appplatform/draw/pen_and_brush.h"

namespace ductra {

// Use values of a variant.
inline constexpr std::int32_t kUseOften = 0;
inline constexpr std::int32_t kUseRarely = 1;
inline constexpr std::int32_t kUseNever = 2;

// The shape units across a cell.
inline constexpr int kCellShapeUnits = 320;

struct VariantGroup {
  crVariant representative{};  // its use is the group's
  ShapeElement shape;
  std::vector<crVariant> members;  // in the engine's order
};

struct ComplexVariantGroup {
  crComplexVariant representative{};
  ShapeElement first_shape;   // the whole shape, or the first part
  ShapeElement second_shape;  // no strokes for a variant of one whole shape
  std::vector<crComplexVariant> members;
};

// What a use change or a restore did: whether any record changed, and the
// engine's refusal, if any (records written before it stay written).
struct UseChange {
  bool changed = false;
  std::optional<ExceptionInfo> failure;
};

// The red mark of a use over a cell: a cross for never, one stroke from the
// top right corner for rarely, nothing for often.
void draw_use_mark(platform::DeviceContext& dc, const platform::Rect& cell, std::int32_t use);

class Glyphs {
 public:
  // `list` names the list view, its owner and on_variant_selected.
  Glyphs(const CopybookList& list, Engine& engine);
  ~Glyphs();
  Glyphs(const Glyphs&) = delete;
  Glyphs& operator=(const Glyphs&) = delete;

  // Reads the variants of `letter` in `charset`, lists them and selects the
  // first item.
  std::optional<ExceptionInfo> fill_list(std::uint32_t charset, std::int32_t letter);
  // Paints the whole list; animated, the focused item is drawn last,
  // stroke by stroke.
  void paint(bool animate);
  // Writes `use` to every variant of the focused group; nothing changes
  // without a focused group.
  UseChange set_variant_use(std::int32_t use);
  // Sets the use of every variant and complex variant of the engine to
  // often; the list is left as it is.
  UseChange restore();

  // The use of the focused group; nothing without one.
  std::optional<std::int32_t> focused_use() const;
  std::span<const VariantGroup> variant_groups() const { return variant_groups_; }
  std::span<const ComplexVariantGroup> complex_groups() const { return complex_groups_; }

 private:
  std::optional<ExceptionInfo> gather_variants(std::uint32_t charset, std::int32_t letter);
  std::optional<ExceptionInfo> gather_complex_variants(std::uint32_t charset, std::int32_t letter);
  void insert_items();
  int focused_item() const;
  std::optional<platform::Rect> icon_rect(int item) const;
  void draw_item(platform::DeviceContext& dc, int item, bool animate) const;

  CopybookList list_;
  Engine& engine_;
  std::vector<VariantGroup> variant_groups_;
  std::vector<ComplexVariantGroup> complex_groups_;
  int scale_x_ = 1;
  int scale_y_ = 1;
  std::unique_ptr<platform::ImageList> image_list_;
  platform::Pen focus_pen_;
  platform::Pen stroke_pen_;
  platform::Pen guide_pen_;
  platform::CriticalSection paint_lock_;
  platform::WindowProcedure previous_procedure_ = nullptr;
};

}  // namespace ductra
