#include "opc/opc_discovery.h"

#include "opc/opc_server.h"
#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"

namespace {

HRESULT ObtainServerList(const std::string& host, ComPtr<IOPCServerList>& list,
                         std::string& failedStep) {
  if (host.empty() || host == kLocalHost) {
    ComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(CLSID_OpcServerList, CLSCTX_LOCAL_SERVER, nullptr,
                                  IID_IClassFactory, factory.ReleaseAndGetVoidAddress());
    if (FAILED(hr) || !factory) {
      failedStep = kEnumStepGetClassObject;
      return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    hr = factory->CreateInstance(nullptr, IID_IOPCServerList, list.ReleaseAndGetVoidAddress());
    if (FAILED(hr) || !list) {
      failedStep = kEnumStepCreateInstance;
      return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    return S_OK;
  }
  COSERVERINFO serverInfo;
  serverInfo.pwszName = host;
  MULTI_QI request{&IID_IOPCServerList, nullptr, S_OK};
  const HRESULT hr = CoCreateInstanceEx(CLSID_OpcServerList, nullptr, CLSCTX_REMOTE_SERVER,
                                        &serverInfo, 1, &request);
  ComPtr<IUnknown> obtained;
  obtained.Attach(request.pItf);
  const HRESULT result = FAILED(hr) ? hr : request.hr;
  if (FAILED(result) || !obtained) {
    failedStep = kEnumStepCreateInstanceEx;
    return FAILED(result) ? result : E_NOINTERFACE;
  }
  list = static_cast<IOPCServerList*>(obtained.Get());
  return S_OK;
}

constexpr size_t kClassDetailsBuffer = 512;

}  // namespace

std::string TextThroughBuffer(const std::string& text, size_t bufferSize) {
  if (bufferSize == 0)
    return {};
  if (text.size() < bufferSize)
    return text;
  size_t size = bufferSize - 1;
  // Back over continuation bytes to the start of the sequence that does not fit whole.
  while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
    --size;
  return text.substr(0, size);
}

OpcEnumResult EnumerateServersWithOpcEnum(const std::string& host,
                                          const std::vector<CATID>& implemented,
                                          const std::vector<CATID>& required) {
  OpcEnumResult result;
  ComPtr<IOPCServerList> list;
  result.m_hr = ObtainServerList(host, list, result.m_sFailedStep);
  if (FAILED(result.m_hr))
    return result;

  ComPtr<IEnumGUID> classes;
  result.m_hr = list->EnumClassesOfCategories(
      static_cast<ULONG>(implemented.size()), implemented.data(),
      static_cast<ULONG>(required.size()), required.empty() ? nullptr : required.data(),
      classes.ReleaseAndGetAddressOf());
  if (FAILED(result.m_hr) || !classes) {
    if (SUCCEEDED(result.m_hr))
      result.m_hr = E_FAIL;
    return result;
  }
  classes->Reset();
  CLSID clsid;
  ULONG fetched = 0;
  while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1) {
    OpcServerEntry entry;
    entry.m_clsid = clsid;
    if (FAILED(list->GetClassDetails(clsid, &entry.m_sProgId, &entry.m_sDescription)))
      continue;
    entry.m_sProgId = TextThroughBuffer(entry.m_sProgId, kClassDetailsBuffer);
    entry.m_sDescription = TextThroughBuffer(entry.m_sDescription, kClassDetailsBuffer);
    result.m_servers.push_back(std::move(entry));
  }
  result.m_hr = S_OK;
  return result;
}
