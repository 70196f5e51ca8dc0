// The knowledge base's self-test: the checks of the variants and etalons
// against the shapes, the Rafs, the complex variants, the special pairs and
// the tuples, and of the charset symbols against the charsets and symbols,
// written as a readable report in code page 1251.
//
// Every check writes its question, one line per finding and its verdict.
// The ordering checks name each neighbouring pair whose second id is not
// greater than the first. Some findings are information only and leave the
// result alone: an almost empty stroke, a redundant detail, and the closing
// listings of rarely used variants.
#include <algorithm>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/database/knowledge_base.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

constexpr std::u16string_view kPassed = u"Тест пройден успешно.";
constexpr std::u16string_view kFailed = u"Были найдены ошибки.";
constexpr std::u16string_view kRule =
    u"\n--------------------------------------------------------------------------";
constexpr std::uint16_t kLastTupleRule = 84;

// Strokes shorter than this, or short and small, are almost empty.
constexpr std::uint32_t kFewPoints = 5;
constexpr std::uint32_t kSmallStrokePoints = 21;
constexpr int kSmallStrokeExtent = 8;

// Report text written piece by piece: UTF-16 text in code page 1251, 8-bit
// text as it is, integers in decimal.
class Report {
 public:
  explicit Report(FileHolder& out) : out_(out) {}

  template <typename... Pieces>
  void put(const Pieces&... pieces) {
    (put_piece(pieces), ...);
  }

 private:
  void put_piece(std::u16string_view text) { write(to_code_page_1251(text)); }
  void put_piece(std::string_view bytes) { write(bytes); }
  template <std::integral T>
  void put_piece(T number) {
    write(std::to_string(number));
  }
  void write(std::string_view bytes) { out_.write(bytes.data(), 1, bytes.size()); }

  FileHolder& out_;
};

void put_verdict(Report& report, bool passed) { report.put(passed ? kPassed : kFailed, u"\n\n"); }

std::string_view shape_name(const Shape& shape) {
  const char* name = shape.info.name;
  return {name,
          static_cast<std::size_t>(std::find(name, name + sizeof shape.info.name, '\0') - name)};
}

bool almost_empty(const Stroke& stroke) {
  if (stroke.size() < kFewPoints) return true;
  if (stroke.size() >= kSmallStrokePoints) return false;
  const auto [left, right] = std::minmax_element(
      stroke.begin(), stroke.end(), [](const auto& p, const auto& q) { return p.x < q.x; });
  const auto [top, bottom] = std::minmax_element(
      stroke.begin(), stroke.end(), [](const auto& p, const auto& q) { return p.y < q.y; });
  return right->x - left->x <= kSmallStrokeExtent && bottom->y - top->y <= kSmallStrokeExtent;
}

// The charset of the variant or complex variant with that id, or null.
class IdLookup {
 public:
  IdLookup(const KnowledgeBase& knowledge_base, const DynArray<ComplexVariant>& complex_variants)
      : knowledge_base_(knowledge_base), complex_variants_(complex_variants) {}

  const std::uint32_t* charset_of(std::uint16_t id, bool complex) const {
    if (!complex) {
      const Variant* variant = knowledge_base_.find_variant(id);
      return variant != nullptr ? &variant->idSet : nullptr;
    }
    const auto found = std::find_if(complex_variants_.begin(), complex_variants_.end(),
                                    [id](const ComplexVariant& record) { return record.id == id; });
    return found != complex_variants_.end() ? &found->set : nullptr;
  }
  bool exists(std::uint16_t id, bool complex) const { return charset_of(id, complex) != nullptr; }

 private:
  const KnowledgeBase& knowledge_base_;
  const DynArray<ComplexVariant>& complex_variants_;
};

// Writes a heading line before the first finding under it.
class Heading {
 public:
  explicit Heading(Report& report) : report_(report) {}

  template <typename... Pieces>
  void once(const Pieces&... pieces) {
    if (written_) return;
    report_.put(pieces...);
    written_ = true;
  }

 private:
  Report& report_;
  bool written_ = false;
};

