#include "tools/compgen/table_data.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace compgen {

namespace {

std::string narrow(std::u16string_view letters) {
  std::string text;
  for (char16_t letter : letters) {
    if (!text.empty()) text += ' ';
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(letter));
    text += buffer;
  }
  return text;
}

std::u16string distinct(std::u16string_view letters) {
  std::u16string out;
  for (char16_t letter : letters) {
    if (out.find(letter) == std::u16string::npos) out.push_back(letter);
  }
  return out;
}

bool letter_list_wins(std::string_view composition) {
  return std::ranges::find(kLetterListWins, composition) != std::end(kLetterListWins);
}

// The first unit's patterns as the literal rendering counts them.
std::string as_literal(const std::string& name) {
  if (name.starts_with("kCommonPattern")) return std::string(kFirstUnit);
  if (name.starts_with("kEnglishPattern")) return std::string(kSecondUnit);
  return name;
}

std::vector<std::string> as_literal(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const std::string& name : names) out.push_back(as_literal(name));
  return out;
}

class Checker {
 public:
  Checker(const NamedRendering& named, const LiteralRendering& literal, CheckResult* result)
      : named_(named), literal_(literal), result_(result) {}

  void run() {
    check_patterns();
    check_compositions();
    check_common_set();
    check_fills();
  }

 private:
  void disagree(const std::string& what) { result_->disagreements.push_back(what); }

  std::optional<std::vector<Codes>> codes_of(const std::string& owner,
                                             const std::vector<std::string>& lists) {
    std::vector<Codes> positions;
    for (const std::string& list : lists) {
      auto found = named_.code_lists.find(list);
      if (found == named_.code_lists.end()) {
        disagree(owner + " is built from " + list + ", which no row gives");
        return std::nullopt;
      }
      positions.push_back(found->second);
    }
    return positions;
  }

  void check_patterns() {
    for (const auto& [name, pattern] : literal_.patterns) {
      auto found = named_.patterns.find(name);
      if (found == named_.patterns.end()) continue;
      const std::optional<std::vector<Codes>> codes = codes_of(name, found->second.lists);
      if (codes && *codes != pattern.positions) disagree(name + ": the codes differ");
      if (found->second.characters != pattern.characters) {
        disagree(name + ": the characters differ (" + narrow(found->second.characters) + " / " +
                 narrow(pattern.characters) + ")");
      }
    }
  }

  void check_compositions() {
    for (const auto& [name, composition] : literal_.compositions) {
      auto found = named_.compositions.find(name);
      if (found == named_.compositions.end()) continue;
      const std::optional<std::vector<Codes>> codes = codes_of(name, found->second.lists);
      if (codes && *codes != composition.positions) disagree(name + ": the codes differ");
      auto list = literal_.letter_lists.find(composition.letter_list);
      if (list == literal_.letter_lists.end()) {
        disagree(name + " is built from " + composition.letter_list + ", which no row gives");
        continue;
      }
      resolve_letters(name, found->second.letters, *list);
    }
  }

  void resolve_letters(const std::string& composition, const std::u16string& named_letters,
                       const std::pair<const std::string, std::u16string>& list) {
    std::u16string letters;
    if (distinct(named_letters) == list.second) {
      letters = named_letters;
    } else if (letter_list_wins(composition)) {
      letters = list.second;
    } else {
      disagree(composition + ": the letters differ (" + narrow(named_letters) + " / " +
               narrow(list.second) + ")");
      return;
    }
    auto [at, inserted] = result_->letter_lists.emplace(list.first, letters);
    if (!inserted && at->second != letters) {
      disagree(list.first + ": its compositions give it different letters");
    }
  }

  void check_common_set() {
    if (named_.common_set.empty() || literal_.common_set.empty()) return;
    if (as_literal(named_.common_set) != literal_.common_set) disagree("the common set differs");
  }

