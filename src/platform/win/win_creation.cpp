// Object creation on Windows: the system's COM creates the objects (in process, as a
// local server or on a remote host) and each one is handed to the client through its
// adapter (win_adapters.h). Replaces com/creation.cpp of the simulation platform.
#include "platform/com/creation.h"

#include <memory>

#include "platform/com/com_ptr.h"
#include "platform/opc/opc_enum.h"
#include "platform/win/win_adapters.h"
#include "platform/win/win_layer_convert.h"
#include "platform/win/win_local_server_list.h"

using winbridge::Guarded;
using winbridge::Object;
using winbridge::ToBridge;

namespace {

const std::string* HostOf(const COSERVERINFO* pServerInfo) {
  return pServerInfo == nullptr ? nullptr : &pServerInfo->pwszName;
}

}  // namespace

HRESULT CoInitializeEx(void* /*pvReserved*/, DWORD dwCoInit) {
  return Guarded([&] { return winbridge::sys::Initialize(dwCoInit); });
}

void CoUninitialize() {
  winbridge::sys::Uninitialize();
}

HRESULT CoCreateInstanceEx(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx,
                           const COSERVERINFO* pServerInfo, DWORD dwCount, MULTI_QI* pResults) {
  if (dwCount == 0 || pResults == nullptr)
    return E_INVALIDARG;
  std::vector<winbridge::Guid> iids;
  for (DWORD i = 0; i < dwCount; ++i) {
    if (pResults[i].pIID == nullptr)
      return E_INVALIDARG;
    iids.push_back(ToBridge(*pResults[i].pIID));
  }
  const auto failAll = [&](HRESULT hr) {
    for (DWORD i = 0; i < dwCount; ++i) {
      pResults[i].pItf = nullptr;
      pResults[i].hr = hr;
    }
    return hr;
  };
  if (pUnkOuter != nullptr)
    return failAll(CLASS_E_NOAGGREGATION);

  std::vector<Object> objects;
  std::vector<winbridge::Hr> codes;
  const HRESULT hr = Guarded([&] {
    return winbridge::sys::CreateInstanceEx(ToBridge(rclsid), dwClsCtx, HostOf(pServerInfo), iids,
                                            &objects, &codes);
  });
  if (FAILED(hr) && hr != E_NOINTERFACE)
    return failAll(hr);

  // One adapter for the object, holding every slot's real pointer.
  ComPtr<IUnknown> adapter;
  winbridge::CRealInterfaces* interfaces = nullptr;
  for (DWORD i = 0; i < dwCount; ++i) {
    if (objects[i] == nullptr)
      continue;
    if (!adapter) {
      adapter = winbridge::CreateAdapter(winbridge::AdapterKindOfClass(rclsid), objects[i],
                                         *pResults[i].pIID, &interfaces);
    } else {
      interfaces->Adopt(*pResults[i].pIID, objects[i]);
    }
  }
  DWORD obtained = 0;
  for (DWORD i = 0; i < dwCount; ++i) {
    void* pointer = nullptr;
    if (objects[i] != nullptr && adapter) {
      pResults[i].hr = adapter->QueryInterface(*pResults[i].pIID, &pointer);
    } else {
      pResults[i].hr = FAILED(codes[i]) ? codes[i] : E_NOINTERFACE;
    }
    pResults[i].pItf = static_cast<IUnknown*>(pointer);
    if (SUCCEEDED(pResults[i].hr))
      ++obtained;
  }
  if (obtained == 0)
    return E_NOINTERFACE;
  return obtained == dwCount ? S_OK : CO_S_NOTALLINTERFACES;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, REFIID riid,
                         void** ppv) {
  if (ppv == nullptr)
    return E_POINTER;
  MULTI_QI request;
  request.pIID = &riid;
  const HRESULT hr = CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, nullptr, 1, &request);
  *ppv = request.pItf;
  return FAILED(hr) ? hr : request.hr;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, const COSERVERINFO* pServerInfo,
                         REFIID riid, void** ppv) {
  if (ppv == nullptr)
    return E_POINTER;
  *ppv = nullptr;
  Object factory = nullptr;
  const HRESULT hr = Guarded([&] {
    return winbridge::sys::GetClassObject(ToBridge(rclsid), dwClsContext, HostOf(pServerInfo),
                                          ToBridge(IID_IClassFactory), &factory);
  });
  if (SUCCEEDED(hr) && factory != nullptr) {
    ComPtr<IUnknown> holder;
    const HRESULT wrapped =
        winbridge::WrapReal(winbridge::AdapterKind::kClassFactory, factory, IID_IClassFactory,
                            holder.ReleaseAndGetVoidAddress(), rclsid);
    return FAILED(wrapped) ? wrapped : holder->QueryInterface(riid, ppv);
  }
  // No OPCEnum on this machine: the local registry answers in its place.
  if (rclsid == CLSID_OpcServerList && pServerInfo == nullptr && hr == REGDB_E_CLASSNOTREG) {
    ComPtr<IClassFactory> local(CreateLocalServerListFactory());
    return local->QueryInterface(riid, ppv);
  }
  return FAILED(hr) ? hr : E_NOINTERFACE;
}

HRESULT CLSIDFromProgID(const std::string& progId, CLSID* pclsid) {
  if (pclsid == nullptr)
    return E_INVALIDARG;
  if (!progId.empty() && progId.front() == '{')
    return CLSIDFromString(progId, pclsid);
  winbridge::Guid clsid;
  const HRESULT hr = Guarded([&] { return winbridge::sys::ClsidFromProgId(progId, &clsid); });
  if (SUCCEEDED(hr))
    *pclsid = winbridge::FromBridge(clsid);
  return hr;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* pProgId) {
  if (pProgId == nullptr)
    return E_INVALIDARG;
  return Guarded([&] { return winbridge::sys::ProgIdFromClsid(ToBridge(clsid), pProgId); });
}
