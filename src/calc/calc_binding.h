#pragma once
// Binding before an acquisition starts: every symbol of every calculated item is tied to an
// item of its group (a reference code, see calc_reference.h), so that each cycle can look
// the values up without searching.
// Thread rule: the GUI thread, one evaluation at a time (the expression status is shared).
#include "base/clock.h"
#include "base/user_prompt.h"

class COPCServer;
class COPCGroup;

inline constexpr char kInvalidSymbolMessage[] =
    "Calculated OPC Item Index %d: Invalid Symbol (%s) Found in Expression '%s' !!! End of "
    "Job ...";

// Binds the calculated items of one group, in list order: evaluates each expression, copies
// its symbol table into the item and replaces the item's binding. A symbol that is neither
// an acquired nor a calculated item of the group stops the binding with the message box
// above; false then.
bool BindGroupCalcItems(COPCGroup& group, const IClock& clock, IUserPrompt& prompt);

// Binds every group of the server, in group order; false (the acquisition must not start)
// at the first symbol that cannot be bound. The clock is the server's. The acquisition's
// hook wraps it: [&prompt](COPCServer& s) { return BindCalcItems(s, prompt); }.
bool BindCalcItems(COPCServer& server, IUserPrompt& prompt);
