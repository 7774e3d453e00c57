#pragma once
// CSimServer: the server object of a simulation server. Which interfaces it answers
// depends on its kind: the full server all seven, the DA 1.0 server only IOPCServer and
// (flat) browsing, the server without browsing all but IOPCBrowseServerAddressSpace.
#include <memory>

#include "platform/opc/opc_interfaces.h"
#include "platform/sim/sim_server_core.h"

class CSimServer
    : public CComObjectRoot<IOPCServer, IOPCCommon, IConnectionPointContainer, IOPCItemProperties,
                            IOPCBrowseServerAddressSpace, IOPCServerPublicGroups, IPersistFile> {
 public:
  CSimServer(const CSimClass& simClass, const std::string& hostName);
  ~CSimServer() override;

  // IOPCServer
  HRESULT AddGroup(const std::string& szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                   OPCHANDLE hClientGroup, const LONG* pTimeBias, const FLOAT* pPercentDeadband,
                   DWORD dwLCID, OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate, REFIID riid,
                   IUnknown** ppUnk) override;
  HRESULT GetErrorString(HRESULT dwError, LCID dwLocale, std::string* pString) override;
  HRESULT GetGroupByName(const std::string& szName, REFIID riid, IUnknown** ppUnk) override;
  HRESULT GetStatus(OPCSERVERSTATUS* pServerStatus) override;
  HRESULT RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) override;
  HRESULT CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid, IUnknown** ppUnk) override;

  // IOPCCommon
  HRESULT SetLocaleID(LCID dwLcid) override;
  HRESULT GetLocaleID(LCID* pdwLcid) override;
  HRESULT QueryAvailableLocaleIDs(std::vector<LCID>* pdwLcid) override;
  HRESULT GetErrorString(HRESULT dwError, std::string* pString) override;
  HRESULT SetClientName(const std::string& szName) override;

  // IConnectionPointContainer: the IOPCShutdown connection point.
  HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  // IOPCItemProperties
  HRESULT QueryAvailableProperties(const std::string& szItemID, std::vector<DWORD>* pPropertyIDs,
                                   std::vector<std::string>* pDescriptions,
                                   std::vector<VARTYPE>* pvtDataTypes) override;
  HRESULT GetItemProperties(const std::string& szItemID, DWORD dwCount, const DWORD* pdwPropertyIDs,
                            std::vector<VARIANT>* pData, std::vector<HRESULT>* pErrors) override;
  HRESULT LookupItemIDs(const std::string& szItemID, DWORD dwCount, const DWORD* pdwPropertyIDs,
                        std::vector<std::string>* pszNewItemIDs,
                        std::vector<HRESULT>* pErrors) override;

  // IOPCBrowseServerAddressSpace
  HRESULT QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) override;
  HRESULT ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                               const std::string& szString) override;
  HRESULT BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType, const std::string& szFilterCriteria,
                           VARTYPE vtDataTypeFilter, DWORD dwAccessRightsFilter,
                           IEnumString** ppIEnumString) override;
  HRESULT GetItemID(const std::string& szItemDataID, std::string* pszItemID) override;
  HRESULT BrowseAccessPaths(const std::string& szItemID, IEnumString** ppIEnumString) override;

  // IOPCServerPublicGroups: there are no public groups.
  HRESULT GetPublicGroupByName(const std::string& szName, REFIID riid, IUnknown** ppUnk) override;
  HRESULT RemovePublicGroup(OPCHANDLE hServerGroup, BOOL bForce) override;

  // IPersistFile: the servers have no configuration file.
  HRESULT GetClassID(CLSID* pClassID) override;
  HRESULT IsDirty() override;
  HRESULT Load(const std::string& fileName, DWORD dwMode) override;
  HRESULT Save(const std::string& fileName, BOOL fRemember) override;
  HRESULT SaveCompleted(const std::string& fileName) override;
  HRESULT GetCurFile(std::string* pFileName) override;

 protected:
  void* FindInterface(REFIID riid) override;

 private:
  // The item whose properties are asked for: OPC_E_INVALIDITEMID or OPC_E_UNKNOWNITEMID.
  HRESULT FindPropertyItem(const std::string& szItemID, const CSimItem** item) const;

  std::shared_ptr<CSimServerCore> m_pCore;
};
