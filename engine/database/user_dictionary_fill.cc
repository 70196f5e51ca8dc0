// UserDictionary::fill_words: the words of a stored dictionary put in at
// once. Adding them one by one costs a search and a copy of the segments
// per word; here every word is checked, the equal ones found by one sort,
// the segments counted by another, and the tables built once.
#include <algorithm>

#include "engine/database/user_dictionary.h"
#include "engine/database/user_dictionary_status.h"
#include "engine/foundation/status.h"
#include "engine/foundation/wide_string_order.h"

namespace inkrec {
namespace {

// Indices 0..n-1.
int make_indices(std::uint32_t n, DynArray<std::uint32_t>* out) {
  if (out->reserve_total(n) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < n; ++i) out->push_back(i);
  return kOk;
}

}  // namespace

int UserDictionary::fill_words(DynArray<UserWord>& words) {
  if (word_count() != 0) return kBadArgument;
  const std::uint32_t n = words.size();

  // What add_word would say of each word by itself; 0 for the candidates.
  DynArray<int> verdict;
  if (verdict.resize(n, kOk) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < n; ++i) {
    verdict[i] = check_word(view(words[i].text), words[i].probability);
  }

  // The candidates in collation order (file order among equals); equal
  // words share a group, of which only the first that fits is kept.
  DynArray<std::uint32_t> sorted;
  if (sorted.reserve_total(n) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (verdict[i] == kOk) sorted.push_back(i);
  }
  const auto order = [&](std::uint32_t a, std::uint32_t b) {
    int o = 0;
    collate(view(words[a].text), view(words[b].text), &o);
    return o;
  };
  std::sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int o = order(a, b);
    return o < 0 || (o == 0 && a < b);
  });
  DynArray<std::uint32_t> group;
  DynArray<std::uint8_t> group_taken;
  if (group.resize(n, 0) != kOk || group_taken.resize(n, 0) != kOk) return kOutOfMemory;
  for (std::uint32_t k = 1; k < sorted.size(); ++k) {
    group[sorted[k]] = group[sorted[k - 1]] + (order(sorted[k - 1], sorted[k]) != 0 ? 1 : 0);
  }

  // The runs of the candidates, word after word, and the distinct runs in
  // plain order as the segments to be.
  DynArray<WideString> runs;
  DynArray<std::uint32_t> first_run;
  if (first_run.resize(n + 1, 0) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < n; ++i) {
    first_run[i] = runs.size();
    if (verdict[i] != kOk) continue;
    if (const int status = segments_of(view(words[i].text), &runs); status != kOk) return status;
  }
  first_run[n] = runs.size();
  DynArray<std::uint32_t> by_text;
  if (make_indices(runs.size(), &by_text) != kOk) return kOutOfMemory;
  std::sort(by_text.begin(), by_text.end(), [&](std::uint32_t a, std::uint32_t b) {
    return wide_string_compare(view(runs[a]), view(runs[b])) < 0;
  });
  DynArray<std::uint32_t> segment_of_run;
  DynArray<UserWord> segments;
  if (segment_of_run.resize(runs.size(), 0) != kOk || !segments.reserve(runs.size())) {
    return kOutOfMemory;
  }
  for (std::uint32_t k = 0; k < by_text.size(); ++k) {
    const std::uint32_t r = by_text[k];
    if (k == 0 || view(segments.back().text) != view(runs[r])) {
      if (segments.push_back(UserWord{std::move(runs[r]), 0}) != kOk) return kOutOfMemory;
    }
    segment_of_run[r] = segments.size() - 1;
  }

  // In file order: a word equal to one kept is refused with 12, a word
  // that would carry a segment past the limit with 11 (nothing of it
  // counted).
  for (std::uint32_t i = 0; i < n; ++i) {
    if (verdict[i] != kOk) continue;
    if (group_taken[group[i]]) {
      verdict[i] = kUdWordExists;
      continue;
    }
    const std::uint32_t p = words[i].probability;
    std::uint32_t r = first_run[i];
    for (; r < first_run[i + 1]; ++r) {
      std::uint32_t& sum = segments[segment_of_run[r]].probability;
      if (sum + p > kMaxProbability) break;
      sum += p;
    }
    if (r < first_run[i + 1]) {
      while (r-- > first_run[i]) segments[segment_of_run[r]].probability -= p;
      verdict[i] = kUdBadProbability;
      continue;
    }
    group_taken[group[i]] = 1;
  }

  DynArray<UserWord> entries;
  if (entries.reserve_total(n) != kOk) return kOutOfMemory;
  for (const std::uint32_t i : sorted) {
    if (verdict[i] == kOk) entries.push_back(std::move(words[i]));
  }
  UserWord* kept_end = std::remove_if(segments.begin(), segments.end(),
                                      [](const UserWord& s) { return s.probability == 0; });
  segments.erase(static_cast<std::uint32_t>(kept_end - segments.begin()),
                 static_cast<std::uint32_t>(segments.end() - kept_end));
  words_.entries.swap(entries);
  segments_.swap(segments);
  const int* refused = std::find_if(verdict.begin(), verdict.end(), [](int v) { return v != kOk; });
  return refused == verdict.end() ? kOk : *refused;
}

}  // namespace inkrec
