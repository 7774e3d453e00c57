#pragma once
// The OPC Data Access custom interfaces (1.0a and 2.0) with their interface ids. Same
// methods and meanings as the OPC Foundation's definitions; input arrays keep their
// count + pointer form, outputs are vectors and strings that free themselves. A method
// that answers per item fills one error code per input element and returns S_FALSE
// when any of them is a failure.
#include <string>
#include <vector>

#include "platform/com/connection_point.h"
#include "platform/com/enumerators.h"
#include "platform/com/ole_interfaces.h"
#include "platform/opc/opc_types.h"

inline constexpr IID IID_IOPCServer{
    0x39C13A4D, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCServerPublicGroups{
    0x39C13A4E, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCBrowseServerAddressSpace{
    0x39C13A4F, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCGroupStateMgt{
    0x39C13A50, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCPublicGroupStateMgt{
    0x39C13A51, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCSyncIO{
    0x39C13A52, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCAsyncIO{
    0x39C13A53, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCItemMgt{
    0x39C13A54, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IEnumOPCItemAttributes{
    0x39C13A55, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCDataCallback{
    0x39C13A70, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCAsyncIO2{
    0x39C13A71, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCItemProperties{
    0x39C13A72, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline constexpr IID IID_IOPCShutdown{
    0xF31DFDE1, 0x07B6, 0x11D2, {0xB2, 0xD8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
inline constexpr IID IID_IOPCCommon{
    0xF31DFDE2, 0x07B6, 0x11D2, {0xB2, 0xD8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};

// ---- Server object ----

class IOPCServer : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCServer;
  // Creates a private group. Empty name: the server picks a unique one. The revised
  // rate is the rate the server will use; OPC_S_UNSUPPORTEDRATE when it differs from
  // the requested one. OPC_E_DUPLICATENAME for a name in use. pTimeBias and
  // pPercentDeadband may be null (server defaults).
  virtual HRESULT AddGroup(const std::string& szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                           OPCHANDLE hClientGroup, const LONG* pTimeBias,
                           const FLOAT* pPercentDeadband, DWORD dwLCID, OPCHANDLE* phServerGroup,
                           DWORD* pRevisedUpdateRate, REFIID riid, IUnknown** ppUnk) = 0;
  virtual HRESULT GetErrorString(HRESULT dwError, LCID dwLocale, std::string* pString) = 0;
  virtual HRESULT GetGroupByName(const std::string& szName, REFIID riid, IUnknown** ppUnk) = 0;
  virtual HRESULT GetStatus(OPCSERVERSTATUS* pServerStatus) = 0;
  // OPC_S_INUSE when the client still holds the group and bForce is FALSE (the group
  // goes when released); E_INVALIDARG for an unknown handle. With bForce the group
  // goes at once and later calls on it fail with E_FAIL.
  virtual HRESULT RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) = 0;
  // Enumerates group names (IID_IEnumString) of the scope.
  virtual HRESULT CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid, IUnknown** ppUnk) = 0;
};

class IOPCCommon : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCCommon;
  virtual HRESULT SetLocaleID(LCID dwLcid) = 0;
  virtual HRESULT GetLocaleID(LCID* pdwLcid) = 0;
  virtual HRESULT QueryAvailableLocaleIDs(std::vector<LCID>* pdwLcid) = 0;
  virtual HRESULT GetErrorString(HRESULT dwError, std::string* pString) = 0;
  virtual HRESULT SetClientName(const std::string& szName) = 0;
};

class IOPCServerPublicGroups : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCServerPublicGroups;
  virtual HRESULT GetPublicGroupByName(const std::string& szName, REFIID riid,
                                       IUnknown** ppUnk) = 0;
  virtual HRESULT RemovePublicGroup(OPCHANDLE hServerGroup, BOOL bForce) = 0;
};

class IOPCBrowseServerAddressSpace : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCBrowseServerAddressSpace;
  virtual HRESULT QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) = 0;
  // UP from the root and DOWN into an unknown or leaf name fail (E_FAIL / E_INVALIDARG);
  // TO "" goes to the root, TO a branch's fully qualified id goes there.
  virtual HRESULT ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                       const std::string& szString) = 0;
  // Names at the position (OPC_BRANCH / OPC_LEAF) or fully qualified ids of every leaf
  // at and below it (OPC_FLAT) matching the filter pattern (* ? # [list] [!list]), the
  // data type the server can deliver (VT_EMPTY: any) and the access rights mask (0:
  // any). S_FALSE with an empty enumerator when nothing matches; OPC_E_INVALIDFILTER
  // for a pattern that cannot be parsed.
  virtual HRESULT BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType,
                                   const std::string& szFilterCriteria, VARTYPE vtDataTypeFilter,
                                   DWORD dwAccessRightsFilter, IEnumString** ppIEnumString) = 0;
  // Fully qualified id of a name at the position (or of an already qualified id).
  virtual HRESULT GetItemID(const std::string& szItemDataID, std::string* pszItemID) = 0;
  virtual HRESULT BrowseAccessPaths(const std::string& szItemID, IEnumString** ppIEnumString) = 0;
};

class IOPCItemProperties : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCItemProperties;
  virtual HRESULT QueryAvailableProperties(const std::string& szItemID,
                                           std::vector<DWORD>* pPropertyIDs,
                                           std::vector<std::string>* pDescriptions,
                                           std::vector<VARTYPE>* pvtDataTypes) = 0;
  virtual HRESULT GetItemProperties(const std::string& szItemID, DWORD dwCount,
                                    const DWORD* pdwPropertyIDs, std::vector<VARIANT>* pData,
                                    std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT LookupItemIDs(const std::string& szItemID, DWORD dwCount,
                                const DWORD* pdwPropertyIDs,
                                std::vector<std::string>* pszNewItemIDs,
                                std::vector<HRESULT>* pErrors) = 0;
};

// The client's shutdown callback, advised on the server's connection point.
class IOPCShutdown : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCShutdown;
  virtual HRESULT ShutdownRequest(const std::string& szReason) = 0;
};

// ---- Group object ----

class IOPCGroupStateMgt : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCGroupStateMgt;
  // Every output pointer is required.
  virtual HRESULT GetState(DWORD* pUpdateRate, BOOL* pActive, std::string* pName, LONG* pTimeBias,
                           FLOAT* pPercentDeadband, LCID* pLCID, OPCHANDLE* phClientGroup,
                           OPCHANDLE* phServerGroup) = 0;
  // Null inputs leave their setting unchanged. OPC_S_UNSUPPORTEDRATE when revised.
  virtual HRESULT SetState(const DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                           const BOOL* pActive, const LONG* pTimeBias,
                           const FLOAT* pPercentDeadband, const LCID* pLCID,
                           const OPCHANDLE* phClientGroup) = 0;
  virtual HRESULT SetName(const std::string& szName) = 0;
  virtual HRESULT CloneGroup(const std::string& szName, REFIID riid, IUnknown** ppUnk) = 0;
};

class IOPCPublicGroupStateMgt : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCPublicGroupStateMgt;
  virtual HRESULT GetState(BOOL* pPublic) = 0;
  virtual HRESULT MoveToPublic() = 0;
};

class IOPCItemMgt : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCItemMgt;
  // One result and one code per definition: OPC_E_UNKNOWNITEMID, OPC_E_INVALIDITEMID,
  // OPC_E_BADTYPE, OPC_E_UNKNOWNPATH, E_FAIL... S_FALSE when any item failed.
  virtual HRESULT AddItems(DWORD dwCount, const OPCITEMDEF* pItemArray,
                           std::vector<OPCITEMRESULT>* pAddResults,
                           std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT ValidateItems(DWORD dwCount, const OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                                std::vector<OPCITEMRESULT>* pValidationResults,
                                std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT RemoveItems(DWORD dwCount, const OPCHANDLE* phServer,
                              std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT SetActiveState(DWORD dwCount, const OPCHANDLE* phServer, BOOL bActive,
                                 std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT SetClientHandles(DWORD dwCount, const OPCHANDLE* phServer,
                                   const OPCHANDLE* phClient, std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT SetDatatypes(DWORD dwCount, const OPCHANDLE* phServer,
                               const VARTYPE* pRequestedDatatypes,
                               std::vector<HRESULT>* pErrors) = 0;
  // IEnumOPCItemAttributes is not offered by this layer: E_NOTIMPL.
  virtual HRESULT CreateEnumerator(REFIID riid, IUnknown** ppUnk) = 0;
};

class IOPCSyncIO : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCSyncIO;
  // One OPCITEMSTATE and one code per handle, in request order. A cache read of an
  // inactive item or group gives quality OPC_QUALITY_OUT_OF_SERVICE.
  virtual HRESULT Read(OPCDATASOURCE dwSource, DWORD dwCount, const OPCHANDLE* phServer,
                       std::vector<OPCITEMSTATE>* pItemValues, std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                        std::vector<HRESULT>* pErrors) = 0;
};

class IOPCAsyncIO : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCAsyncIO;
  // dwConnection is the IDataObject advise connection the results go to.
  virtual HRESULT Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount,
                       const OPCHANDLE* phServer, DWORD* pTransactionID,
                       std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT Write(DWORD dwConnection, DWORD dwCount, const OPCHANDLE* phServer,
                        const VARIANT* pItemValues, DWORD* pTransactionID,
                        std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT Refresh(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD* pTransactionID) = 0;
  virtual HRESULT Cancel(DWORD dwTransactionID) = 0;
};

class IOPCAsyncIO2 : public IUnknown {
 public:
  static constexpr IID kIID = IID_IOPCAsyncIO2;
  // Results go to the IOPCDataCallback advised on the group's connection point;
  // CONNECT_E_NOCONNECTION when there is none.
  virtual HRESULT Read(DWORD dwCount, const OPCHANDLE* phServer, DWORD dwTransactionID,
                       DWORD* pdwCancelID, std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                        DWORD dwTransactionID, DWORD* pdwCancelID,
                        std::vector<HRESULT>* pErrors) = 0;
  virtual HRESULT Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID, DWORD* pdwCancelID) = 0;
  virtual HRESULT Cancel2(DWORD dwCancelID) = 0;
  virtual HRESULT SetEnable(BOOL bEnable) = 0;
  virtual HRESULT GetEnable(BOOL* pbEnable) = 0;
};
