#include "opc/default_names.h"

#include "base/log.h"
#include "base/text.h"
#include "opc/opc_items.h"

namespace {

constexpr char kGroupNameFormat[] = "Group%.2d";
constexpr char kGroupPrefix[] = "Group";
constexpr size_t kDefaultGroupNameLength = 7;
constexpr char kAcquiredShortIdFormat[] = "G%02d_A%03d";
constexpr char kShortIdPrefixFormat[] = "G%02d_";
constexpr size_t kDefaultShortIdLength = 8;
constexpr size_t kShortIdPrefixLength = 4;

constexpr char kCheckingLog[] = "Checking Consistency of Default Short Tag Ids ...";
constexpr char kGroupSummary[] =
    "Consistency Check of Default Group Names Done - %d Default Group Name%sChanged ...";
constexpr char kIdentifierSummary[] =
    "Consistency Check of Default Short Identifiers Done - %d Default Identifier%sChanged ...";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

const char* PluralGap(int count) {
  return count >= 2 ? "s " : " ";
}

// Gives item the prefix of its group when its default short id carries another one.
template <class Item>
int RenumberShortId(COPCGroup& group, Item& item, const std::string& prefix) {
  const std::string oldId = Trim(item.ShortId(), " ");
  // An empty id counts as default but has no number to renumber: replacing "" in the
  // expressions would insert the prefix everywhere.
  if (oldId.empty() || !IsDefaultShortId(oldId) ||
      oldId.compare(0, kShortIdPrefixLength, prefix) == 0)
    return 0;
  const std::string newId = prefix + oldId.substr(kShortIdPrefixLength);
  int count = 0;
  for (auto& calcItem : group.CalcItems())
    count += ReplaceNameInExpression(*calcItem, oldId, newId);
  item.SetShortId(newId);
  return count + 1;
}

}  // namespace

std::string DefaultGroupName(int number) {
  return Format(kGroupNameFormat, number);
}

std::string FirstFreeDefaultGroupName(const COPCServer& server) {
  for (int k = 1;; ++k) {
    const std::string name = DefaultGroupName(server.GroupCount() + k);
    if (server.FindGroupByName(name) == nullptr)
      return name;
  }
}

bool IsDefaultGroupName(const std::string& name) {
  return name.size() == kDefaultGroupNameLength && name.compare(0, 5, kGroupPrefix) == 0 &&
         IsDigit(name[5]) && IsDigit(name[6]);
}

std::string DefaultAcquiredShortId(int groupNumber, int itemNumber) {
  return Format(kAcquiredShortIdFormat, groupNumber, itemNumber);
}

bool IsDefaultShortId(const std::string& shortId) {
  const std::string id = Trim(shortId, " ");
  if (id.empty())
    return true;
  return id.size() == kDefaultShortIdLength && id[0] == 'G' && id[3] == '_' &&
         (id[4] == 'A' || id[4] == 'C');
}

DefaultNamesCheck CheckDefaultNames(COPCServer& server) {
  AppContext& context = server.Context();
  DefaultNamesCheck check;
  context.log.Log(kCheckingLog, kLogOpcServer);

  for (int i = 0; i < server.GroupCount(); ++i) {
    COPCGroup& group = *server.Group(i);
    const std::string expected = DefaultGroupName(i + 1);
    if (IsDefaultGroupName(group.Name()) && group.Name() != expected) {
      group.SetName(expected);
      ++check.m_nGroupsRenamed;
    }
  }
  check.m_sGroupSummary =
      Format(kGroupSummary, check.m_nGroupsRenamed, PluralGap(check.m_nGroupsRenamed));
  context.log.Log(check.m_sGroupSummary, kLogOpcServer);
  check.m_sStampedGroupSummary = FormatLogLine(context.clock.LocalNow(), check.m_sGroupSummary);

  for (int i = 0; i < server.GroupCount(); ++i) {
    COPCGroup& group = *server.Group(i);
    const std::string prefix = Format(kShortIdPrefixFormat, i + 1);
    for (auto& item : group.AcquiredItems())
      check.m_nIdentifiersRenamed += RenumberShortId(group, *item, prefix);
    for (auto& item : group.CalcItems())
      check.m_nIdentifiersRenamed += RenumberShortId(group, *item, prefix);
  }
  check.m_sIdentifierSummary = Format(kIdentifierSummary, check.m_nIdentifiersRenamed,
                                      PluralGap(check.m_nIdentifiersRenamed));
  context.log.Log(check.m_sIdentifierSummary, kLogOpcServer);
  check.m_sStampedIdentifierSummary =
      FormatLogLine(context.clock.LocalNow(), check.m_sIdentifierSummary);
  if (check.m_nGroupsRenamed > 0 || check.m_nIdentifiersRenamed > 0)
    server.MarkConfigurationChanged();
  return check;
}
