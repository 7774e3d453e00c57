#include "platform/sim/sim_factory.h"

#include <algorithm>

#include "platform/com/category.h"
#include "platform/com/com_ptr.h"
#include "platform/opc/opc_enum.h"
#include "platform/sim/sim_server.h"

namespace {

constexpr const char* kCategoryDa10 = "OPC Data Access Servers Version 1.0";
constexpr const char* kCategoryDa20 = "OPC Data Access Servers Version 2.0";

bool HasCategory(const CSimClass& simClass, const CATID& catid) {
  return std::find(simClass.m_categories.begin(), simClass.m_categories.end(), catid) !=
         simClass.m_categories.end();
}

bool Qualifies(const CSimClass& simClass, ULONG cImplemented, const CATID* rgcatidImpl,
               ULONG cRequired, const CATID* rgcatidReq) {
  bool implemented = cImplemented == 0;
  for (ULONG i = 0; i < cImplemented && !implemented; ++i) {
    implemented = HasCategory(simClass, rgcatidImpl[i]);
  }
  for (ULONG i = 0; i < cRequired && implemented; ++i) {
    implemented = HasCategory(simClass, rgcatidReq[i]);
  }
  return implemented && !simClass.m_categories.empty();
}

// The host is looked up again at each call: the runtime may have been reset.
const CSimHost* LookupHost(const std::string& name) {
  return CSimRuntime::Instance().FindHost(name);
}

class CSimServerList : public CComObjectRoot<IOPCServerList> {
 public:
  explicit CSimServerList(std::string hostName) : m_sHost(std::move(hostName)) {}

  HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl, ULONG cRequired,
                                  const CATID* rgcatidReq, IEnumGUID** ppenumClsid) override {
    if (ppenumClsid == nullptr || (cImplemented > 0 && rgcatidImpl == nullptr) ||
        (cRequired > 0 && rgcatidReq == nullptr)) {
      return E_INVALIDARG;
    }
    *ppenumClsid = nullptr;
    const CSimHost* host = LookupHost(m_sHost);
    if (host == nullptr || !host->m_bReachable) {
      return RPC_S_SERVER_UNAVAILABLE;
    }
    *ppenumClsid = CreateGuidEnumerator(
        SimClassesOfCategories(*host, cImplemented, rgcatidImpl, cRequired, rgcatidReq));
    return S_OK;
  }
  HRESULT GetClassDetails(REFCLSID clsid, std::string* pszProgID,
                          std::string* pszUserType) override {
    if (pszProgID == nullptr || pszUserType == nullptr) {
      return E_INVALIDARG;
    }
    const CSimHost* host = LookupHost(m_sHost);
    if (host == nullptr || !host->m_bReachable) {
      return RPC_S_SERVER_UNAVAILABLE;
    }
    const CSimClass* simClass = host->FindClass(clsid);
    if (simClass == nullptr) {
      return REGDB_E_CLASSNOTREG;
    }
    *pszProgID = simClass->m_sProgId;
    *pszUserType = simClass->m_sDescription;
    return S_OK;
  }
  HRESULT CLSIDFromProgID(const std::string& szProgId, CLSID* clsid) override {
    if (clsid == nullptr) {
      return E_INVALIDARG;
    }
    const CSimHost* host = LookupHost(m_sHost);
    if (host == nullptr || !host->m_bReachable) {
      return RPC_S_SERVER_UNAVAILABLE;
    }
    const CSimClass* simClass = host->FindProgId(szProgId);
    if (simClass == nullptr) {
      return CO_E_CLASSSTRING;
    }
    *clsid = simClass->m_clsid;
    return S_OK;
  }

 private:
  std::string m_sHost;
};