  void check_fills() {
    std::vector<int> named_order;
    std::vector<int> literal_order;
    for (const Fill& fill : literal_.fills) {
      auto found = std::ranges::find(named_.fills, fill.charset, &Fill::charset);
      if (found == named_.fills.end()) continue;
      literal_order.push_back(fill.charset);
      check_fill(*found, fill);
    }
    for (const Fill& fill : named_.fills) {
      if (std::ranges::find(literal_.fills, fill.charset, &Fill::charset) != literal_.fills.end()) {
        named_order.push_back(fill.charset);
      }
    }
    if (named_order != literal_order) disagree("the slots are filled in a different order");
  }

  void check_fill(const Fill& named, const Fill& literal) {
    const std::string slot = "slot " + std::to_string(named.charset);
    if (named.start != literal.start || named.source_slot != literal.source_slot) {
      disagree(slot + ": it starts from something else");
    }
    if (as_literal(named.patterns) != literal.patterns) disagree(slot + ": the patterns differ");
    if (named.compositions != literal.compositions) disagree(slot + ": the compositions differ");
    if (named.stated_own >= 0 && named.stated_own != static_cast<int>(named.patterns.size())) {
      disagree(slot + ": the stated number of patterns is not the list's");
    }
  }

  const NamedRendering& named_;
  const LiteralRendering& literal_;
  CheckResult* result_;
};

std::string numbered(std::string_view prefix, int number) {
  return std::string(prefix) + (number < 10 ? "0" : "") + std::to_string(number);
}

class Resolver {
 public:
  Resolver(const NamedRendering& named, const LiteralRendering& literal,
           const CheckResult& check, std::vector<std::string>* errors)
      : named_(named), literal_(literal), check_(check), errors_(errors) {}

  std::optional<TableData> run() {
    TableData data;
    data.code_lists.emplace_back("kAnyCode", code_list("kAnyCode"));
    for (int n = 1; n <= 81; ++n) {
      const std::string name = numbered("kCodeList", n);
      data.code_lists.emplace_back(name, code_list(name));
    }
    add_patterns("kCommonPattern", 21, &data.first_unit_patterns);
    add_patterns("kEnglishPattern", 19, &data.first_unit_patterns);
    add_patterns("kPatternU3_", 61, &data.third_unit_patterns);
    add_letters("kLettersU3_", 57, &data.third_unit_letters);
    add_compositions("kCompositionU3_", 65, &data.third_unit_compositions);
    add_patterns("kPatternU4_", 65, &data.fourth_unit_patterns);
    add_letters("kLettersU4_", 2, &data.fourth_unit_letters);
    add_compositions("kCompositionU4_", 2, &data.fourth_unit_compositions);
    data.common_set = named_.common_set;
    data.fills = named_.fills;
    check_lengths(data);
    check_fills(data);
    if (!errors_->empty()) return std::nullopt;
    return data;
  }

 private:
  void error(const std::string& what) { errors_->push_back(what); }

  Codes code_list(const std::string& name) {
    auto found = named_.code_lists.find(name);
    if (found == named_.code_lists.end()) {
      error("no row gives " + name);
      return {};
    }
    return found->second;
  }

  void add_patterns(std::string_view prefix, int count, std::vector<PatternData>* out) {
    const bool spelled_out = prefix.starts_with("kPatternU");
    for (int n = 1; n <= count; ++n) {
      const std::string name = numbered(prefix, n);
      auto found = named_.patterns.find(name);
      if (found == named_.patterns.end() || (spelled_out && !literal_.patterns.contains(name))) {
        error("a rendering lacks " + name);
        continue;
      }
      out->push_back({name, found->second.lists, found->second.characters});
    }
  }

  void add_letters(std::string_view prefix, int count, std::vector<LetterListData>* out) {
    for (int n = 1; n <= count; ++n) {
      const std::string name = numbered(prefix, n);
      auto found = check_.letter_lists.find(name);
      if (found == check_.letter_lists.end()) {
        error("no composition of both renderings is built from " + name);
        continue;
      }
      out->push_back({name, found->second});
    }
  }

