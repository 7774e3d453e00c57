// velmora-simserver.exe: the built-in simulation servers as an out-of-process COM local
// server. /RegServer records the classes (LocalServer32, program ids, the OPC DA
// categories) under HKLM\Software\Classes, /UnregServer removes them; started by COM
// (-Embedding) it registers its class objects and serves until the last object goes.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win/simserver/com_sim_objects.h"
#include "platform/win/simserver/sim_host.h"
#include "platform/win/win_sys_convert.h"

namespace {

constexpr wchar_t kClassesRoot[] = L"Software\\Classes\\";
// How long the process waits for its first client before it gives up.
constexpr DWORD kFirstClientTimeoutMs = 60000;

std::wstring GuidText(const winbridge::Guid& guid) {
  wchar_t text[64] = {};
  StringFromGUID2(winbridge::ToGuid(guid), text, 64);
  return text;
}

bool SetKey(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  const std::wstring path = kClassesRoot + key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = true;
  if (name != nullptr || !value.empty()) {
    ok = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  RegCloseKey(handle);
  return ok;
}

void DeleteTree(const std::wstring& key) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClassesRoot + key).c_str());
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

int Register() {
  const std::wstring server = L"\"" + ModulePath() + L"\"";
  bool ok = true;
  for (const simhost::SimCategoryInfo& category : simhost::SimulationCategories())
    ok = SetKey(L"Component Categories\\" + GuidText(category.catid), L"409",
                winbridge::Wide(category.description)) &&
         ok;
  for (const simhost::SimClassInfo& simClass : simhost::SimulationClasses()) {
    const std::wstring clsid = GuidText(simClass.clsid);
    const std::wstring progId = winbridge::Wide(simClass.progId);
    const std::wstring description = winbridge::Wide(simClass.description);
    const std::wstring key = L"CLSID\\" + clsid;
    ok = SetKey(key, nullptr, description) && ok;
    ok = SetKey(key + L"\\LocalServer32", nullptr, server) && ok;
    ok = SetKey(key + L"\\ProgID", nullptr, progId) && ok;
    for (const winbridge::Guid& category : simClass.categories)
      ok = SetKey(key + L"\\Implemented Categories\\" + GuidText(category), nullptr, L"") && ok;
    ok = SetKey(progId, nullptr, description) && ok;
    ok = SetKey(progId + L"\\CLSID", nullptr, clsid) && ok;
    ok = SetKey(progId + L"\\OPC", nullptr, L"") && ok;
  }
  if (!ok) {
    std::fprintf(stderr, "velmora-simserver: the registry refused the registration\n");
    return 1;
  }
  return 0;
}

int Unregister() {
  for (const simhost::SimClassInfo& simClass : simhost::SimulationClasses()) {
    DeleteTree(L"CLSID\\" + GuidText(simClass.clsid));
    DeleteTree(winbridge::Wide(simClass.progId));
  }
  return 0;
}

int Serve() {
  std::string error;
  if (!simhost::LoadSimulationConfiguration(&error)) {
    std::fprintf(stderr, "velmora-simserver: %s\n", error.c_str());
    return 1;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    return 1;
  simserver::SetMainThread(GetCurrentThreadId());
  std::vector<DWORD> cookies;
  for (const simhost::SimClassInfo& simClass : simhost::SimulationClasses()) {
    IClassFactory* factory = simserver::CreateClassFactory(simClass.clsid);
    DWORD cookie = 0;
    const HRESULT hr = CoRegisterClassObject(winbridge::ToGuid(simClass.clsid), factory,
                                             CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    factory->Release();  // COM holds it while registered
    if (SUCCEEDED(hr))
      cookies.push_back(cookie);
  }
  // Runs until the last object (and lock) is gone, or no client came in time.
  const DWORD start = GetTickCount();
  bool served = false;
  SetTimer(nullptr, 0, 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    DispatchMessageW(&message);
    const LONG live = simserver::LiveObjectCount();
    served = served || live > 0;
    if (live == 0 && (served || GetTickCount() - start > kFirstClientTimeoutMs))
      break;
  }
  for (DWORD cookie : cookies)
    CoRevokeClassObject(cookie);
  CoUninitialize();
  return 0;
}

bool IsOption(const char* argument, const char* name) {
  return (argument[0] == '/' || argument[0] == '-') && lstrcmpiA(argument + 1, name) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (IsOption(argv[i], "RegServer"))
      return Register();
    if (IsOption(argv[i], "UnregServer"))
      return Unregister();
  }
  return Serve();  // -Embedding, or started by hand
}
