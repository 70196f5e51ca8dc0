// Joined letters: the letters of labelled written words as the engine's
// own split of joined writing cuts them, to train the forms letters take
// inside joined (cursive) writing.
//
// A word is recognised with joined writing on. Before the word search, the
// figure sets the letter search evaluated on the word's one text line are
// read, and the chain of sets that covers the line's figures in order with
// one set per letter of the label is chosen (`align_letters`). Of an
// aligned word, each letter whose set holds a piece of a stroke that the
// split cut (a letter written joined to another) is handed out with its
// ink: per stroke, the engine's points from the set's first figure to its
// last, the links between them included, as the letter evaluation sees
// them. Words on several text lines, or whose labels hold anything but
// letters, give nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "inkrec/inkrec.h"
#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/ink_file.h"

namespace inkrec::tool {

// A figure set the letter search evaluated: the first and last candidate
// positions it covers (a set with gaps is not offered), its readings with
// their totals, and whether it holds a piece of a cut stroke.
struct EvaluatedSet {
  std::uint16_t first = 0;
  std::uint16_t last = 0;
  std::vector<std::pair<char16_t, std::int32_t>> readings;  // any of a reading's codes
  bool joined = false;
};

// The chain of sets covering positions 0..figures-1 in order, one set per
// letter of the label, with the greatest sum of scores: a set scores its
// best total for its letter, or kUnreadScore when it has no such reading.
// Empty when no chain exists or when fewer than half the letters are read
// as themselves; else the set index of each letter.
inline constexpr std::int32_t kUnreadScore = 1000;
std::vector<std::size_t> align_letters(std::u16string_view label, std::uint16_t figures,
                                       std::span<const EvaluatedSet> sets);

struct JoinedLetter {
  char16_t letter = 0;
  std::vector<std::vector<crPoint>> strokes;
};

// Recognises the sample on the open session (joined writing on, word pass
// off) and appends its joined letters to *out. The recognition's status.
int collect_joined_letters(EngineSession& session, const InkSample& sample,
                           std::vector<JoinedLetter>* out);

// `inkrec db joined-letters DB.dt WORDS OUT`: the joined letters of every
// labelled word of WORDS, read with the database DB.dt (every charset
// active), written to OUT one a line as "letter<TAB>writer<TAB>strokes" in
// the ink format. The exit status: 0, or 1 with the reason on stderr.
int run_joined_letters(const std::string& db_path, const std::string& words_path,
                       const std::string& out_path);

}  // namespace inkrec::tool
