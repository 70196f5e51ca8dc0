#include "engine/database/pair_variants.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace inkrec {
namespace {

constexpr std::int32_t kAnyRival = -1;
constexpr std::int32_t kNoCandidate = -1;
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
  kListed,            // the fixed ids of the row
  kSupplied,          // ids the database supplies, for every charset
  kSuppliedByCharset  // ids the database supplies, charset group by group
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
constexpr PairRow supplied(std::int32_t a, std::int32_t b) {
  return {a, b, kNoCandidate, RowIds::kSupplied, {}};
}
constexpr PairRow supplied_by_charset(std::int32_t a, std::int32_t b) {
  return {a, b, kNoCandidate, RowIds::kSuppliedByCharset, {}};
}

constexpr PairRow kRows[] = {
    supplied(8, 44),
    listed(8, 45, kBackspaceHyphen),
    supplied(39, 45),
    supplied(42, 1078),
    supplied(44, 46),
    supplied(44, 1497),
    supplied(45, 8),
    supplied(46, 44),
    supplied(46, 45),
    supplied(46, 1497),
    supplied(47, 44),
    supplied_by_charset(65, 116),
    supplied_by_charset(69, 116),  // the E rule's t of a stem and a crossbar
    supplied_by_charset(73, 116),  // the I rule's t crossed below its top
    supplied_by_charset(77, 110),
    supplied_by_charset(86, 114),
    supplied_by_charset(89, 103),
    supplied_by_charset(97, 111),
    supplied_by_charset(97, 117),
    supplied_by_charset(99, 101),  // the c rule's e begun with a crossbar
    supplied_by_charset(101, 99),
    listed(101, 108, kEL),
    listed(102, 116, kFT, 4948),
    supplied_by_charset(103, 115),
    supplied_by_charset(103, 121),
    listed(104, 107, kHK),
    listed(104, 110, kHN),
    listed(105, 106, kIJ),
    supplied_by_charset(106, 105),
    supplied_by_charset(108, 101),
    supplied_by_charset(109, 110),
    supplied_by_charset(114, 118),
    supplied_by_charset(115, 102),
    listed(116, kAnyRival, kT770, 770),
    listed(116, kAnyRival, kT773, 773),
    listed(116, kAnyRival, kT5542, 5542),
    supplied_by_charset(117, 97),
    supplied_by_charset(117, 104),
    supplied_by_charset(118, 114),
    supplied_by_charset(121, 103),
    supplied(125, 44),
    supplied(126, 45),
    listed(913, 955, kCapitalAlphaLambda),
    supplied(923, 960),
    supplied(927, 945),
    supplied(927, 952),
    supplied(927, 965),
    supplied(933, 956),
    supplied(936, 956),
    supplied(943, 964),
    supplied(945, 955),
    supplied(959, 945),
    supplied(959, 952),
    supplied(959, 965),
    supplied(963, 945),
    supplied(963, 959),
    supplied(966, 961),
    supplied(1043, 45),
    supplied(1047, 44),
    supplied(1048, 1087),
    supplied(1051, 1087),
    supplied(1061, 1082),
    supplied(1061, 1083),
    supplied(1061, 1091),
    supplied(1072, 1080),
    supplied(1075, 44),
    supplied(1075, 1095),
    supplied(1076, 1091),
    supplied(1077, 1089),
    supplied(1079, 44),
    supplied(1079, 45),
    supplied(1079, 1076),
    supplied(1079, 1091),
    supplied(1080, 1085),
    supplied(1083, 1080),
    supplied(1085, 1087),
    supplied(1085, 1099),
    supplied(1086, 1072),
    supplied(1087, 1083),
    supplied(1089, 1077),
    supplied(1091, 1076),
    supplied(1091, 1094),
    supplied(1093, 1082),
    supplied(1095, 45),
    supplied(1095, 1075),
    supplied(1096, 1084),
    supplied(1099, 1085),
    supplied(1493, 1497),
    supplied(1493, 1503),
    supplied(1497, 1493),
    supplied(1497, 1503),
    supplied(1503, 1493),
    supplied(1503, 1497),
    listed(9385, 9394, kCircledLetters),
};
static_assert(std::size(kRows) == 94);

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

std::uint32_t use_of(const Variant& record) { return record.idUse; }
std::uint32_t use_of(const ComplexVariant& record) { return record.use; }

template <typename Record>
bool is_often(const Record* record) {
  return record != nullptr && use_of(*record) == kUseOften;
}

bool often_used(const DataStore& store, bool complex, std::uint16_t id) {
  return complex ? is_often(store.find_complex_variant(id)) : is_often(store.find_variant(id));
}

bool same_key(const SuppliedPairId& supplied, const PairRow& row) {
  return supplied.a == row.a && supplied.b == row.b;
}

// Whether one of the ids supplied for the row under `charset`, in their
// order, names an often used record.
bool supplied_often(std::span<const SuppliedPairId> supplied, const PairRow& row,
                    std::uint32_t charset, const DataStore& store, bool complex) {
  return std::any_of(supplied.begin(), supplied.end(), [&](const SuppliedPairId& entry) {
    return same_key(entry, row) && entry.charset == charset && often_used(store, complex, entry.id);
  });
}

// Whether a supplied id belongs to a row of the table without fixed ids,
// under kEveryCharset for an ungrouped row and under one of the group
// charsets for a grouped one.
constexpr bool fits_a_row(const SuppliedPairId& entry) {
  for (const PairRow& row : kRows) {
    if (row.a != entry.a || row.b != entry.b || row.ids == RowIds::kListed) continue;
    if (row.ids == RowIds::kSupplied) return entry.charset == kEveryCharset;
    for (const std::uint32_t charset : kGroupCharsets) {
      if (entry.charset == charset) return true;
    }
    return false;
  }
  return false;
}

constexpr std::initializer_list<SuppliedPairId> kDefaultSuppliedIds = {
#include "engine/database/supplied_pair_ids.inc"
};

constexpr bool default_ids_fit() {
  for (const SuppliedPairId& entry : kDefaultSuppliedIds) {
    if (!fits_a_row(entry)) return false;
  }
  return true;
}
static_assert(default_ids_fit(),
              "supplied_pair_ids.inc names a row with fixed ids, a key not in the table, or a "
              "charset the row is not grouped by");

}  // namespace

std::span<const SuppliedPairId> default_supplied_pair_ids() {
  return {kDefaultSuppliedIds.begin(), kDefaultSuppliedIds.size()};
}

int collect_pair_variants(std::span<const std::uint32_t> active, const DataStore& store,
                          std::int32_t a, std::int32_t b, const PairCandidate& candidate,
                          std::span<const SuppliedPairId> supplied) {
  const ActiveGroups groups = active_groups(active);
  const PairRow* row = find_row(a, b, candidate.variant_id);
  if (row == nullptr) return 0;
  const bool complex = candidate.complex != 0;
  switch (row->ids) {
    case RowIds::kListed:
      return std::any_of(row->listed.begin(), row->listed.end(), [&](const ListedId& listed) {
        return group_active(groups, listed.charset) && often_used(store, complex, listed.id);
      });
    case RowIds::kSupplied:
      return supplied_often(supplied, *row, kEveryCharset, store, complex);
    case RowIds::kSuppliedByCharset:
      for (std::size_t g = 0; g < kGroupCharsets.size(); ++g) {
        if (groups[g] && supplied_often(supplied, *row, kGroupCharsets[g], store, complex)) {
          return 1;
        }
      }
      return 0;
  }
  return 0;
}

}  // namespace inkrec