// Checks one special-pair table: true when it has no findings.
bool check_spec_pairs(Report& report, const IdLookup& ids, const SpecPairsTable& table,
                      bool first_simple, bool second_simple) {
  bool passed = true;
  for (const SpecPairsEntry& entry : table) {
    Heading language(report);
    const auto finding = [&](std::u16string_view prefix, auto... pieces) {
      language.once(prefix, entry.charset_id, u"\n");
      report.put(pieces..., u"\n");
      passed = false;
    };
    const std::uint32_t clusters = entry.groups.size();
    for (std::uint32_t g = 0; g < clusters; ++g) {
      const SpecPairGroup& cluster = entry.groups[g];
      const std::uint16_t first = cluster.key;
      if (g + 1 < clusters) {
        const std::uint16_t next = entry.groups[g + 1].key;
        if (first == next) {
          finding(u"язык: ", u"\tпервый вариант повтор: ", first);
        } else if (first > next) {
          finding(u"язык: ", u"\tкластеры не отсортированы по первому варианту, вариант1: ", first);
        }
      }
      if (first == 0) {
        finding(u"\n\nязык: ", u"\tпервый вариант имеет недопустимое значение: ", first);
      } else if (const std::uint32_t* charset = ids.charset_of(first, !first_simple);
                 charset == nullptr) {
        finding(u"\nязык: ", u"\tпервый вариант отсутствует в списке вариантов: ", first);
      } else if (*charset != entry.charset_id) {
        finding(u"\nязык: ", u"\tпервый вариант не в своем языке: ", first);
      }

      Heading cluster_line(report);
      const auto pair_finding = [&](auto... pieces) {
        language.once(u"\nязык: ", entry.charset_id, u"\n");
        cluster_line.once(u"\tвариант кластера: ", first, u"\n");
        report.put(pieces..., u"\n");
        passed = false;
      };
      const std::uint32_t pairs = cluster.pairs.size();
      for (std::uint32_t p = 0; p < pairs; ++p) {
        const SpecPair& pair = cluster.pairs[p];
        if (p + 1 < pairs) {
          const std::uint16_t next = cluster.pairs[p + 1].variant2;
          if (pair.variant2 == next) {
            pair_finding(u"\t\tвторой вариант в одном кластере повтор: ", pair.variant2);
          } else if (pair.variant2 > next) {
            pair_finding(
                u"\t\tспецпары в кластере не отсортированы по вторым вариантам, variant2: ",
                pair.variant2);
          }
        }
        if (pair.variant2 != 0 && !ids.exists(pair.variant2, !second_simple)) {
          pair_finding(u"\t\tвторой вариант отсутсвует в списке вариантов: ", pair.variant2);
        }
        if (pair.variant2 == 0 || pair.max_delta < -1 || pair.min_measure < -1) {
          pair_finding(u"\t\tнеправильная спецпара (var2, maxdelta, minmeres): ", pair.variant2,
                       u",", pair.max_delta, u",", pair.min_measure);
        }
      }
    }
  }
  return passed;
}

struct ListTexts {
  std::u16string_view out_of_order;
  std::u16string_view repeat;
  std::u16string_view not_found;
};

constexpr ListTexts kTupleLists[3] = {
    {u"\t\tпервый жадный не упорядочен, вариант: ", u"\t\tповтор в первый жадный, вариант: ",
     u"\t\tпервый жадный нет в списке вариантов, вариант: "},
    {u"\t\tвторой жадный не упорядочен, вариант: ", u"\t\tповтор во второй жадный, вариант: ",
     u"\t\tвторой жадный нет в списке вариантов, вариант: "},
    {u"\t\tслабый не упорядочен, вариант: ", u"\t\tповтор в слабый, вариант: ",
     u"\t\tслабый нет в списке вариантов, вариант: "},
};

struct SpecPairsCheck {
  const SpecPairsTable& table;
  bool first_simple;
  bool second_simple;
  std::u16string_view heading;
  std::u16string_view passed;
  std::u16string_view failed;
};

class SelfTest {
 public:
  SelfTest(Report& report, const KnowledgeBase& knowledge_base, const SelfTestTables& tables)
      : report_(report),
        knowledge_base_(knowledge_base),
        tables_(tables),
        variants_(knowledge_base.variants()),
        etalons_(knowledge_base.etalons()),
        shapes_(knowledge_base.shapes()),
        rafs_(knowledge_base.rafs()),
        complex_variants_(tables.complex_variants),
        ids_(knowledge_base, tables.complex_variants) {}

