// Writing the composition-table constants as C++ sources: one header each
// for the shared code lists, the first unit's patterns, the third and the
// fourth unit, and the fill steps of the table object. The text depends
// only on the data, so a regeneration from unchanged data gives the same
// bytes.
#pragma once

#include <map>
#include <string>

#include "tools/compgen/table_data.h"

namespace compgen {

// File name (without folder) to content.
std::map<std::string, std::string> write_sources(const TableData& data);

}  // namespace compgen
