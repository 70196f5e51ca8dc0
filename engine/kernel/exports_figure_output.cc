// The read-only interface over the figure output that crmGetFigOutList
// hands out: the kernel's list of the groups its last recognition read,
// each group's figures, candidate lists and answers.
#include <algorithm>

#include "engine/foundation/ptr_array.h"
#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"
#include "engine/records/letter_fields.h"
#include "inkrec/figure_output.h"

using namespace inkrec;

namespace {

const PtrArray<FigureGroup>* output_of(const void* list) {
  return static_cast<const PtrArray<FigureGroup>*>(list);
}

const FigureGroup* group_at(const void* list, std::uint32_t group) {
  return list == nullptr ? nullptr : output_of(list)->item_checked(group);
}

const FigureRecord* figure_at(const void* list, std::uint32_t group, std::uint32_t figure) {
  const FigureGroup* g = group_at(list, group);
  return g == nullptr ? nullptr : g->figures.item_checked(figure);
}

crFigOutReading reading_of(const Answer& answer) {
  return {answer.codes[0], answer_shape_id(answer), answer.state};
}

int copy_readings(const AnswerList& answers, crFigOutReading* readings, std::uint32_t room,
                  std::uint32_t* count) {
  if (count == nullptr || (readings == nullptr && room != 0)) return kBadArgument;
  const DynArray<Answer>& entries = answers.answers();
  const std::uint32_t copied = std::min(room, entries.size());
  for (std::uint32_t i = 0; i < copied; ++i) readings[i] = reading_of(entries[i]);
  *count = entries.size();
  return kOk;
}

}  // namespace

extern "C" {

int crFigOutGroupCount(const void* list, uint32_t* count) {
  if (list == nullptr || count == nullptr) return kBadArgument;
  *count = output_of(list)->size();
  return kOk;
}

int crFigOutFigureCount(const void* list, uint32_t group, uint32_t* count) {
  const FigureGroup* g = group_at(list, group);
  if (g == nullptr || count == nullptr) return kBadArgument;
  *count = g->figures.size();
  return kOk;
}

int crFigOutFigureIndex(const void* list, uint32_t group, uint32_t figure, int16_t* index) {
  const FigureRecord* f = figure_at(list, group, figure);
  if (f == nullptr || index == nullptr) return kBadArgument;
  *index = static_cast<std::int16_t>(body_index(*f));
  return kOk;
}

int crFigOutFigureReadings(const void* list, uint32_t group, uint32_t figure,
                           uint32_t candidate_list, crFigOutReading* readings, uint32_t room,
                           uint32_t* count) {
  const FigureRecord* f = figure_at(list, group, figure);
  if (f == nullptr || candidate_list >= kCandidateLists) return kBadArgument;
  return copy_readings(f->candidates[candidate_list], readings, room, count);
}

int crFigOutGroupAnswers(const void* list, uint32_t group, crFigOutReading* readings,
                         uint32_t room, uint32_t* count) {
  const FigureGroup* g = group_at(list, group);
  if (g == nullptr || g->answers == nullptr) return kBadArgument;
  return copy_readings(*g->answers, readings, room, count);
}

}  // extern "C"
