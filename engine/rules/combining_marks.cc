// The four combining handlers.

#include "engine/rules/combining_marks.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/id_set.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kUnsuitedShape = 878;
constexpr std::uint16_t kDotShape = 828;
constexpr IdSet<865> kAccentShapes = {{237, 239}, {241, 241}, {250, 250},
                                      {728, 728}, {770, 770}, {865, 865}};

// What the handlers know of the mark and the reading it would join.
class MarkJudge {
 public:
  MarkJudge(FigureGroup& group, const MarkReadings& readings, const Box16& box, std::int32_t size)
      : group_(group), readings_(readings), box_(box), size_(size) {}

  // kOk with the mark's measures read, or a status.
  int start() {
    if (group_.figures.empty() || group_.figures[0] == nullptr || group_.geometry == nullptr)
      return kBadArgument;
    int status = kOk;
    const MarkBlock& marks = element_mark_block(group_, &status);
    if (status != kOk) return status;
    bend_ = inkrec::bend(marks);
    length_ = inkrec::mark_length(marks);
    own_letters_ = &group_.figures[0]->candidates[0];
    own_marks_ = &group_.figures[0]->candidates[1];
    return kOk;
  }

  bool has_own() const { return !own_letters_->answers().empty(); }
  bool has_letters() const { return !readings_.letters.answers().empty(); }
  const Answer* reference() const {
    if (has_own()) return &own_letters_->answers()[0];
    return has_letters() ? &readings_.letters.answers()[0] : nullptr;
  }
  // The reference is a shape-878 reading made from a variant.
  bool reference_unsuited() const {
    const Answer* r = reference();
    return r != nullptr && r->kind == 0 && answer_shape_id(*r) == kUnsuitedShape;
  }
  bool reference_is_v_or_u() const {
    const Answer* r = reference();
    return r != nullptr && (r->codes[1] == 'v' || r->codes[1] == 'u');
  }

  std::int32_t mark_class() const { return inkrec::mark_class(*group_.geometry); }
  std::int32_t angle() const { return mark_angle(*group_.geometry); }
  std::int32_t bend() const { return bend_; }
  std::int32_t length() const { return length_; }
  std::int32_t extent() const { return std::max(box_.width(), box_.height()); }
  std::int32_t size() const { return size_; }
  std::int16_t profile(int value) const {
    const WidthBlock* block = element_glyph_profile(group_);
    if (block == nullptr) return 0;
    const std::int16_t values[] = {block->rows, block->columns, block->upper_rows,
                                   block->middle_rows, block->lower_rows};
    return values[value];
  }

  // The shape of the third form: large enough, classed, not winding, and
  // drawn at 25..89 degrees unless unclassified.
  bool third_form_shape() const {
    if (extent() < size_ / 7 || mark_class() == 0 || bend_ > 170) return false;
    return mark_class() == -1 || (angle() >= 25 && angle() <= 89);
  }

  // The threshold a reading must reach to be believed, from the reference
  // (and, for the second form, the best mark): false when the mark is
  // not believed at any.
  bool threshold(bool mark_list_rescues, std::int32_t* t) const {
    if (has_own()) {
      *t = reference()->total() - 900;
      return *t >= 5600;
    }
    if (!has_letters()) return false;
    *t = reference()->total() - 900;
    if (*t >= 4500) return true;
    if (!mark_list_rescues) return false;
    if (readings_.marks.answers().empty()) return true;
    *t = readings_.marks.answers()[0].total() - 900;
    return *t >= 4500;
  }

  // Whether a reading of one of the shapes reaches t: in the mark lists
  // first (the figure's own when it has any), then in the letter list
  // (its own when it has readings).
  template <typename Shapes>
  bool finds(Shapes shapes, std::int32_t t) const {
    const AnswerList& marks = own_marks_->answers().empty() ? readings_.marks : *own_marks_;
    const AnswerList& letters = has_own() ? *own_letters_ : readings_.letters;
    return holds(marks, shapes, t) || holds(letters, shapes, t);
  }

 private:
  template <typename Shapes>
  static bool holds(const AnswerList& list, Shapes shapes, std::int32_t t) {
    const DynArray<Answer>& answers = list.answers();
    return std::any_of(answers.begin(), answers.end(), [&](const Answer& a) {
      return shapes(answer_shape_id(a)) && a.total() >= t;
    });
  }

  FigureGroup& group_;
  const MarkReadings& readings_;
  Box16 box_;
  std::int32_t size_;
  std::int32_t bend_ = 0;
  std::int32_t length_ = 0;
  const AnswerList* own_letters_ = nullptr;
  const AnswerList* own_marks_ = nullptr;
};

bool is_dot(std::uint16_t shape) { return shape == kDotShape; }
bool is_accent(std::uint16_t shape) { return kAccentShapes.contains(shape); }

// Runs a form after the shared start: a group not formed as a single mark
// clears the flag; a failing start is returned.
template <typename Form>
int run_form(FigureGroup& group, const MarkReadings& readings, const Box16& box, std::int32_t size,
             bool* flag, Form form) {
  if (group.one_figure_mark == 0) {
    *flag = false;
    return kOk;
  }
  MarkJudge judge(group, readings, box, size);
  if (const int status = judge.start(); status != kOk) return status;
  if (!form(judge)) *flag = false;
  return kOk;
}

bool first_form(const MarkJudge& j) {
  if (!j.has_own() && !j.has_letters()) return true;
  if (j.reference_unsuited()) return false;
  if (j.reference_is_v_or_u() && j.profile(3) > 5) return false;
  if (j.length() <= j.size() / 6 || j.length() <= 10 || j.mark_class() == 0) return false;
  if (j.bend() > 170 && j.profile(0) > 3) return false;
  return j.mark_class() == -1 || (j.angle() >= 90 && j.angle() <= 150);
}

bool third_form(const MarkJudge& j) {
  if (!j.has_own() && !j.has_letters()) return true;
  if (j.reference_unsuited() || j.reference_is_v_or_u()) return false;
  return j.third_form_shape();
}

bool second_form_gate(const MarkJudge& j) {
  if (j.has_own()) return third_form(j);
  if (!j.has_letters()) return true;
  if (j.reference_unsuited() || j.reference_is_v_or_u()) return false;
  return j.extent() >= j.size() / 7 && j.mark_class() != 0 && j.bend() <= 170 &&
         j.mark_class() == 1;
}

bool second_form(const MarkJudge& j) {
  std::int32_t t = 0;
  return second_form_gate(j) && j.threshold(true, &t) && j.finds(is_dot, t);
}

bool fourth_form(const MarkJudge& j) {
  std::int32_t t = 0;
  return j.threshold(false, &t) && j.finds(is_accent, t);
}

}  // namespace

int combine_mark_1(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag) {
  return run_form(group, readings, box, size, flag, first_form);
}

int combine_mark_2(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag) {
  return run_form(group, readings, box, size, flag, second_form);
}

int combine_mark_3(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag) {
  return run_form(group, readings, box, size, flag, third_form);
}

int combine_mark_4(FigureGroup& group, const MarkReadings& readings, const Box16& box,
                   std::int32_t size, bool* flag) {
  return run_form(group, readings, box, size, flag, fourth_form);
}

}  // namespace inkrec
