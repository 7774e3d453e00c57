#pragma once
// The OPC server enumerator (OPCEnum): lists the OPC servers registered on a machine by
// category and gives their program ids and descriptions, locally or on a remote host.
#include <string>

#include "platform/com/enumerators.h"
#include "platform/opc/opc_types.h"

inline constexpr CLSID CLSID_OpcServerList{
    0x13486D51, 0x4821, 0x11D2, {0xA4, 0x94, 0x3C, 0xB3, 0x06, 0xC1, 0x00, 0x00}};
inline constexpr IID IID_IOPCServerList{
    0x13486D50, 0x4821, 0x11D2, {0xA4, 0x94, 0x3C, 0xB3, 0x06, 0xC1, 0x00, 0x00}};

class IOPCServerList : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCServerList;
  // Same rules as ICatInformation::EnumClassesOfCategories, on the enumerator's host.
  virtual HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl,
                                          ULONG cRequired, const CATID* rgcatidReq,
                                          IEnumGUID** ppenumClsid) = 0;
  // Program id and description (user type) of a class; REGDB_E_CLASSNOTREG if unknown.
  virtual HRESULT GetClassDetails(REFCLSID clsid, std::string* pszProgID,
                                  std::string* pszUserType) = 0;
  virtual HRESULT CLSIDFromProgID(const std::string& szProgId, CLSID* clsid) = 0;
};
