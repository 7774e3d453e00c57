#pragma once
// Evaluation of a group's calculated items at each acquisition cycle, after the group's
// acquired items were read. Items are computed in list order, each from a fresh
// expression parser, so an item sees the values computed earlier in the same cycle and
// the previous cycle's value of itself and of the items after it.
// Thread rule: the GUI thread, one evaluation at a time (the expression status is shared).
#include <cstdint>

#include "base/clock.h"
#include "platform/com/variant.h"

class COPCGroup;

// The quality a computed value carries: Good.
inline constexpr uint16_t kCalcValueQuality = 0xC0;

// An acquired value as an expression operand: signed and unsigned integers of 1, 2, 4 and
// 8 bytes and 4- and 8-byte reals by value, a boolean as 1.0 (true) or 0.0; every other
// type (empty, text, date, currency, arrays...) as 0.0.
double VariantToDouble(const VARIANT& value);

// Evaluates every calculated item of the group with its binding (BindGroupCalcItems must
// have run). Each result goes to the item's value whatever the evaluation status: an
// expression error never stops the acquisition. The clock seeds the random functions.
void EvaluateCalcItemsWithClock(COPCGroup& group, const IClock& clock);
// The same with the clock of the group's server (a group without a server evaluates with a
// fixed seed). One name, one signature: the acquisition's hook takes it as it is.
void EvaluateCalcItems(COPCGroup& group);
