#pragma once
// The rules of the "Edit Short Tag " dialog: a short id may hold letters, digits and the
// underscore only, and must differ from the short id of every other acquired item of
// every group. Refusals are shown as reports titled "Item Short Identifier Error".
// Thread rule: GUI thread.
#include <string>
#include <vector>

#include "opc/opc_server.h"

inline constexpr char kShortIdErrorTitle[] = "Item Short Identifier Error";
// Every character a short id may not hold, in the order the report lists them.
inline constexpr char kShortIdRefusedCharacters[] = "+-*/\\:;,\"=.?&|@#'()!{}[]%";

// The short id of one acquired item, with where it stands.
struct ShortIdOwner {
  int m_nGroupIndex = 0;
  std::string m_sGroupName;
  int m_nItemIndex = 0;
  std::string m_sShortId;
};

// Every acquired item's short id over all groups, leaving out the item at
// (skipGroupIndex, skipItemIndex): the one being edited.
std::vector<ShortIdOwner> CollectAcquiredShortIds(const COPCServer& server, int skipGroupIndex,
                                                  int skipItemIndex);

enum class ShortIdVerdict { kAccepted, kEmpty, kIllegalCharacter, kDuplicate };

struct ShortIdCheck {
  ShortIdVerdict m_eVerdict = ShortIdVerdict::kAccepted;
  std::string m_sShortId;  // the text, trimmed: what OK returns
  bool m_bOkEnabled = true;
};

// Checks the edited text after a change; a refusal shows its report through prompt.
ShortIdCheck CheckShortId(const std::string& text, const std::vector<ShortIdOwner>& others,
                          IUserPrompt& prompt);