  int run() {
    check_ordered(u"Упорядочен ли список шейпов по возрастанию ID", shapes_.entries(),
                  [](const Shape& shape) { return shape.info.id; });
    check_ordered(u"Упорядочен ли список побуквенных рафов по возрастанию ID", rafs_,
                  [](const Raf& raf) { return raf.id; });
    check_ordered(u"Упорядочен ли список вариантов по возрастанию ID", variants_,
                  [](const Variant& variant) { return variant.id; });
    check_ordered(u"Упорядочен ли список эталонов по возрастанию ID", etalons_,
                  [](const Etalon& etalon) { return etalon.id; });
    check_variant_etalons();
    check_variant_shapes();
    check_shape_samples();
    check_etalon_users();
    check_details_present();
    check_details_redundant();
    check_charset_symbs();
    check_spec_pair_tables({{tables_.ss, true, true, u"\nПроверка пар простые-простые\n",
                             u"В спецпарах простые-простые ошибок не обнаружено\n",
                             u"В спецпарах простые-простые найдены ошибки\n"},
                            {tables_.sc, true, false, u"\nПроверка пар простые-комплексные\n",
                             u"В спецпарах простые-комплексные ошибок не обнаружено\n",
                             u"В спецпарах простые-комплексные обнаружены ошибки\n"},
                            {tables_.cs, false, true, u"\nПроверка пар комплексные-простые\n",
                             u"В спецпарах комплексные-простые ошибок не обнаружено\n",
                             u"В спецпарах комплексные-простые обнаружены ошибки\n"},
                            {tables_.cc, false, false, u"\nПроверка пар комплексные-комплексные\n",
                             u"В спецпарах комплексные-комплексные ошибок не обнаружено\n",
                             u"В спецпарах комплексные-комплексные обнаружены ошибки\n"}});
    check_tuples(tables_.tuples);
    list_rarely_used();
    return passed_ ? 1 : 0;
  }

 private:
  // Writes the question and starts counting findings.
  void begin(std::u16string_view question) {
    report_.put(question, u"\n");
    findings_ = 0;
  }
  template <typename... Pieces>
  void finding(const Pieces&... pieces) {
    report_.put(pieces...);
    ++findings_;
  }
  // Writes the verdict; a failed check fails the test unless it only informs.
  void end(bool counts = true) {
    put_verdict(report_, findings_ == 0);
    if (counts && findings_ != 0) passed_ = false;
  }

  template <typename Record, typename IdOf>
  void check_ordered(std::u16string_view question, const DynArray<Record>& records, IdOf id_of) {
    begin(question);
    for (std::uint32_t i = 0; i + 1 < records.size(); ++i) {
      const auto a = id_of(records[i]);
      const auto b = id_of(records[i + 1]);
      if (b <= a) {
        finding(u"Элемент ", i, u" имеет ID ", a, u", а с индексом ", i + 1, u" имеет ID ", b,
                u"\n");
      }
    }
    end();
  }

  // The first etalon with that id, or null.
  const Etalon* etalon_with_id(std::uint16_t id) const {
    const auto found = std::find_if(etalons_.begin(), etalons_.end(),
                                    [id](const Etalon& etalon) { return etalon.id == id; });
    return found != etalons_.end() ? found : nullptr;
  }

  void check_variant_etalons() {
    begin(u"У каждого ли варианта есть эталон?");
    for (std::uint32_t i = 0; i < variants_.size(); ++i) {
      const Variant& variant = variants_[i];
      if (variant.is_special()) {
        if (variant.etalon_id != kNoEtalon) {
          finding(u"Вариант с индексом ", i, u" имеет ID ", variant.id,
                  u" и свойство special_recognition, но ссылается на эталон с нормальным ID ",
                  variant.etalon_id, u"\n");
        }
      } else if (const Etalon* etalon = etalon_with_id(variant.etalon_id); etalon == nullptr) {
        finding(u"Вариант с индексом ", i, u" имеет ID ", variant.id,
                u" и ссылается на отсутствующий эталон с ID ", variant.etalon_id, u"\n");
      } else if (!knowledge_base_.etalon_fits(*etalon)) {
        // Recognition leaves such a variant out.
        finding(u"Вариант с индексом ", i, u" имеет ID ", variant.id,
                u" и ссылается на эталон с ID ", variant.etalon_id, u", у которого ",
                etalon->cells.size(), u" ячеек, а в таблице рафов ", knowledge_base_.total_cells(),
                u"\n");
      }
    }
    end();
  }

