// The symbol rule book: character-specific rules that judge one candidate
// writing variant against one stroke group after the geometry pre-check,
// either dropping the variant or adjusting its penalty.
//
// The variant's character code selects its rules; most rules end in a
// common tail keyed by the variant's property bits and ids. A rule that
// rejects drops the variant; otherwise the penalty P (0 at the start,
// lower is worse) carries what the rules charged. Rules for codes the
// book does not list go straight to the tail.
#pragma once

#include <cstdint>

#include "engine/rules/symbol_rule_args.h"

namespace inkrec {

// kOk with *drop set when the variant cannot be the group (P then does not
// matter); a broken stroke number or pair-table index (kBadArgument) or a
// failing pair-table query's status, with *drop false, ends the group's
// evaluation. A null figure met while walking the group keeps the variant
// without the tail.
int apply_symbol_rules(const SymbolRuleArgs& args, std::int32_t& penalty, bool* drop);

}  // namespace inkrec
