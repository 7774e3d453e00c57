#include "opc/opc_item.h"

#include "opc/opc_limits.h"
#include "opc/opc_texts.h"

std::string COPCBaseItem::QualityText() const {
  return ::QualityText(m_nValid, m_wQuality);
}

bool COPCBaseItem::IsGood() const {
  return IsGoodQuality(m_nValid, m_wQuality);
}

std::string COPCBaseItem::ValueText(int decimals) const {
  return ::ValueText(m_nValid, m_value, decimals);
}

COPCItem::COPCItem(COPCGroup* group, const FILETIME& timeStamp) : COPCBaseItem(group, timeStamp) {
  m_wQuality = kNewItemQuality;
}