  void check_variant_shapes() {
    begin(u"У каждого ли варианта есть шейп?");
    for (std::uint32_t i = 0; i < variants_.size(); ++i) {
      const Variant& variant = variants_[i];
      if (shapes_.find_by_id(variant.shape_id) == nullptr) {
        finding(u"Вариант с индексом ", i, u" имеет ID ", variant.id,
                u" и ссылается на отсутствующий шейп с ID ", variant.shape_id, u"\n");
      }
    }
    end();
  }

  void check_shape_samples() {
    begin(u"Все ли образцы шейпа имеют хотя бы один строук?");
    for (std::uint32_t i = 0; i < shapes_.size(); ++i) {
      const Shape& shape = *shapes_.at(i);
      for (std::uint32_t j = 0; j < shape.samples.size(); ++j) {
        const StrokeArray& strokes = shape.samples[j].strokes;
        if (strokes.empty()) {
          finding(u"Шейп с индексом ", i, u" имеет ID ", shape.info.id, u" и имя ",
                  shape_name(shape), u" и имеет пустой образец с индексом ", j, u"\n");
        }
        for (std::uint32_t k = 0; k < strokes.size(); ++k) {
          if (almost_empty(strokes[k])) {
            report_.put(u"Шейп с индексом ", i, u" имеет ID ", shape.info.id, u" и имя ",
                        shape_name(shape), u" и имеет почти пустой образец с индексом ", j,
                        u" на строуке ", k, u"\n");
          }
        }
      }
    }
    end();
  }

  void check_etalon_users() {
    begin(
        u"На все ли эталоны ссылается хотя бы один вариант? Нет ли мёртвых ссылок?\n"
        u"Соответствет ли количество ссылок? Соответствуют ли шейпы вариантов одного эталона "
        u"друг другу?");
    for (std::uint32_t i = 0; i < etalons_.size(); ++i) {
      const Etalon& etalon = etalons_[i];
      if (etalon.reference_count_ == 0) {
        finding(u"Эталон с индексом ", i, u", имеющий ID ", etalon.id,
                u", имеет поле reference_count_ равное 0\n");
      }
      std::uint32_t users = 0;
      std::uint16_t first_shape = 0;
      for (std::uint32_t j = 0; j < variants_.size(); ++j) {
        const Variant& variant = variants_[j];
        if (variant.etalon_id != etalon.id) continue;
        if (users++ == 0) {
          first_shape = variant.shape_id;
        } else if (variant.shape_id != first_shape) {
          finding(u"Эталон с индексом ", i, u" имеет ID ", etalon.id, u",",
                  u"\n  на него ссылается вариант с индексом ", j, u" и ID ", variant.id, u",",
                  u"\n  имеющий поле shape_id ", variant.shape_id,
                  u", не совпадающее с первым вариантом данного эталона ", first_shape, u"\n\n");
        }
      }
      if (users == 0) {
        finding(u"Эталон с индексом ", i, u", имеющий ID ", etalon.id,
                u", не имеет ни одного варианта, ссылающегося на него\n");
      }
      if (users != etalon.reference_count_) {
        finding(u"Эталон с индексом ", i, u", имеющий ID ", etalon.id,
                u", имеет поле reference_count_ равное ", etalon.reference_count_,
                u", а на самом деле на него ссылаются ", users, u" вариантов.\n");
      }
    }
    end();
  }

  bool charset_has_shape(std::uint32_t charset, std::uint16_t shape_id) const {
    return std::any_of(variants_.begin(), variants_.end(), [&](const Variant& variant) {
      return variant.idSet == charset && variant.shape_id == shape_id;
    });
  }

