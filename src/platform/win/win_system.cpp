// System side: object creation, the class registry and the network neighbourhood on
// the system's own calls (ole32, advapi32, mpr, ws2_32).
#include <winsock2.h>  // before <windows.h>, which would bring the old winsock

#include <windows.h>
#include <ws2tcpip.h>

#include <objbase.h>
#include <winnetwk.h>

#include <cwctype>

#include "platform/win/win_sys_convert.h"

namespace winbridge::sys {

namespace {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  StringFromGUID2(guid, text, 64);
  return text;
}

}  // namespace

Hr Initialize(uint32_t coinit) {
  return CoInitializeEx(nullptr, coinit);
}

void Uninitialize() {
  CoUninitialize();
}

Hr CreateInstanceEx(const Guid& clsid, uint32_t context, const std::string* host,
                    const std::vector<Guid>& iids, std::vector<Object>* objects,
                    std::vector<Hr>* results) {
  std::vector<GUID> ids = ToGuids(iids);
  std::vector<MULTI_QI> requests(ids.size());
  for (size_t i = 0; i < ids.size(); ++i) {
    requests[i].pIID = &ids[i];
    requests[i].pItf = nullptr;
    requests[i].hr = S_OK;
  }
  // A remote host by name, no authentication: the platform's defaults apply.
  std::wstring name;
  COSERVERINFO info = {};
  if (host != nullptr) {
    name = Wide(*host);
    info.pwszName = name.data();
  }
  const GUID classId = ToGuid(clsid);
  const HRESULT hr =
      CoCreateInstanceEx(classId, nullptr, context, host != nullptr ? &info : nullptr,
                         static_cast<DWORD>(requests.size()), requests.data());
  objects->assign(requests.size(), nullptr);
  results->assign(requests.size(), hr);
  for (size_t i = 0; i < requests.size(); ++i) {
    (*objects)[i] = SUCCEEDED(hr) || hr == E_NOINTERFACE ? requests[i].pItf : nullptr;
    (*results)[i] = requests[i].hr;
  }
  return hr;
}

Hr GetClassObject(const Guid& clsid, uint32_t context, const std::string* host, const Guid& iid,
                  Object* out) {
  std::wstring name;
  COSERVERINFO info = {};
  if (host != nullptr) {
    name = Wide(*host);
    info.pwszName = name.data();
  }
  *out = nullptr;
  return CoGetClassObject(ToGuid(clsid), context, host != nullptr ? &info : nullptr, ToGuid(iid),
                          out);
}

Hr ClsidFromProgId(const std::string& progId, Guid* clsid) {
  CLSID id = GUID_NULL;
  const HRESULT hr = CLSIDFromProgID(Wide(progId).c_str(), &id);
  if (SUCCEEDED(hr))
    *clsid = FromGuid(id);
  return hr;
}

Hr ProgIdFromClsid(const Guid& clsid, std::string* progId) {
  LPOLESTR text = nullptr;
  const HRESULT hr = ProgIDFromCLSID(ToGuid(clsid), &text);
  if (SUCCEEDED(hr) && text != nullptr)
    *progId = TakeTaskMemString(text);
  return hr;
}

Hr ClassUserType(const Guid& clsid, std::string* userType) {
  const std::wstring key = L"CLSID\\" + GuidText(ToGuid(clsid));
  wchar_t value[512] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  const LSTATUS status =
      RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
  if (status != ERROR_SUCCESS)
    return HRESULT_FROM_WIN32(status);
  *userType = Utf8(value);
  return S_OK;
}

namespace {

bool HasSubkey(HKEY key, const std::wstring& name) {
  HKEY subkey = nullptr;
  if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, &subkey) != ERROR_SUCCESS)
    return false;
  RegCloseKey(subkey);
  return true;
}

