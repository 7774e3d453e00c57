#pragma once
// The items of a group: COPCItem (acquired: its value comes from the server) and
// COPCCalcItem (calculated: its value is computed from an expression over the other
// items of the group), with their common part COPCBaseItem. Each holds its definition
// (opc_item_definition.h) as one member beside its live state.
// Their fields are private: others read them through accessors and change them through
// operations that set together what belongs together (a read result, a computed value).
// Thread rule: GUI thread, like the server that owns them.
#include <cstdint>
#include <map>
#include <string>

#include "base/filetime.h"
#include "opc/opc_item_definition.h"
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

  // What configures the item (a calculated item: its whole definition, expression included).
  virtual const OPCItemDefinition& Definition() const = 0;
  const std::string& QualifiedId() const { return Definition().m_sQualifiedId; }
  const std::string& ShortId() const { return Definition().m_sShortId; }
  const std::string& Description() const { return Definition().m_sDescription; }
  VARTYPE DataType() const { return Definition().m_vtDataType; }
  int32_t Valid() const { return m_nValid; }
  const FILETIME& TimeStamp() const { return m_ftTimeStamp; }
  uint16_t Quality() const { return m_wQuality; }
  const VARIANT& Value() const { return m_value; }
  COPCGroup* Group() const { return m_pGroup; }
  // The type of the last value, or the data type while no value came.
  VARTYPE ValueType() const { return m_value.vt != VT_EMPTY ? m_value.vt : DataType(); }

  // What the user or a project defines: identifiers, description, data type.
  void Define(const std::string& qualifiedId, const std::string& shortId,
              const std::string& description, VARTYPE dataType);
  // The caller checked the new short id (unique, legal) and renames its uses.
  void SetShortId(const std::string& shortId) { DefinitionField().m_sShortId = shortId; }
  void SetDescription(const std::string& description) {
    DefinitionField().m_sDescription = description;
  }
  void SetDataType(VARTYPE dataType) { DefinitionField().m_vtDataType = dataType; }

 protected:
  // A new value with its quality and time stamp (validity is the caller's rule).
  void StoreValue(const VARIANT& value, uint16_t quality, const FILETIME& timeStamp);
  void SetValidity(int32_t valid, uint16_t quality) {
    m_nValid = valid;
    m_wQuality = quality;
  }

 private:
  friend class COPCGroup;  // copies items (CopySettings) and adopts them
  friend struct COPCModelAccess;

  // The definition member of the derived item, for the setters above.
  virtual OPCItemDefinition& DefinitionField() = 0;

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

  const OPCItemDefinition& Definition() const override { return m_definition; }
  DWORD AccessRights() const { return m_dwAccessRights; }
  OPCHANDLE ServerItem() const { return m_hServerItem; }
  HRESULT ReadResult() const { return m_hrRead; }

  // The server accepted the item under qualifiedId (AddItems' answer).
  void Accept(const std::string& qualifiedId, OPCHANDLE serverItem, VARTYPE dataType,
              DWORD accessRights);
  // The server refused the item, or it left the server: no handle, not valid.
  void Refuse();
  // One item's part of a read: value, quality, time stamp and its own code, together.
  void SetReadResult(const VARIANT& value, uint16_t quality, const FILETIME& timeStamp,
                     HRESULT result);

 private:
  friend class COPCGroup;
  friend struct COPCModelAccess;

  OPCItemDefinition& DefinitionField() override { return m_definition; }

  OPCItemDefinition m_definition;
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
  using SymbolTable = std::map<std::string, double>;
  using SymbolBinding = std::map<std::string, int>;

  COPCCalcItem(COPCGroup* group, const FILETIME& timeStamp) : COPCBaseItem(group, timeStamp) {}

  const OPCCalcItemDefinition& Definition() const override { return m_definition; }
  const std::string& Expression() const { return m_definition.m_sExpression; }
  const SymbolTable& Symbols() const { return m_symbols; }
  const SymbolBinding& Binding() const { return m_binding; }
  // The last computed value.
  double CalcValue() const { return m_dValue; }

  // A new expression: the evaluation context built from the old one no longer applies and
  // is dropped; it is built again before the next acquisition (Bind).
  void SetExpression(const std::string& expression);
  // The evaluation context built from the expression.
  void Bind(const SymbolTable& symbols, const SymbolBinding& binding) {
    m_symbols = symbols;
    m_binding = binding;
  }
  // A computed value: from now on the item is valid with the given quality.
  void SetComputedValue(double value, uint16_t quality) {
    m_dValue = value;
    SetValidity(1, quality);
  }

 private:
  friend class COPCGroup;
  friend struct COPCModelAccess;

  OPCItemDefinition& DefinitionField() override { return m_definition; }

  // Identifiers, description, result type and the expression over short ids of the group.
  OPCCalcItemDefinition m_definition;
  // Evaluation context built from the expression by the calculated-item rules: the
  // symbols with their values, and each symbol's reference (an acquired item's index
  // in the group, or 1000 + a calculated item's index).
  SymbolTable m_symbols;
  SymbolBinding m_binding;
  // The last computed value.
  double m_dValue = 0.0;
};
