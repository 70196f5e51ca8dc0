#include "tools/inkrec/held_out_measure.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <span>
#include <string_view>

#include "engine/analysis/raf_sample_cells.h"
#include "engine/database/data_store.h"
#include "engine/database/etalon_score.h"
#include "engine/foundation/status.h"
#include "tools/inkrec/progress_bar.h"
#include "tools/inkrec/recipe.h"

namespace inkrec::tool {
namespace {

constexpr int kAngles[] = {0};

// Upper case, lower case, or neither: English letters are measured as two
// charsets, each case with its own letters only, and also among the letters
// of both cases with the case ignored (as the recognition reads them).
int letter_case(std::uint16_t code) {
  if (code < 128 && std::isupper(code)) return 1;
  if (code < 128 && std::islower(code)) return 2;
  return 0;
}

std::uint16_t folded(std::uint16_t code) { return letter_case(code) == 1 ? code + 32 : code; }

bool read_held_out_writers(const std::string& path, std::set<std::string>* writers,
                           std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = line.substr(0, line.find('#'));
    const std::size_t blank = line.find(' ');
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    const std::string side = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (side != "train" && side != "heldout") {
      *error = path + ":" + std::to_string(number) + ": expected \"WRITER train|heldout\"";
      return false;
    }
    if (side == "heldout") writers->insert(line.substr(0, blank));
  }
  return true;
}

// Ranks the characters of one charset for the inked cells of a sample.
class EtalonRanker {
 public:
  explicit EtalonRanker(DataStore& store) : store_(store) {}

  // The position of `code` among the characters of its charset (and of its
  // case, or, with either_case, among both cases with the case ignored)
  // ranked by their best variant's score (0 the first), or -1 when it is
  // not ranked.
  int rank_of(std::uint16_t code, std::uint32_t charset, bool either_case,
              std::span<const std::uint16_t> inked_cells) {
    best_.clear();
    const auto weights = store_.knowledge_base().cell_weights().span();
    for (std::uint32_t i = 0; i < store_.variant_count(); ++i) {
      const Variant& variant = *store_.variant_at(i);
      const Etalon* etalon = store_.etalon_at(i);
      if (variant.idSet != charset || variant.menuc == 0 || etalon == nullptr ||
          (!either_case && letter_case(variant.menuc) != letter_case(code))) {
        continue;
      }
      std::int32_t score = 0;
      if (score_against_etalon(inked_cells, *etalon, weights, &score) != kOk) continue;
      const std::uint16_t character = either_case ? folded(variant.menuc) : variant.menuc;
      const auto [entry, added] = best_.try_emplace(character, score);
      if (!added) entry->second = std::max(entry->second, score);
    }
    const auto own = best_.find(either_case ? folded(code) : code);
    if (own == best_.end()) return -1;
    return static_cast<int>(std::ranges::count_if(
        best_, [&own](const auto& entry) { return entry.second > own->second; }));
  }

 private:
  DataStore& store_;
  std::map<std::uint16_t, std::int32_t> best_;
};

struct HeldOutSample {
  std::uint16_t code = 0;
  StrokeArray strokes;
};

class Measurement {
 public:
  Measurement(DataStore& store, std::vector<HeldOutRow>* rows) : store_(store), rows_(*rows) {}

  int begin() {
    if (const int status = store_.knowledge_base().refresh(); status != kOk) return status;
    return cells_.begin_build(store_.raf_total_cells(), store_.raf_table());
  }

  void measure(const HeldOutSample& sample) {
    const CharSetSymb* holder = charset_holding(sample.code);
    if (holder == nullptr) return;
    HeldOutRow& row = row_for(holder->charset_id, sample.code);
    ++row.samples;
    std::int32_t step = -1;
    std::span<const DynArray<std::uint16_t>> hits;
    if (cells_.sample_cells(sample.strokes, kAngles, &step, -1, -1, -1, nullptr, &hits) != kOk) {
      return;  // no features: no answer
    }
    const int rank = ranker_.rank_of(sample.code, holder->charset_id, false, hits[0].span());
    if (rank == 0) ++row.first;
    if (rank >= 0 && rank < 5) ++row.top_five;
    if (letter_case(sample.code) == 0) return;
    const int either = ranker_.rank_of(sample.code, holder->charset_id, true, hits[0].span());
    if (either == 0) ++row.first_either_case;
    if (either >= 0 && either < 5) ++row.top_five_either_case;
  }

 private:
  const CharSetSymb* charset_holding(std::uint16_t code) const {
    for (std::uint32_t i = 0; i < store_.charset_symb_count(); ++i) {
      const CharSetSymb* record = store_.charset_symb_at(i);
      if (record->code == code) return record;
    }
    return nullptr;
  }

  HeldOutRow& row_for(std::uint32_t charset_id, std::uint16_t code) {
    std::string name = "charset " + std::to_string(charset_id);
    if (const CharSet* charset = store_.find_charset(charset_id); charset != nullptr) {
      name.clear();
      for (char16_t unit : charset->name) {
        if (unit == 0) break;
        name += static_cast<char>(unit < 128 ? unit : '?');
      }
    }
    if (letter_case(code) == 1) name += " upper case";
    if (letter_case(code) == 2) name += " lower case";
    const auto found = std::ranges::find(rows_, name, &HeldOutRow::name);
    if (found != rows_.end()) return *found;
    rows_.push_back(HeldOutRow{name});
    rows_.back().letters = letter_case(code) != 0;
    return rows_.back();
  }

  DataStore& store_;
  std::vector<HeldOutRow>& rows_;
  RafSampleCells cells_;
  EtalonRanker ranker_{store_};
};

bool read_samples(const std::string& path, const std::set<std::string>& writers,
                  std::vector<HeldOutSample>* samples, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::size_t first_tab = line.find('\t');
    const std::size_t second_tab = line.find('\t', first_tab + 1);
    if (first_tab == std::string::npos || second_tab == std::string::npos) {
      *error = path + ":" + std::to_string(number) + ": expected LABEL, WRITER and STROKES";
      return false;
    }
    if (first_tab != 1 || !writers.contains(line.substr(2, second_tab - 2))) continue;
    HeldOutSample sample;
    sample.code = static_cast<unsigned char>(line[0]);
    if (!parse_strokes(std::string_view(line).substr(second_tab + 1), &sample.strokes)) {
      *error = path + ":" + std::to_string(number) + ": malformed strokes";
      return false;
    }
    samples->push_back(std::move(sample));
  }
  return true;
}

}  // namespace

bool measure_held_out(const std::string& db_path, const std::string& writers_path,
                      const std::vector<std::string>& sample_paths, std::vector<HeldOutRow>* rows,
                      std::string* error) {
  std::set<std::string> writers;
  if (!read_held_out_writers(writers_path, &writers, error)) return false;
  std::vector<HeldOutSample> samples;
  for (const std::string& path : sample_paths) {
    if (!read_samples(path, writers, &samples, error)) return false;
  }
  DataStore store(db_path.c_str(), 0, 0, 0);
  if (store.status() != kOk) {
    *error = db_path + ": cannot be loaded (status " + std::to_string(store.status()) + ")";
    return false;
  }
  Measurement measurement(store, rows);
  if (const int status = measurement.begin(); status != kOk) {
    *error = db_path + ": its etalons cannot be used (status " + std::to_string(status) + ")";
    return false;
  }
  ProgressBar bar("measuring", samples.size());
  for (const HeldOutSample& sample : samples) {
    measurement.measure(sample);
    bar.step();
  }
  return true;
}

}  // namespace inkrec::tool
