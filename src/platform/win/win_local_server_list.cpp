#include "platform/win/win_local_server_list.h"

#include "platform/com/category.h"
#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"
#include "platform/com/enumerators.h"
#include "platform/opc/opc_enum.h"
#include "platform/win/win_layer_convert.h"

namespace {

class CLocalServerList : public CComObjectRoot<IOPCServerList> {
 public:
  HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl, ULONG cRequired,
                                  const CATID* rgcatidReq, IEnumGUID** ppenumClsid) override {
    if (ppenumClsid == nullptr || (cImplemented > 0 && rgcatidImpl == nullptr) ||
        (cRequired > 0 && rgcatidReq == nullptr))
      return E_INVALIDARG;
    *ppenumClsid = nullptr;
    // Read from the registry as OPCEnum reads it, not through the component category
    // manager: Wine's (8.0) keeps only the classes that implement every one of the
    // implemented categories, where the system keeps those that implement any of them.
    std::vector<winbridge::Guid> found;
    const HRESULT hr = winbridge::Guarded([&] {
      return winbridge::sys::ClassesOfCategories(winbridge::ToBridge(cImplemented, rgcatidImpl),
                                                 winbridge::ToBridge(cRequired, rgcatidReq),
                                                 &found);
    });
    if (FAILED(hr))
      return hr;
    std::vector<CLSID> classes;
    for (const winbridge::Guid& clsid : found)
      classes.push_back(winbridge::FromBridge(clsid));
    *ppenumClsid = CreateGuidEnumerator(std::move(classes));
    return S_OK;
  }
  HRESULT GetClassDetails(REFCLSID clsid, std::string* pszProgID,
                          std::string* pszUserType) override {
    if (pszProgID == nullptr || pszUserType == nullptr)
      return E_INVALIDARG;
    const winbridge::Guid id = winbridge::ToBridge(clsid);
    HRESULT hr = winbridge::Guarded([&] { return winbridge::sys::ProgIdFromClsid(id, pszProgID); });
    if (FAILED(hr))
      return hr;
    hr = winbridge::Guarded([&] { return winbridge::sys::ClassUserType(id, pszUserType); });
    if (FAILED(hr))
      pszUserType->clear();  // a class without a name still has its program id
    return S_OK;
  }
  HRESULT CLSIDFromProgID(const std::string& szProgId, CLSID* clsid) override {
    return ::CLSIDFromProgID(szProgId, clsid);
  }
};

class CLocalServerListFactory : public CComObjectRoot<IClassFactory> {
 public:
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
    if (ppv == nullptr)
      return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter != nullptr)
      return CLASS_E_NOAGGREGATION;
    ComPtr<IOPCServerList> list(new CLocalServerList());
    return list->QueryInterface(riid, ppv);
  }
  HRESULT LockServer(BOOL /*fLock*/) override { return S_OK; }
};

}  // namespace

IClassFactory* CreateLocalServerListFactory() {
  return new CLocalServerListFactory();
}