class CSimCategoryManager : public CComObjectRoot<ICatInformation> {
 public:
  HRESULT EnumCategories(LCID lcid, std::vector<CATEGORYINFO>* pCategories) override {
    if (pCategories == nullptr) {
      return E_INVALIDARG;
    }
    *pCategories = {{CATID_OPCDAServer10, lcid, kCategoryDa10},
                    {CATID_OPCDAServer20, lcid, kCategoryDa20}};
    return S_OK;
  }
  HRESULT GetCategoryDesc(const CATID& rcatid, LCID /*lcid*/, std::string* pszDesc) override {
    if (pszDesc == nullptr) {
      return E_INVALIDARG;
    }
    if (rcatid == CATID_OPCDAServer10) {
      *pszDesc = kCategoryDa10;
    } else if (rcatid == CATID_OPCDAServer20) {
      *pszDesc = kCategoryDa20;
    } else {
      return E_INVALIDARG;  // CAT_E_CATIDNOEXIST in the system; no more detail needed
    }
    return S_OK;
  }
  HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl, ULONG cRequired,
                                  const CATID* rgcatidReq, IEnumGUID** ppenumClsid) override {
    if (ppenumClsid == nullptr || (cImplemented > 0 && rgcatidImpl == nullptr) ||
        (cRequired > 0 && rgcatidReq == nullptr)) {
      return E_INVALIDARG;
    }
    *ppenumClsid = CreateGuidEnumerator(SimClassesOfCategories(
        CSimRuntime::Instance().LocalHost(), cImplemented, rgcatidImpl, cRequired, rgcatidReq));
    return S_OK;
  }
  HRESULT IsClassOfCategories(REFCLSID rclsid, ULONG cImplemented, const CATID* rgcatidImpl,
                              ULONG cRequired, const CATID* rgcatidReq) override {
    const CSimClass* simClass = CSimRuntime::Instance().LocalHost().FindClass(rclsid);
    if (simClass == nullptr) {
      return REGDB_E_CLASSNOTREG;
    }
    return Qualifies(*simClass, cImplemented, rgcatidImpl, cRequired, rgcatidReq) ? S_OK : S_FALSE;
  }
  HRESULT EnumImplCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) override {
    if (ppenumCatid == nullptr) {
      return E_INVALIDARG;
    }
    *ppenumCatid = nullptr;
    const CSimClass* simClass = CSimRuntime::Instance().LocalHost().FindClass(rclsid);
    if (simClass == nullptr) {
      return REGDB_E_CLASSNOTREG;
    }
    *ppenumCatid = CreateGuidEnumerator(simClass->m_categories);
    return S_OK;
  }
  HRESULT EnumReqCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) override {
    if (ppenumCatid == nullptr) {
      return E_INVALIDARG;
    }
    *ppenumCatid = nullptr;
    if (CSimRuntime::Instance().LocalHost().FindClass(rclsid) == nullptr) {
      return REGDB_E_CLASSNOTREG;
    }
    *ppenumCatid = CreateGuidEnumerator({});
    return S_OK;
  }
};

}  // namespace

std::vector<CLSID> SimClassesOfCategories(const CSimHost& host, ULONG cImplemented,
                                          const CATID* rgcatidImpl, ULONG cRequired,
                                          const CATID* rgcatidReq) {
  std::vector<CLSID> classes;
  for (const CSimClass& simClass : host.m_classes) {
    if (Qualifies(simClass, cImplemented, rgcatidImpl, cRequired, rgcatidReq)) {
      classes.push_back(simClass.m_clsid);
    }
  }
  return classes;
}

HRESULT CreateSimObject(const CSimClass& simClass, const CSimHost& host, IUnknown** ppUnk) {
  if (ppUnk == nullptr) {
    return E_POINTER;
  }
  ComPtr<IUnknown> object;
  switch (simClass.m_eKind) {
    case SimServerKind::kServerList:
      object = static_cast<IOPCServerList*>(new CSimServerList(host.m_sName));
      break;
    case SimServerKind::kCategoryManager:
      object = static_cast<ICatInformation*>(new CSimCategoryManager());
      break;
    default:
      // A server whose process went down with a dead instance is not running yet.
      if (CSimRuntime::Instance().ServerProcessDown(simClass.m_sProgId)) {
        *ppUnk = nullptr;
        return RPC_S_SERVER_UNAVAILABLE;
      }
      object = static_cast<IOPCServer*>(new CSimServer(simClass, host.m_sName));
      break;
  }
  *ppUnk = object.Detach();
  return S_OK;
}
