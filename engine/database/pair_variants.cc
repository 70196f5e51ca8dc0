#include "engine/database/pair_variants.h"

#include <algorithm>
#include <array>

namespace inkrec {
namespace {

constexpr std::int32_t kAnyRival = -1;
constexpr std::int32_t kNoCandidate = -1;
constexpr std::uint32_t kEveryCharset = 0xFFFFFFFF;
constexpr std::uint32_t kUseOften = 0;

// The charsets a row can be grouped by, in the order their groups are taken.
constexpr std::array<std::uint32_t, 12> kGroupCharsets = {5,  6,  7,  12, 10, 11,
                                                          27, 13, 15, 20, 8,  14};

// A fixed id of a row: for every charset, or for one of kGroupCharsets.
struct ListedId {
  std::uint32_t charset;
  std::uint16_t id;
};

enum class RowIds : std::uint8_t {
  kListed,               // the fixed ids of the row
  kOwnVariants,          // the database's variants of A, of any charset
  kOwnVariantsByCharset  // the database's variants of A, charset group by group
};

struct PairRow {
  std::int32_t a;
  std::int32_t b;          // kAnyRival: every rival
  std::int32_t candidate;  // the candidate's variant id the row needs, or kNoCandidate
  RowIds ids;
  std::span<const ListedId> listed;
};

constexpr ListedId kBackspaceHyphen[] = {
    {kEveryCharset, 1032}, {kEveryCharset, 1569}, {kEveryCharset, 1570}, {kEveryCharset, 5518}};
constexpr ListedId kCapitalAlphaLambda[] = {
    {kEveryCharset, 4959}, {kEveryCharset, 4829}, {kEveryCharset, 4830}};
constexpr ListedId kFT[] = {
    {kEveryCharset, 770}, {kEveryCharset, 771}, {kEveryCharset, 5542}, {kEveryCharset, 11046}};
constexpr ListedId kT770[] = {{kEveryCharset, 607}, {kEveryCharset, 862}};
constexpr ListedId kT773[] = {
    {kEveryCharset, 602}, {kEveryCharset, 607}, {kEveryCharset, 608}, {kEveryCharset, 879}};
constexpr ListedId kT5542[] = {{kEveryCharset, 608}, {kEveryCharset, 4948}};
constexpr ListedId kCircledLetters[] = {{kEveryCharset, 5579}};
constexpr ListedId kEL[] = {{5, 5509}};
constexpr ListedId kHK[] = {{5, 656},   {6, 1213},  {7, 1584},  {12, 1931}, {10, 2989}, {11, 2618},
                            {27, 2974}, {13, 3341}, {15, 3688}, {20, 4044}, {8, 4391}};
constexpr ListedId kHN[] = {{5, 700},   {5, 701},   {5, 702},   {6, 1262},  {6, 1263},  {6, 1264},
                            {7, 1631},  {7, 1632},  {7, 1633},  {12, 1978}, {12, 1979}, {12, 1980},
                            {10, 2319}, {10, 2320}, {10, 2321}, {11, 2664}, {11, 2665}, {11, 2666},
                            {27, 3038}, {27, 3039}, {27, 3040}, {13, 3388}, {13, 3389}, {13, 3390},
                            {15, 3735}, {15, 3736}, {15, 3737}, {20, 4091}, {20, 4092}, {20, 4093},
                            {8, 4438},  {8, 4439},  {8, 4440},  {14, 5271}, {14, 5272}, {14, 5273}};
constexpr ListedId kIJ[] = {{5, 231},   {5, 1748},  {6, 232},  {7, 254},   {12, 462},
                            {10, 618},  {10, 1747}, {11, 853}, {27, 995},  {13, 1109},
                            {15, 1149}, {20, 1281}, {8, 1450}, {14, 1770}, {14, 1771}};

constexpr PairRow listed(std::int32_t a, std::int32_t b, std::span<const ListedId> ids,
                         std::int32_t candidate = kNoCandidate) {
  return {a, b, candidate, RowIds::kListed, ids};
}
constexpr PairRow own(std::int32_t a, std::int32_t b) {
  return {a, b, kNoCandidate, RowIds::kOwnVariants, {}};
}
constexpr PairRow own_by_charset(std::int32_t a, std::int32_t b) {
  return {a, b, kNoCandidate, RowIds::kOwnVariantsByCharset, {}};
}

constexpr PairRow kRows[] = {
    own(8, 44),
    listed(8, 45, kBackspaceHyphen),
    own(39, 45),
    own(42, 1078),
    own(44, 46),
    own(44, 1497),
    own(45, 8),
    own(46, 44),
    own(46, 45),
    own(46, 1497),
    own(47, 44),
    own_by_charset(65, 116),
    own_by_charset(77, 110),
    own_by_charset(86, 114),
    own_by_charset(89, 103),
    own_by_charset(97, 111),
    own_by_charset(97, 117),
    own_by_charset(101, 99),
    listed(101, 108, kEL),
    listed(102, 116, kFT, 4948),
    own_by_charset(103, 115),
    own_by_charset(103, 121),
    listed(104, 107, kHK),
    listed(104, 110, kHN),
    listed(105, 106, kIJ),
    own_by_charset(106, 105),
    own_by_charset(108, 101),
    own_by_charset(109, 110),
    own_by_charset(114, 118),
    own_by_charset(115, 102),
    listed(116, kAnyRival, kT770, 770),
    listed(116, kAnyRival, kT773, 773),
    listed(116, kAnyRival, kT5542, 5542),
    own_by_charset(117, 97),
    own_by_charset(117, 104),
    own_by_charset(118, 114),
    own_by_charset(121, 103),
    own(125, 44),
    own(126, 45),
    listed(913, 955, kCapitalAlphaLambda),
    own(923, 960),
    own(927, 945),
    own(927, 952),
    own(927, 965),
    own(933, 956),
    own(936, 956),
    own(943, 964),
    own(945, 955),
    own(959, 945),
    own(959, 952),
    own(959, 965),
    own(963, 945),
    own(963, 959),
    own(966, 961),
    own(1043, 45),
    own(1047, 44),
    own(1048, 1087),
    own(1051, 1087),
    own(1061, 1082),
    own(1061, 1083),
    own(1061, 1091),
    own(1072, 1080),
    own(1075, 44),
    own(1075, 1095),
    own(1076, 1091),
    own(1077, 1089),
    own(1079, 44),
    own(1079, 45),
    own(1079, 1076),
    own(1079, 1091),
    own(1080, 1085),
    own(1083, 1080),
    own(1085, 1087),
    own(1085, 1099),
    own(1086, 1072),
    own(1087, 1083),
    own(1089, 1077),
    own(1091, 1076),
    own(1091, 1094),
    own(1093, 1082),
    own(1095, 45),
    own(1095, 1075),
    own(1096, 1084),
    own(1099, 1085),
    own(1493, 1497),
    own(1493, 1503),
    own(1497, 1493),
    own(1497, 1503),
    own(1503, 1493),
    own(1503, 1497),
    listed(9385, 9394, kCircledLetters),
};
static_assert(std::size(kRows) == 91);

const PairRow* find_row(std::int32_t a, std::int32_t b, std::uint16_t candidate) {
  for (const PairRow& row : kRows) {
    if (row.a == a && (row.b == kAnyRival || row.b == b) &&
        (row.candidate == kNoCandidate || row.candidate == candidate)) {
      return &row;
    }
  }
  return nullptr;
}

// Which of kGroupCharsets are active.
using ActiveGroups = std::array<bool, kGroupCharsets.size()>;

ActiveGroups active_groups(std::span<const std::uint32_t> active) {
  ActiveGroups groups{};
  for (std::size_t g = 0; g < kGroupCharsets.size(); ++g) {
    groups[g] = std::find(active.begin(), active.end(), kGroupCharsets[g]) != active.end();
  }
  return groups;
}

bool group_active(const ActiveGroups& groups, std::uint32_t charset) {
  if (charset == kEveryCharset) return true;
  const auto* group = std::find(kGroupCharsets.begin(), kGroupCharsets.end(), charset);
  return groups[static_cast<std::size_t>(group - kGroupCharsets.begin())];
}

std::uint32_t charset_of(const Variant& record) { return record.idSet; }
std::uint32_t charset_of(const ComplexVariant& record) { return record.set; }
std::uint32_t use_of(const Variant& record) { return record.idUse; }
std::uint32_t use_of(const ComplexVariant& record) { return record.use; }

template <typename Record>
bool is_often(const Record* record) {
  return record != nullptr && use_of(*record) == kUseOften;
}

bool listed_often(const DataStore& store, bool complex, std::uint16_t id) {
  return complex ? is_often(store.find_complex_variant(id)) : is_often(store.find_variant(id));
}

// Whether a record of character `code` (and `charset`, unless every charset
// counts) is often used.
template <typename Record>
bool own_often(std::span<const Record> records, std::uint32_t charset, std::int32_t code) {
  return std::any_of(records.begin(), records.end(), [&](const Record& record) {
    return record.menuc == code && (charset == kEveryCharset || charset_of(record) == charset) &&
           is_often(&record);
  });
}

template <typename Record>
bool own_row_often(std::span<const Record> records, const PairRow& row,
                   const ActiveGroups& groups) {
  if (row.ids == RowIds::kOwnVariants) return own_often(records, kEveryCharset, row.a);
  for (std::size_t g = 0; g < kGroupCharsets.size(); ++g) {
    if (groups[g] && own_often(records, kGroupCharsets[g], row.a)) return true;
  }
  return false;
}

}  // namespace

int collect_pair_variants(std::span<const std::uint32_t> active, const DataStore& store,
                          std::int32_t a, std::int32_t b, const PairCandidate& candidate) {
  const ActiveGroups groups = active_groups(active);
  const PairRow* row = find_row(a, b, candidate.variant_id);
  if (row == nullptr) return 0;
  const bool complex = candidate.complex != 0;
  if (row->ids != RowIds::kListed) {
    return complex ? own_row_often(store.complex_variant_table().span(), *row, groups)
                   : own_row_often(store.knowledge_base().variants().span(), *row, groups);
  }
  for (const ListedId& listed_id : row->listed) {
    if (group_active(groups, listed_id.charset) && listed_often(store, complex, listed_id.id)) {
      return 1;
    }
  }
  return 0;
}

}  // namespace inkrec
