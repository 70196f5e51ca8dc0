// The readable listing of the data store's fixed-size tables, as the text
// dump of the database writes it: a heading with the record count, then one
// line per record. Text is in code page 1251; numbers are decimal, flags 1
// or 0.
#pragma once

#include "engine/database/data_records.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/file_holder.h"

namespace inkrec {

void dump_table(FileHolder& out, const DynArray<CharSet>& table);
void dump_table(FileHolder& out, const DynArray<Symb>& table);
void dump_table(FileHolder& out, const DynArray<CharSetSymb>& table);
void dump_table(FileHolder& out, const DynArray<Raf>& table);
void dump_table(FileHolder& out, const DynArray<ComplexVariant>& table);

}  // namespace inkrec
