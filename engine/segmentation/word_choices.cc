#include "engine/segmentation/word_choices.h"

#include <memory>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr std::int32_t kDropWord = -3;

// Whether a step reads a letter path of its link: not a plain step (none
// named, or a weak first path, which reads as the plain one) nor one with
// its own codes.
bool reads_link(const SegmentPathStep& step) {
  if (step.link < 0 || step.letter_path < SegmentPathStep::kFirstLetterPath) return false;
  return step.weak == 0 || step.letter_path != SegmentPathStep::kFirstLetterPath;
}

int add_readings(const SegmentLink& link, std::int16_t end, WordPosition& place) {
  for (const LetterPath* path : link.paths) {
    if (path == nullptr) return kBadArgument;
    WordHypothesis* reading = place.hypotheses.add_new();
    if (reading == nullptr) return kOutOfMemory;
    reading->path = path;
    reading->base_cost = path->extra();
    reading->total = path->weighted_total;
    reading->count = path->strokes;
    reading->end_position = end;
  }
  return kOk;
}

int add_word(const WordBox& box, const SegmentPathStep& step, LineRecord& line) {
  WordPosition* place = line.positions.item_checked(step.record);
  const BoxSegment* record = box.records.item_checked(step.record);
  if (place == nullptr || record == nullptr) return kBadArgument;
  WordEntry* word = line.words.push_default();
  if (word == nullptr) return kOutOfMemory;
  word->start = step.record;
  word->end = step.target;
  if (!reads_link(step)) return kOk;
  const SegmentLink* link = record->links.item_checked(static_cast<std::uint32_t>(step.link));
  if (link == nullptr) return kBadArgument;
  if (place->hypotheses.empty()) {
    if (const int status = add_readings(*link, step.target, *place); status != kOk) return status;
  }
  word->hypothesis = step.letter_path < 0 ? std::int16_t{0} : step.letter_path;
  return kOk;
}

int add_line_record(const WordBox& box, PtrArray<LineRecord>& records) {
  LineRecord* line = records.add_new();
  if (line == nullptr) return kOutOfMemory;
  line->end_line = box.last_line;
  line->end_figure = box.last_position;
  for (const BoxSegment& record : box.records) {
    WordPosition* place = line->positions.push_default();
    if (place == nullptr) return kOutOfMemory;
    place->line = record.line;
    place->figure = record.position;
  }
  for (const SegmentPathStep& step : box.result.steps) {
    if (const int status = add_word(box, step, *line); status != kOk) return status;
  }
  return kOk;
}

int take_returned_text(const WordEntry& word, WordBox& box, SegmentPathStep& step) {
  step.own_first = box.own_codes.size();
  step.own_count = word.text.size();
  step.letter_path = SegmentPathStep::kOwnCodes;
  for (const char16_t unit : word.text) {
    if (box.own_codes.push_back(static_cast<std::uint16_t>(unit)) != kOk) return kOutOfMemory;
  }
  return kOk;
}

}  // namespace

int build_line_records(const WordBoxList& list, PtrArray<LineRecord>& records) {
  records.remove_all();
  for (const WordBox& box : list.boxes) {
    if (const int status = add_line_record(box, records); status != kOk) {
      records.remove_all();
      return status;
    }
  }
  return kOk;
}

int apply_word_choices(const PtrArray<LineRecord>& records, WordBoxList& list) {
  for (std::uint32_t b = 0; b < list.boxes.size() && b < records.size(); ++b) {
    WordBox& box = list.boxes[b];
    const LineRecord* line = records[b];
    if (line == nullptr) continue;
    for (std::uint32_t k = 0; k < box.result.steps.size() && k < line->words.size(); ++k) {
      const WordEntry& word = line->words[k];
      SegmentPathStep& step = box.result.steps[k];
      if (!word.text.empty()) {
        if (const int status = take_returned_text(word, box, step); status != kOk) return status;
      } else if (word.chosen == kDropWord) {
        step.letter_path = SegmentPathStep::kPassOver;
      } else if (word.chosen >= 0 && word.hypothesis >= 0) {
        const WordPosition* place = line->positions.item_checked(word.start);
        if (place != nullptr && static_cast<std::uint32_t>(word.chosen) < place->hypotheses.size()) {
          step.letter_path = static_cast<std::int16_t>(word.chosen);
          step.weak = 0;
        }
      }
    }
  }
  return kOk;
}

}  // namespace inkrec