// Every category the class requires is among the given ones.
bool RequiresOnly(HKEY classKey, const std::vector<std::wstring>& given) {
  HKEY required = nullptr;
  if (RegOpenKeyExW(classKey, L"Required Categories", 0, KEY_READ, &required) != ERROR_SUCCESS)
    return true;
  bool ok = true;
  wchar_t name[64];
  for (DWORD index = 0; ok; ++index) {
    DWORD size = 64;
    if (RegEnumKeyExW(required, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    bool found = false;
    for (const std::wstring& category : given)
      found = found || lstrcmpiW(category.c_str(), name) == 0;
    ok = found;
  }
  RegCloseKey(required);
  return ok;
}

}  // namespace

Hr ClassesOfCategories(const std::vector<Guid>& implemented, const std::vector<Guid>& required,
                       std::vector<Guid>* classes) {
  classes->clear();
  std::vector<std::wstring> impl;
  std::vector<std::wstring> req;
  for (const Guid& guid : implemented)
    impl.push_back(GuidText(ToGuid(guid)));
  for (const Guid& guid : required)
    req.push_back(GuidText(ToGuid(guid)));
  HKEY root = nullptr;
  const LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &root);
  if (status != ERROR_SUCCESS)
    return HRESULT_FROM_WIN32(status);
  wchar_t name[64];
  for (DWORD index = 0;; ++index) {
    DWORD size = 64;  // reset for every key: the call shortens it to the name read
    const LSTATUS found =
        RegEnumKeyExW(root, index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (found == ERROR_MORE_DATA)
      continue;  // not a class id
    if (found != ERROR_SUCCESS)
      break;
    CLSID clsid;
    if (FAILED(CLSIDFromString(name, &clsid)))
      continue;
    HKEY classKey = nullptr;
    if (RegOpenKeyExW(root, name, 0, KEY_READ, &classKey) != ERROR_SUCCESS)
      continue;
    bool qualifies = impl.empty();
    for (const std::wstring& category : impl)
      qualifies = qualifies || HasSubkey(classKey, L"Implemented Categories\\" + category);
    qualifies = qualifies && RequiresOnly(classKey, req);
    RegCloseKey(classKey);
    if (qualifies)
      classes->push_back(FromGuid(clsid));
  }
  RegCloseKey(root);
  return S_OK;
}

// ---- Network neighbourhood ----

uint32_t NetOpenEnum(uint32_t scope, uint32_t type, uint32_t usage, const NetResource* parent,
                     void** handle) {
  NETRESOURCEW resource = {};
  std::wstring local;
  std::wstring remote;
  std::wstring comment;
  std::wstring provider;
  if (parent != nullptr) {
    local = Wide(parent->localName);
    remote = Wide(parent->remoteName);
    comment = Wide(parent->comment);
    provider = Wide(parent->provider);
    resource.dwScope = parent->scope;
    resource.dwType = parent->type;
    resource.dwDisplayType = parent->displayType;
    resource.dwUsage = parent->usage;
    resource.lpLocalName = local.empty() ? nullptr : local.data();
    resource.lpRemoteName = remote.empty() ? nullptr : remote.data();
    resource.lpComment = comment.empty() ? nullptr : comment.data();
    resource.lpProvider = provider.empty() ? nullptr : provider.data();
  }
  HANDLE opened = nullptr;
  const DWORD code =
      WNetOpenEnumW(scope, type, usage, parent != nullptr ? &resource : nullptr, &opened);
  *handle = code == NO_ERROR ? opened : nullptr;
  return code;
}

uint32_t NetEnumResource(void* handle, uint32_t* count, std::vector<NetResource>* resources) {
  resources->clear();
  std::vector<BYTE> buffer(16384);
  DWORD entries = *count;
  DWORD size = static_cast<DWORD>(buffer.size());
  DWORD code = WNetEnumResourceW(handle, &entries, buffer.data(), &size);
  if (code == ERROR_MORE_DATA) {  // one resource larger than the usual buffer
    buffer.resize(size);
    entries = *count;
    code = WNetEnumResourceW(handle, &entries, buffer.data(), &size);
  }
  *count = code == NO_ERROR ? entries : 0;
  if (code != NO_ERROR)
    return code;
  const auto* found = reinterpret_cast<const NETRESOURCEW*>(buffer.data());
  for (DWORD i = 0; i < entries; ++i) {
    NetResource resource;
    resource.scope = found[i].dwScope;
    resource.type = found[i].dwType;
    resource.displayType = found[i].dwDisplayType;
    resource.usage = found[i].dwUsage;
    resource.localName = Utf8(found[i].lpLocalName);
    resource.remoteName = Utf8(found[i].lpRemoteName);
    resource.comment = Utf8(found[i].lpComment);
    resource.provider = Utf8(found[i].lpProvider);
    resources->push_back(std::move(resource));
  }
  return code;
}

uint32_t NetCloseEnum(void* handle) {
  return WNetCloseEnum(handle);
}

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &size))
    return {};
  for (DWORD i = 0; i < size; ++i)
    name[i] = static_cast<wchar_t>(std::towupper(name[i]));
  return Utf8(name);
}

bool ResolveHost(const std::string& name, std::string* address) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started)
    return false;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
    return false;
  char text[NI_MAXHOST] = {};
  const bool ok = getnameinfo(found->ai_addr, static_cast<int>(found->ai_addrlen), text,
                              sizeof text, nullptr, 0, NI_NUMERICHOST) == 0;
  freeaddrinfo(found);
  if (ok && address != nullptr)
    *address = text;
  return ok;
}

}  // namespace winbridge::sys
