#include "opc/registry_enumeration.h"

#include "opc/opc_discovery.h"
#include "platform/com/category.h"
#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"

namespace {

constexpr size_t kProgIdBuffer = 260;

}  // namespace

RegistryEnumResult EnumerateServersInRegistry(const CATID& category) {
  RegistryEnumResult result;
  ComPtr<ICatInformation> manager;
  result.m_hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_SERVER,
                                 IID_ICatInformation, manager.ReleaseAndGetVoidAddress());
  if (FAILED(result.m_hr) || !manager) {
    if (SUCCEEDED(result.m_hr))
      result.m_hr = E_NOINTERFACE;
    return result;
  }
  ComPtr<IEnumGUID> classes;
  result.m_hr =
      manager->EnumClassesOfCategories(1, &category, 0, nullptr, classes.ReleaseAndGetAddressOf());
  if (FAILED(result.m_hr) || !classes) {
    if (SUCCEEDED(result.m_hr))
      result.m_hr = E_FAIL;
    return result;
  }
  CLSID clsid;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) {
    std::string progId;
    if (FAILED(ProgIDFromCLSID(clsid, &progId)))
      continue;
    result.m_servers.push_back({clsid, TextThroughBuffer(progId, kProgIdBuffer)});
  }
  result.m_hr = S_OK;
  return result;
}
