#include "opc/short_id_check.h"

#include "base/log.h"
#include "base/report.h"
#include "base/rtf.h"
#include "base/text.h"

namespace {

constexpr char kIllegalHeading[] =
    "{\\f1\\cb5\\cf5\\b Illegal Character Used in OPC Item Short Identifier} \\fs18";
constexpr char kValidLetters[] = "\\par \\par Valid Characters: {\\b ABCDEFGHIJKLMNOPQRSTUVWXYZ}";
constexpr char kValidDigits[] = "\\par Valid Characters: {\\b 0123456789}";
constexpr char kValidSpecial[] = "\\par Valid Special Character: {\\b _ (Underscore)}";
constexpr char kInvalidCharacters[] = "\\par \\par Invalid Characters: {\\b\\cf5 %s}";
constexpr char kChangeClosing[] =
    "\\par \\par {\\f1 \\b Please Change the Item Short Identifier ...} \\par}";

constexpr char kDuplicateHeading[] =
    "{\\f1\\cb5\\cf5\\b Error occured while Editing OPC Item Id} \\par\\par \\fs18 The Same Item "
    "Short Identifier already exists !!!";
constexpr char kGroupIndexLine[] = "\\par \\par Group Index: {\\b %d}";
constexpr char kGroupNameLine[] = "\\par Group Name: {\\b %s}";
constexpr char kItemIndexLine[] = "\\par Item Index: {\\b %d}";
constexpr char kItemShortIdLine[] = "\\par Item Short Id: {\\b %s}";

}  // namespace

std::vector<ShortIdOwner> CollectAcquiredShortIds(const COPCServer& server, int skipGroupIndex,
                                                  int skipItemIndex) {
  std::vector<ShortIdOwner> owners;
  for (int g = 0; g < server.GroupCount(); ++g) {
    const COPCGroup& group = *server.Group(g);
    for (int i = 0; i < group.AcquiredCount(); ++i) {
      if (g == skipGroupIndex && i == skipItemIndex)
        continue;
      owners.push_back(
          {g, group.Name(), i, group.AcquiredItems()[static_cast<size_t>(i)]->ShortId()});
    }
  }
  return owners;
}

ShortIdCheck CheckShortId(const std::string& text, const std::vector<ShortIdOwner>& others,
                          IUserPrompt& prompt) {
  ShortIdCheck check;
  check.m_sShortId = Trim(text);
  if (check.m_sShortId.find_first_of(kShortIdRefusedCharacters) != std::string::npos) {
    check.m_eVerdict = ShortIdVerdict::kIllegalCharacter;
    check.m_bOkEnabled = false;
    CReportBuilder report;
    report.Raw(kIllegalHeading)
        .Raw(kValidLetters)
        .Raw(kValidDigits)
        .Raw(kValidSpecial)
        .Raw(Format(kInvalidCharacters, RtfEscape(kShortIdRefusedCharacters).c_str()))
        .Raw(kChangeClosing);
    prompt.ShowReport(report.Request(kShortIdErrorTitle));
    return check;
  }
  if (check.m_sShortId.empty()) {
    check.m_eVerdict = ShortIdVerdict::kEmpty;
    return check;
  }
  for (const ShortIdOwner& owner : others) {
    if (owner.m_sShortId != check.m_sShortId)
      continue;
    check.m_eVerdict = ShortIdVerdict::kDuplicate;
    check.m_bOkEnabled = false;
    CReportBuilder report;
    report.Raw(kDuplicateHeading)
        .Raw(Format(kGroupIndexLine, owner.m_nGroupIndex))
        .Raw(Format(kGroupNameLine, RtfEscape(owner.m_sGroupName).c_str()))
        .Raw(Format(kItemIndexLine, owner.m_nItemIndex))
        .Raw(Format(kItemShortIdLine, RtfEscape(owner.m_sShortId).c_str()));
    prompt.ShowReport(report.Request(kShortIdErrorTitle));
    return check;
  }
  return check;
}
