#pragma once
// OPCItemDefinition and OPCCalcItemDefinition: what configures an item, as plain copyable
// values: its identifiers, description and data type, and for a calculated item its
// expression; never its value, quality, server handle or read state. Each item holds its
// definition as one member and hands it out const.
// Thread rule: a value; whoever holds a copy uses it on its own thread.
#include <string>

#include "platform/com/com_types.h"
#include "platform/com/variant.h"

struct OPCItemDefinition {
  // Fully qualified ItemID (a calculated item: its name).
  std::string m_sQualifiedId;
  // Short identifier used in lists and expressions.
  std::string m_sShortId;
  std::string m_sDescription;
  // Canonical data type from AddItems (a calculated item: its result type).
  VARTYPE m_vtDataType = VT_EMPTY;

  bool operator==(const OPCItemDefinition&) const = default;
};

struct OPCCalcItemDefinition : OPCItemDefinition {
  // The expression over short ids of the same group.
  std::string m_sExpression;

  bool operator==(const OPCCalcItemDefinition&) const = default;
};
