#include "engine/database/table_listing.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "engine/foundation/code_page_1251.h"

namespace inkrec {
namespace {

unsigned flag(std::uint32_t value) { return value != 0 ? 1 : 0; }

// The units of a NUL-padded field up to the first 0, in code page 1251.
template <std::size_t N>
std::string field_text(const char16_t (&units)[N]) {
  const auto* end = std::find(std::begin(units), std::end(units), u'\0');
  return to_code_page_1251(std::u16string_view(units, static_cast<std::size_t>(end - units)));
}

std::string side_flags(std::uint32_t sides) {
  if (sides == 0) return "{empty}";
  std::string text = "{";
  if ((sides & kSideTop) != 0) text += "top ";
  if ((sides & kSideBottom) != 0) text += "bottom ";
  if ((sides & kSideLeft) != 0) text += "left ";
  if ((sides & kSideRight) != 0) text += "right ";
  return text + "}";
}

void print_line(FileHolder& out, const CharSet& record) {
  out.printf("{%s, %s, ID:%u, direct:%u, ortho:%u}\n", field_text(record.name).c_str(),
             field_text(record.word_list_code).c_str(), record.id, flag(record.direct),
             record.ortho);
}

void print_line(FileHolder& out, const Symb& record) {
  out.printf("{%s; symbol:[ %u; %u; %u ];  def_num:%u; control:%u}\n",
             side_flags(record.sides).c_str(), unsigned{record.code}, unsigned{record.second_code},
             unsigned{record.third_code}, unsigned{record.def_num}, flag(record.control));
}

void print_line(FileHolder& out, const CharSetSymb& record) {
  out.printf("{%u, %u, ( %u, %u, %u ) }\n", record.charset_id, unsigned{record.code},
             unsigned{record.values[0]}, unsigned{record.values[1]}, unsigned{record.values[2]});
}

void print_line(FileHolder& out, const Raf& record) {
  out.printf("{ ID:%u off:%u nx:%u ny:%u ves:%u }\n", unsigned{record.id}, unsigned{record.offset},
             unsigned{record.nx}, unsigned{record.ny}, unsigned{record.ves});
}

void print_line(FileHolder& out, const ComplexVariant& record) {
  out.printf("{ set:%u, menuc:%u, ID:%u, add:%s, %s:%u, cnt:%u, group:%u, show:%u, rec_mode:%u }\n",
             record.set, unsigned{record.menuc}, unsigned{record.id},
             side_flags(record.add).c_str(), record.kind != 0 ? "variant_id" : "shape_id",
             unsigned{record.reference_id}, unsigned{record.cnt}, unsigned{record.group},
             flag(record.show), unsigned{record.rec_mode});
}

template <typename Record>
void dump_records(FileHolder& out, std::u16string_view heading, const char* after_count,
                  const DynArray<Record>& table) {
  out.printf("%s%u%s", to_code_page_1251(heading).c_str(), table.size(), after_count);
  for (const Record& record : table) print_line(out, record);
}

}  // namespace

void dump_table(FileHolder& out, const DynArray<CharSet>& table) {
  dump_records(out, u"\n Charset'ы.\n  Количество: ", "\n", table);
}

void dump_table(FileHolder& out, const DynArray<Symb>& table) {
  dump_records(out, u"\n Символы Symb.\n  Количество: ", "\n", table);
}

void dump_table(FileHolder& out, const DynArray<CharSetSymb>& table) {
  dump_records(out, u"\nСимволы Charset'ов (CharSetSymb).\n  Количество: ", "\n", table);
}

void dump_table(FileHolder& out, const DynArray<Raf>& table) {
  dump_records(out, u"\nRaf'ы.\n  Количество: ", "\n", table);
}

void dump_table(FileHolder& out, const DynArray<ComplexVariant>& table) {
  dump_records(out, u"\nСоставные варианты (ComplexVari).\n  Количество: ", "\n", table);
}

}  // namespace inkrec
