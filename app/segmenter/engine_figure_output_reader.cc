#include "app/segmenter/engine_figure_output_reader.h"

#include <new>
#include <vector>

namespace ductra {
namespace {

constexpr int kOk = 0;
constexpr int kOutOfMemory = -1;
constexpr int kBadList = -2;
// The candidate lists a figure's readings come from: letters, then marks.
constexpr std::uint32_t kReadingLists[] = {0, 1};

Reading reading_of(const crFigOutReading& entry) {
  return {entry.character, entry.figure_code, entry.state};
}

}  // namespace

template <typename Fetch>
int EngineFigureOutputReader::append_readings(Fetch fetch, std::vector<Reading>* readings) {
  std::uint32_t count = 0;
  if (const int status = fetch(nullptr, 0, &count); status != kOk) return status;
  std::vector<crFigOutReading> entries(count);
  if (const int status = fetch(entries.data(), count, &count); status != kOk) return status;
  for (std::uint32_t i = 0; i < count && i < entries.size(); ++i) {
    readings->push_back(reading_of(entries[i]));
  }
  return kOk;
}

int EngineFigureOutputReader::read(const void* list, FigureOutput* output) const {
  if (list == nullptr || output == nullptr) return kBadList;
  output->clear();
  try {
    std::uint32_t groups = 0;
    if (e_.fig_out_group_count(list, &groups) != kOk) return kBadList;
    for (std::uint32_t g = 0; g < groups; ++g) {
      output->emplace_back();
      if (const int status = read_group(list, g, &output->back()); status != kOk) return status;
    }
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return kOk;
}

int EngineFigureOutputReader::read_group(const void* list, std::uint32_t g,
                                         OutputGroup* group) const {
  std::uint32_t figures = 0;
  if (e_.fig_out_figure_count(list, g, &figures) != kOk) return kBadList;
  for (std::uint32_t f = 0; f < figures; ++f) {
    group->figures.emplace_back();
    if (const int status = read_figure(list, g, f, &group->figures.back()); status != kOk) {
      return status;
    }
  }
  const auto answers = [&](crFigOutReading* readings, std::uint32_t room, std::uint32_t* count) {
    return e_.fig_out_group_answers(list, g, readings, room, count);
  };
  return append_readings(answers, &group->answers) == kOk ? kOk : kBadList;
}

int EngineFigureOutputReader::read_figure(const void* list, std::uint32_t g, std::uint32_t f,
                                          OutputFigure* figure) const {
  if (e_.fig_out_figure_index(list, g, f, &figure->index) != kOk) return kBadList;
  for (const std::uint32_t k : kReadingLists) {
    const auto entries = [&](crFigOutReading* readings, std::uint32_t room, std::uint32_t* count) {
      return e_.fig_out_figure_readings(list, g, f, k, readings, room, count);
    };
    if (append_readings(entries, &figure->readings) != kOk) return kBadList;
  }
  return kOk;
}

}  // namespace ductra
