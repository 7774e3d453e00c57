// Object creation on this platform: the classes are those the simulated machines of the
// runtime register (sim/sim_runtime.h). A Windows build replaces this file by the
// system's calls.
#include "platform/com/creation.h"

#include "platform/com/com_ptr.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_runtime.h"

namespace {

thread_local int g_nInitCount = 0;

// The machine a COSERVERINFO designates, or the failure of reaching it.
HRESULT FindMachine(const COSERVERINFO* pServerInfo, const CSimHost** host) {
  const CSimRuntime& runtime = CSimRuntime::Instance();
  *host = runtime.FindHost(pServerInfo == nullptr ? std::string() : pServerInfo->pwszName);
  if (*host == nullptr || !(*host)->m_bReachable) {
    return RPC_S_SERVER_UNAVAILABLE;
  }
  return S_OK;
}

// Finds and creates the object; one reference in *ppUnk.
HRESULT CreateObject(REFCLSID rclsid, const COSERVERINFO* pServerInfo, IUnknown** ppUnk) {
  const CSimHost* host = nullptr;
  HRESULT hr = FindMachine(pServerInfo, &host);
  if (FAILED(hr)) {
    return hr;
  }
  const CSimClass* simClass = host->FindClass(rclsid);
  if (simClass == nullptr) {
    return REGDB_E_CLASSNOTREG;
  }
  if (CSimRuntime::Instance().FaultsFor(simClass->m_sProgId).m_bDead) {
    return RPC_S_SERVER_UNAVAILABLE;
  }
  return CreateSimObject(*simClass, *host, ppUnk);
}

class CSimClassFactory : public CComObjectRoot<IClassFactory> {
 public:
  CSimClassFactory(const CLSID& clsid, const COSERVERINFO* pServerInfo)
      : m_clsid(clsid), m_bRemote(pServerInfo != nullptr) {
    if (pServerInfo != nullptr) {
      m_serverInfo = *pServerInfo;
    }
  }
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
    if (ppv == nullptr) {
      return E_POINTER;
    }
    *ppv = nullptr;
    if (pUnkOuter != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    ComPtr<IUnknown> object;
    const HRESULT hr =
        CreateObject(m_clsid, m_bRemote ? &m_serverInfo : nullptr, object.GetAddressOf());
    return FAILED(hr) ? hr : object->QueryInterface(riid, ppv);
  }
  HRESULT LockServer(BOOL /*fLock*/) override { return S_OK; }

 private:
  CLSID m_clsid;
  bool m_bRemote;
  COSERVERINFO m_serverInfo;
};

}  // namespace

HRESULT CoInitializeEx(void* /*pvReserved*/, DWORD /*dwCoInit*/) {
  return g_nInitCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (g_nInitCount > 0) {
    --g_nInitCount;
  }
}

HRESULT CoCreateInstanceEx(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD /*dwClsCtx*/,
                           const COSERVERINFO* pServerInfo, DWORD dwCount, MULTI_QI* pResults) {
  if (dwCount == 0 || pResults == nullptr) {
    return E_INVALIDARG;
  }
  for (DWORD i = 0; i < dwCount; ++i) {
    if (pResults[i].pIID == nullptr) {
      return E_INVALIDARG;
    }
  }
  const auto failAll = [&](HRESULT hr) {
    for (DWORD i = 0; i < dwCount; ++i) {
      pResults[i].pItf = nullptr;
      pResults[i].hr = hr;
    }
    return hr;
  };
  if (pUnkOuter != nullptr) {
    return failAll(CLASS_E_NOAGGREGATION);
  }
  ComPtr<IUnknown> object;
  const HRESULT hr = CreateObject(rclsid, pServerInfo, object.GetAddressOf());
  if (FAILED(hr)) {
    return failAll(hr);
  }
  DWORD obtained = 0;
  for (DWORD i = 0; i < dwCount; ++i) {
    void* pointer = nullptr;
    pResults[i].hr = object->QueryInterface(*pResults[i].pIID, &pointer);
    // The interface pointer is also its IUnknown: every interface derives singly from it.
    pResults[i].pItf = static_cast<IUnknown*>(pointer);
    if (SUCCEEDED(pResults[i].hr)) {
      ++obtained;
    }
  }
  if (obtained == 0) {
    return E_NOINTERFACE;
  }
  return obtained == dwCount ? S_OK : CO_S_NOTALLINTERFACES;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, REFIID riid,
                         void** ppv) {
  if (ppv == nullptr) {
    return E_POINTER;
  }
  MULTI_QI request;
  request.pIID = &riid;
  const HRESULT hr = CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, nullptr, 1, &request);
  *ppv = request.pItf;
  return FAILED(hr) ? hr : request.hr;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD /*dwClsContext*/, const COSERVERINFO* pServerInfo,
                         REFIID riid, void** ppv) {
  if (ppv == nullptr) {
    return E_POINTER;
  }
  *ppv = nullptr;
  const CSimHost* host = nullptr;
  const HRESULT hr = FindMachine(pServerInfo, &host);
  if (FAILED(hr)) {
    return hr;
  }
  if (host->FindClass(rclsid) == nullptr) {
    return REGDB_E_CLASSNOTREG;
  }
  ComPtr<IClassFactory> factory(new CSimClassFactory(rclsid, pServerInfo));
  return factory->QueryInterface(riid, ppv);
}

HRESULT CLSIDFromProgID(const std::string& progId, CLSID* pclsid) {
  if (pclsid == nullptr) {
    return E_INVALIDARG;
  }
  if (!progId.empty() && progId.front() == '{') {
    return CLSIDFromString(progId, pclsid);
  }
  const CSimClass* simClass = CSimRuntime::Instance().LocalHost().FindProgId(progId);
  if (simClass == nullptr) {
    return CO_E_CLASSSTRING;
  }
  *pclsid = simClass->m_clsid;
  return S_OK;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* pProgId) {
  if (pProgId == nullptr) {
    return E_INVALIDARG;
  }
  const CSimClass* simClass = CSimRuntime::Instance().LocalHost().FindClass(clsid);
  if (simClass == nullptr || simClass->m_sProgId.empty()) {
    return REGDB_E_CLASSNOTREG;
  }
  *pProgId = simClass->m_sProgId;
  return S_OK;
}
