#pragma once
// Default names of groups ("Group01") and short ids ("G01_A001"), and the check that
// renumbers them after a group removal so that they match the groups' positions.
// Thread rule: GUI thread.
#include <string>

#include "opc/opc_server.h"

// "Group%.2d"
std::string DefaultGroupName(int number);
// The first "Group%.2d" of (group count + k), k = 1, 2..., that no group has.
std::string FirstFreeDefaultGroupName(const COPCServer& server);
// Exactly 7 characters: "Group" and two digits.
bool IsDefaultGroupName(const std::string& name);
// "G%02d_A%03d" (group number, item number).
std::string DefaultAcquiredShortId(int groupNumber, int itemNumber);
// After trimming spaces: empty, or 8 characters with 'G' first, '_' fourth and 'A'
// (acquired) or 'C' (calculated) fifth.
bool IsDefaultShortId(const std::string& shortId);

struct DefaultNamesCheck {
  int m_nGroupsRenamed = 0;
  int m_nIdentifiersRenamed = 0;  // items renamed plus occurrences replaced in expressions
  // The two summary lines, and the same with their time stamp for the view's message list.
  std::string m_sGroupSummary;
  std::string m_sIdentifierSummary;
  std::string m_sStampedGroupSummary;
  std::string m_sStampedIdentifierSummary;
};

// Renames default group names and default short ids (also inside the group's
// expressions) to match each group's position; logs the two summary lines.
DefaultNamesCheck CheckDefaultNames(COPCServer& server);