  void add_compositions(std::string_view prefix, int count, std::vector<CompositionData>* out) {
    for (int n = 1; n <= count; ++n) {
      const std::string name = numbered(prefix, n);
      auto named = named_.compositions.find(name);
      auto literal = literal_.compositions.find(name);
      if (named == named_.compositions.end() || literal == literal_.compositions.end()) {
        error("a rendering lacks " + name);
        continue;
      }
      out->push_back({name, literal->second.letter_list, named->second.lists});
    }
  }

  void check_lengths(const TableData& data) {
    for (const PatternData& pattern : data.first_unit_patterns) {
      const int stated = named_.patterns.at(pattern.name).stated_length;
      if (stated != static_cast<int>(pattern.lists.size())) {
        error(pattern.name + ": the stated length is not the number of its lists");
      }
    }
  }

  // Follows the fills through the slot sizes they state, and checks that
  // every constant is used and every name is known.
  void check_fills(const TableData& data) {
    std::set<std::string> known;
    for (const auto* group : {&data.first_unit_patterns, &data.third_unit_patterns,
                              &data.fourth_unit_patterns}) {
      for (const PatternData& pattern : *group) known.insert(pattern.name);
    }
    for (const auto* group : {&data.third_unit_compositions, &data.fourth_unit_compositions}) {
      for (const CompositionData& composition : *group) known.insert(composition.name);
    }
    std::set<std::string> used(data.common_set.begin(), data.common_set.end());
    if (data.common_set.size() != 30) error("the common set does not hold 30 patterns");
    std::map<int, int> sizes;
    bool prefixing_done = false;
    for (const Fill& fill : data.fills) {
      const std::string slot = "slot " + std::to_string(fill.charset);
      if (fill.charset < 0 || fill.charset > 42 || sizes.contains(fill.charset)) {
        error(slot + ": not a charset filled once");
      }
      if (!fill.prefixed) prefixing_done = true;
      if (fill.prefixed && prefixing_done) error(slot + ": prefixed after the prefixing step");
      const int start = fill.start == Start::kCommonSet   ? static_cast<int>(data.common_set.size())
                        : fill.start == Start::kCopyOfSlot ? sizes[fill.source_slot]
                                                           : 0;
      const int size = start + static_cast<int>(fill.patterns.size());
      sizes[fill.charset] = size;
      if (fill.stated_start != start || fill.stated_own != static_cast<int>(fill.patterns.size()) ||
          (fill.prefixed && fill.stated_after_step != size) ||
          fill.stated_at_end != (fill.prefixed ? 2 * size : size)) {
        error(slot + ": the stated pattern counts do not follow from the lists");
      }
      used.insert(fill.patterns.begin(), fill.patterns.end());
      used.insert(fill.compositions.begin(), fill.compositions.end());
    }
    for (const std::string& name : used) {
      if (!known.contains(name)) error("a fill names " + name + ", which is not defined");
    }
    for (const std::string& name : known) {
      if (!used.contains(name)) error(name + " goes to no slot");
    }
  }

  const NamedRendering& named_;
  const LiteralRendering& literal_;
  const CheckResult& check_;
  std::vector<std::string>* errors_;
};

}  // namespace

CheckResult cross_check(const NamedRendering& named, const LiteralRendering& literal) {
  CheckResult result;
  Checker(named, literal, &result).run();
  return result;
}

std::optional<TableData> resolve(const NamedRendering& named, const LiteralRendering& literal,
                                 std::vector<std::string>* errors) {
  const CheckResult check = cross_check(named, literal);
  errors->insert(errors->end(), check.disagreements.begin(), check.disagreements.end());
  return Resolver(named, literal, check, errors).run();
}

}  // namespace compgen
