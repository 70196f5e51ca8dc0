// The copybook's charset combo box (1113): every charset of the engine,
// the one of the interface language first, then 2, 37, 38, 3, 1 and 41,
// then the rest by name in code-unit order; each item's data is its
// charset id. At most kMaxCharsets are listed. Choosing a charset calls
// the owner's on_charset_selected. UI thread.
#pragma once

#include <cstdint>
#include <optional>

#include "app/common/charset_names.h"
#include "app/copybook/list_operations.h"
#include "app/shell/engine.h"
#include "app/shell/exception_info.h"

namespace ductra {

class Charsets_Handler {
 public:
  static constexpr std::size_t kMaxCharsets = 64;

  Charsets_Handler(const CopybookList& combo, Engine& engine);

  // Lists the engine's charsets and selects `to_select` (the first item when
  // it is not listed), then tells the owner. On an engine failure the box
  // may stay empty and the owner is not told.
  std::optional<ExceptionInfo> fill_list(std::uint32_t to_select);
  // True when charset a goes before charset b.
  bool compare(std::uint32_t a, std::uint32_t b) const;
  std::uint32_t selected_charset() const;

 private:
  CopybookList combo_;
  Engine& engine_;
  CharsetLookup names_;
};

}  // namespace ductra
