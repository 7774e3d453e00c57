#pragma once
// CSimGroup: an OPC group of a simulation server (IOPCGroupStateMgt, IOPCItemMgt,
// IOPCSyncIO and the optional group interfaces). Cache reads answer the value of the
// last update tick of the group's rate; device reads evaluate the signal now and take
// longer. Asynchronous reads need a data callback, which this layer does not offer:
// they answer CONNECT_E_NOCONNECTION.
#include <memory>
#include <string>
#include <vector>

#include "platform/opc/opc_interfaces.h"
#include "platform/sim/sim_server_core.h"

struct CSimGroupItem {
  OPCHANDLE m_hServer = 0;
  OPCHANDLE m_hClient = 0;
  const CSimItem* m_pItem = nullptr;
  VARTYPE m_vtRequested = VT_EMPTY;
  bool m_bActive = true;
};

// Group settings handed over by AddGroup and CloneGroup.
struct CSimGroupState {
  std::string m_sName;
  bool m_bActive = true;
  DWORD m_nUpdateRate = 1000;
  OPCHANDLE m_hClientGroup = 0;
  LONG m_nTimeBias = 0;
  FLOAT m_fDeadband = 0.0f;
  LCID m_nLocale = LOCALE_EN_US;
};

class CSimGroup
    : public CComObjectRoot<IOPCGroupStateMgt, IOPCPublicGroupStateMgt, IOPCItemMgt, IOPCSyncIO,
                            IOPCAsyncIO, IOPCAsyncIO2, IDataObject, IConnectionPointContainer> {
 public:
  CSimGroup(std::shared_ptr<CSimServerCore> core, OPCHANDLE hServerGroup, CSimGroupState state);

  OPCHANDLE ServerHandle() const { return m_hServerGroup; }
  const std::string& Name() const { return m_state.m_sName; }
  // Set when the server removed the group while its client still held it.
  void MarkRemoved() { m_bRemoved = true; }

  // IOPCGroupStateMgt
  HRESULT GetState(DWORD* pUpdateRate, BOOL* pActive, std::string* pName, LONG* pTimeBias,
                   FLOAT* pPercentDeadband, LCID* pLCID, OPCHANDLE* phClientGroup,
                   OPCHANDLE* phServerGroup) override;
  HRESULT SetState(const DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                   const BOOL* pActive, const LONG* pTimeBias, const FLOAT* pPercentDeadband,
                   const LCID* pLCID, const OPCHANDLE* phClientGroup) override;
  HRESULT SetName(const std::string& szName) override;
  HRESULT CloneGroup(const std::string& szName, REFIID riid, IUnknown** ppUnk) override;

  // IOPCPublicGroupStateMgt: the simulation servers have no public groups.
  HRESULT GetState(BOOL* pPublic) override;
  HRESULT MoveToPublic() override;

  // IOPCItemMgt
  HRESULT AddItems(DWORD dwCount, const OPCITEMDEF* pItemArray,
                   std::vector<OPCITEMRESULT>* pAddResults, std::vector<HRESULT>* pErrors) override;
  HRESULT ValidateItems(DWORD dwCount, const OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                        std::vector<OPCITEMRESULT>* pValidationResults,
                        std::vector<HRESULT>* pErrors) override;
  HRESULT RemoveItems(DWORD dwCount, const OPCHANDLE* phServer,
                      std::vector<HRESULT>* pErrors) override;
  HRESULT SetActiveState(DWORD dwCount, const OPCHANDLE* phServer, BOOL bActive,
                         std::vector<HRESULT>* pErrors) override;
  HRESULT SetClientHandles(DWORD dwCount, const OPCHANDLE* phServer, const OPCHANDLE* phClient,
                           std::vector<HRESULT>* pErrors) override;
  HRESULT SetDatatypes(DWORD dwCount, const OPCHANDLE* phServer, const VARTYPE* pRequestedDatatypes,
                       std::vector<HRESULT>* pErrors) override;
  HRESULT CreateEnumerator(REFIID riid, IUnknown** ppUnk) override;

  // IOPCSyncIO
  HRESULT Read(OPCDATASOURCE dwSource, DWORD dwCount, const OPCHANDLE* phServer,
               std::vector<OPCITEMSTATE>* pItemValues, std::vector<HRESULT>* pErrors) override;
  HRESULT Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                std::vector<HRESULT>* pErrors) override;

  // IOPCAsyncIO
  HRESULT Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount, const OPCHANDLE* phServer,
               DWORD* pTransactionID, std::vector<HRESULT>* pErrors) override;
  HRESULT Write(DWORD dwConnection, DWORD dwCount, const OPCHANDLE* phServer,
                const VARIANT* pItemValues, DWORD* pTransactionID,
                std::vector<HRESULT>* pErrors) override;
  HRESULT Refresh(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD* pTransactionID) override;
  HRESULT Cancel(DWORD dwTransactionID) override;

  // IOPCAsyncIO2
  HRESULT Read(DWORD dwCount, const OPCHANDLE* phServer, DWORD dwTransactionID, DWORD* pdwCancelID,
               std::vector<HRESULT>* pErrors) override;
  HRESULT Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                DWORD dwTransactionID, DWORD* pdwCancelID, std::vector<HRESULT>* pErrors) override;
  HRESULT Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID, DWORD* pdwCancelID) override;
  HRESULT Cancel2(DWORD dwCancelID) override;
  HRESULT SetEnable(BOOL bEnable) override;
  HRESULT GetEnable(BOOL* pbEnable) override;

  // IDataObject
  HRESULT GetData(const FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
  HRESULT QueryGetData(const FORMATETC* pformatetc) override;
  HRESULT DAdvise(const FORMATETC* pformatetc, DWORD advf, IUnknown* pAdvSink,
                  DWORD* pdwConnection) override;
  HRESULT DUnadvise(DWORD dwConnection) override;

  // IConnectionPointContainer: no data callback connection point.
  HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

 protected:
  void* FindInterface(REFIID riid) override;

 private:
  // The call's result, or E_FAIL once the server removed the group.
  HRESULT Enter(const CSimCall& call) const;
  CSimGroupItem* FindItem(OPCHANDLE hServer);
  // The methods that change items by handle: enters the call, checks the arguments, and
  // applies change(item, index) to each item found; OPC_E_INVALIDHANDLE for the others.
  template <class Change>
  HRESULT ForEachHandle(DWORD dwCount, const OPCHANDLE* phServer, bool otherArgumentsValid,
                        std::vector<HRESULT>* pErrors, Change change);
  // The per-item checks of AddItems and ValidateItems.
  HRESULT CheckDefinition(const OPCITEMDEF& def, const CSimItem** item) const;
  OPCITEMSTATE ReadOne(const CSimGroupItem& item, OPCDATASOURCE source, int64_t nowMs,
                       HRESULT* error) const;

  std::shared_ptr<CSimServerCore> m_pCore;
  OPCHANDLE m_hServerGroup;
  CSimGroupState m_state;
  std::vector<CSimGroupItem> m_items;
  bool m_bRemoved = false;
  bool m_bAsyncEnabled = true;
};
