#pragma once
// The items of a group: COPCItem (acquired: its value comes from the server) and
// COPCCalcItem (calculated: its value is computed from an expression over the other
// items of the group), with their common part COPCBaseItem.
// Thread rule: GUI thread, like the server that owns them.
#include <cstdint>
#include <map>
#include <string>

#include "base/filetime.h"
#include "platform/com/com_types.h"
#include "platform/com/variant.h"

class COPCGroup;

class COPCBaseItem {
 public:
  // timeStamp: the current system time (UTC), the item's time stamp until a value comes.
  COPCBaseItem(COPCGroup* group, const FILETIME& timeStamp)
      : m_ftTimeStamp(timeStamp), m_pGroup(group) {}
  virtual ~COPCBaseItem() = default;
  COPCBaseItem(const COPCBaseItem&) = delete;
  COPCBaseItem& operator=(const COPCBaseItem&) = delete;

  std::string QualityText() const;
  bool IsGood() const;
  // decimals: the user's number of decimals (setting DecimalNbr).
  std::string ValueText(int decimals) const;

  // Fully qualified ItemID (a calculated item: its name).
  std::string m_sQualifiedId;
  // Short identifier used in lists and expressions.
  std::string m_sShortId;
  std::string m_sDescription;
  // Canonical data type from AddItems (a calculated item: its result type).
  VARTYPE m_vtDataType = VT_EMPTY;
  // 1 when the server accepted the item (or a calculated value exists).
  int32_t m_nValid = 0;
  // UTC time of the last value.
  FILETIME m_ftTimeStamp;
  uint16_t m_wQuality = 0;
  VARIANT m_value;
  // The owning group.
  COPCGroup* m_pGroup;
};

class COPCItem : public COPCBaseItem {
 public:
  COPCItem(COPCGroup* group, const FILETIME& timeStamp);

  // dwAccessRights from AddItems (1: readable).
  DWORD m_dwAccessRights = 1;
  // hServer from AddItems; 0 when the item was refused.
  OPCHANDLE m_hServerItem = 0;
  // The item's own code of the last IOPCSyncIO::Read (a read may succeed for the group
  // and fail for one item).
  HRESULT m_hrRead = S_OK;
};

class COPCCalcItem : public COPCBaseItem {
 public:
  COPCCalcItem(COPCGroup* group, const FILETIME& timeStamp) : COPCBaseItem(group, timeStamp) {}

  // The expression over short ids of the same group.
  std::string m_sExpression;
  // Evaluation context built from the expression by the calculated-item rules: the
  // symbols with their values, and each symbol's reference (an acquired item's index
  // in the group, or 1000 + a calculated item's index).
  std::map<std::string, double> m_symbols;
  std::map<std::string, int> m_binding;
  // The last computed value.
  double m_dValue = 0.0;
};
