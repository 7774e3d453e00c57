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

void COPCBaseItem::Define(const std::string& qualifiedId, const std::string& shortId,
                          const std::string& description, VARTYPE dataType) {
  OPCItemDefinition& definition = DefinitionField();
  definition.m_sQualifiedId = qualifiedId;
  definition.m_sShortId = shortId;
  definition.m_sDescription = description;
  definition.m_vtDataType = dataType;
}

void COPCBaseItem::StoreValue(const VARIANT& value, uint16_t quality, const FILETIME& timeStamp) {
  VariantCopy(&m_value, &value);
  m_wQuality = quality;
  m_ftTimeStamp = timeStamp;
}

COPCItem::COPCItem(COPCGroup* group, const FILETIME& timeStamp) : COPCBaseItem(group, timeStamp) {
  SetValidity(0, kNewItemQuality);
}

void COPCItem::Accept(const std::string& qualifiedId, OPCHANDLE serverItem, VARTYPE dataType,
                      DWORD accessRights) {
  Define(qualifiedId, ShortId(), Description(), dataType);
  SetValidity(1, Quality());
  m_hServerItem = serverItem;
  m_dwAccessRights = accessRights;
}

void COPCItem::Refuse() {
  SetValidity(0, Quality());
  m_hServerItem = 0;
}

void COPCItem::SetReadResult(const VARIANT& value, uint16_t quality, const FILETIME& timeStamp,
                             HRESULT result) {
  StoreValue(value, quality, timeStamp);
  m_hrRead = result;
}

void COPCCalcItem::SetExpression(const std::string& expression) {
  if (expression == m_definition.m_sExpression)
    return;
  m_definition.m_sExpression = expression;
  m_symbols.clear();
  m_binding.clear();
}
