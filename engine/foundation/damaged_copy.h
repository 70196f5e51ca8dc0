// keep_damaged_copy: before the engine writes over a file that it could not
// read whole, it keeps the old bytes beside it, under a name that says why.
#pragma once

#include <string>

namespace inkrec {

// Copies the file at path to "<path>.damaged", or to "<path>.damaged-2",
// "-3", ... when that name is taken: an earlier copy is never written over.
// 0, also when there is no file to copy; 12001 when no whole copy could be
// made (nothing is left behind then).
int keep_damaged_copy(const std::string& path);

}  // namespace inkrec