  // Whether the complex variants of `charset` before position `end` put the
  // shape on their charset's detail list: as their detail, or as the shape
  // they are drawn as.
  bool detail_listed(std::uint32_t charset, std::uint16_t shape_id, std::uint32_t end) const {
    for (std::uint32_t r = 0; r < end; ++r) {
      const ComplexVariant& record = complex_variants_[r];
      if (record.set == charset && (record.detail_shape_id == shape_id ||
                                    (record.kind == 0 && record.reference_id == shape_id))) {
        return true;
      }
    }
    return false;
  }

  // The least charset of the complex variants above `after` (all when
  // `first`); false when there is none.
  bool next_complex_charset(bool first, std::uint32_t after, std::uint32_t* charset) const {
    bool found = false;
    for (const ComplexVariant& record : complex_variants_) {
      if ((first || record.set > after) && (!found || record.set < *charset)) {
        *charset = record.set;
        found = true;
      }
    }
    return found;
  }

  void check_details_present() {
    begin(u"Все ли детали добавлены в соответствующие чарсеты?");
    std::uint32_t charset = 0;
    for (bool first = true; next_complex_charset(first, charset, &charset); first = false) {
      for (std::uint32_t r = 0; r < complex_variants_.size(); ++r) {
        const ComplexVariant& record = complex_variants_[r];
        if (record.set != charset) continue;
        check_detail(charset, record.detail_shape_id, record.menuc);
        if (record.kind == 0 && record.reference_id != record.detail_shape_id &&
            !detail_listed(charset, record.reference_id, r)) {
          check_detail(charset, record.reference_id, record.menuc);
        }
      }
    }
    end();
  }

  void check_detail(std::uint32_t charset, std::uint16_t shape_id, std::uint16_t code) {
    if (charset_has_shape(charset, shape_id)) return;
    finding(u"Не найдена деталь для чарсета ", charset, u" с шейпом ", shape_id,
            u" на символе с кодом: ", code, u"\n");
  }

  bool is_detail_shape(std::uint32_t charset, std::uint16_t shape_id) const {
    return std::any_of(variants_.begin(), variants_.end(), [&](const Variant& variant) {
      return variant.menuc == 0 && variant.idSet == charset && variant.shape_id == shape_id;
    });
  }

  void check_details_redundant() {
    begin(u"Нет ли избыточности в деталях?");
    for (const Variant& variant : variants_) {
      if (variant.menuc != 0 && is_detail_shape(variant.idSet, variant.shape_id)) {
        finding(u"Обнаружено излишество в чарсете ", variant.idSet, u" с шейпом ", variant.shape_id,
                u". Есть вариант [", variant.id, u"] символа с кодом: ", variant.menuc, u"\n");
      }
    }
    end(false);
  }

  // A charset symbol whose charset or symbol is missing makes its charset
  // unusable; the data store refuses such a file.
  void check_charset_symbs() {
    begin(u"Есть ли у каждого символа чарсета его чарсет и его символ?");
    for (std::uint32_t i = 0; i < tables_.charset_symbs.size(); ++i) {
      const CharSetSymb& record = tables_.charset_symbs[i];
      if (!holds(tables_.charsets, [&](const CharSet& c) { return c.id == record.charset_id; })) {
        finding(u"Символ чарсета с индексом ", i, u" ссылается на отсутствующий чарсет с ID ",
                record.charset_id, u"\n");
      }
      if (!holds(tables_.symbs, [&](const Symb& symb) { return symb.code == record.code; })) {
        finding(u"Символ чарсета с индексом ", i, u" ссылается на отсутствующий символ с кодом ",
                record.code, u"\n");
      }
    }
    end();
  }

  template <typename Record, typename Match>
  static bool holds(const DynArray<Record>& table, Match match) {
    return std::any_of(table.begin(), table.end(), match);
  }

  void check_spec_pair_tables(std::initializer_list<SpecPairsCheck> checks) {
    report_.put(kRule,
                u"\nПроверка спецпар.\nВнимание, вариант1 в кластерах проверяется на "
                u"принадлежность своему языку, \nвариант2 в спецпарах не будет проверяться на "
                u"правильный чарсет никогда, т.к. возможны межъязыковые орфопары.\n");
    bool all_passed = true;
    for (const SpecPairsCheck& check : checks) {
      report_.put(check.heading);
      const bool passed =
          check_spec_pairs(report_, ids_, check.table, check.first_simple, check.second_simple);
      report_.put(passed ? check.passed : check.failed);
      all_passed = all_passed && passed;
    }
    report_.put(all_passed ? u"В спецпарах ошибок не обнаружено\n"
                           : u"В спецпарах обнаружены ошибки\n");
    if (!all_passed) passed_ = false;
  }

  void check_tuples(const TuplesTable& tuples) {
    report_.put(kRule, u"\nПроверка кортежей.\n");
    bool all_passed = true;
    for (const TuplesEntry& entry : tuples) {
      Heading language(report_);
      for (std::uint32_t t = 0; t < entry.tuples.size(); ++t) {
        const Tuple& tuple = entry.tuples[t];
        const auto language_line = [&] { language.once(u"язык: ", entry.charset_id, u"\n"); };
        if (tuple.rule < 1 || tuple.rule > kLastTupleRule) {
          language_line();
          report_.put(u"\tправило имеет неверный номер: ", tuple.rule, u", кортеж: ", t, u"\n");
          all_passed = false;
        }
        Heading tuple_line(report_);
        const auto list_finding = [&](std::u16string_view text, std::uint16_t element) {
          language_line();
          tuple_line.once(u"\tправило: ", tuple.rule, u", кортеж: ", t, u"\n");
          report_.put(text, element, u"\n");
          all_passed = false;
        };
        for (int k = 0; k < 3; ++k) {
          const DynArray<std::uint16_t>& list = tuple.lists[k];
          for (std::uint32_t e = 0; e < list.size(); ++e) {
            if (e + 1 < list.size() && list[e] > list[e + 1]) {
              list_finding(kTupleLists[k].out_of_order, list[e]);
            } else if (e + 1 < list.size() && list[e] == list[e + 1]) {
              list_finding(kTupleLists[k].repeat, list[e]);
            }
            if (!ids_.exists(list[e], tuple.complex[k] != 0)) {
              list_finding(kTupleLists[k].not_found, list[e]);
            }
          }
        }
      }
    }
    report_.put(all_passed ? u"В кортежах ошибок не обнаружено\n"
                           : u"В кортежах обнаружены ошибки\n");
    if (!all_passed) passed_ = false;
  }

  void list_rarely_used() {
    report_.put(u"\n\nВаринаты, помеченные как не часто используемые");
    for (const Variant& variant : variants_) {
      if (variant.idUse == 0) continue;
      report_.put(u"\nВариант ID: ", variant.id, u" язык: ", variant.idSet);
      list_symbol(variant.menuc);
    }
    report_.put(u"\n\nкомплексные варинаты, помеченные как не часто используемые");
    for (const ComplexVariant& record : complex_variants_) {
      if (record.use == 0) continue;
      report_.put(u"\nКомплексный вариант ID: ", record.id, u" язык: ", record.set);
      list_symbol(record.menuc);
    }
    report_.put(u"\n");
  }

  void list_symbol(std::uint16_t code) {
    if (code == 0) {
      report_.put(u" символ деталь");
    } else {
      report_.put(u" символ ", code);
    }
  }

  Report& report_;
  const KnowledgeBase& knowledge_base_;
  const SelfTestTables& tables_;
  const DynArray<Variant>& variants_;
  const DynArray<Etalon>& etalons_;
  const ShapeTable& shapes_;
  const DynArray<Raf>& rafs_;
  const DynArray<ComplexVariant>& complex_variants_;
  IdLookup ids_;
  std::uint32_t findings_ = 0;
  bool passed_ = true;
};

}  // namespace

int KnowledgeBase::self_test(const char* report_path, const SelfTestTables& tables) const {
  if (report_path == nullptr) return kBadArgument;
  ReplacingFile file{std::string(report_path)};
  if (!file.is_open()) return kDataFileOpen;
  Report report(file.file());
  const int result = SelfTest(report, *this, tables).run();
  if (const int status = file.commit(); status != kOk) return status;
  return result;
}

}  // namespace inkrec
