// velmora-comcheck.exe (Windows build, run by wine_test.sh): the call transcripts through
// real COM, that is velmora-simserver.exe out of process through the proxy/stub DLL,
// against the same calls on the simulation inside this process. Exit code 0 when every
// transcript matches, 1 otherwise.
#include <cstdio>
#include <string>

#include "com_transcripts.h"
#include "platform/com/creation.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"

namespace {

// The simulation's objects, created in this process.
class CInProcessSource : public ObjectSource {
 public:
  ComPtr<IOPCServer> Server(const CLSID& clsid) const override { return Create<IOPCServer>(clsid); }
  ComPtr<IOPCServerList> ServerList() const override {
    return Create<IOPCServerList>(CLSID_OpcServerList);
  }
  ComPtr<ICatInformation> Categories() const override {
    return Create<ICatInformation>(CLSID_StdComponentCategoriesMgr);
  }

 private:
  template <class I>
  static ComPtr<I> Create(const CLSID& clsid) {
    const CSimHost& host = CSimRuntime::Instance().LocalHost();
    const CSimClass* simClass = host.FindClass(clsid);
    ComPtr<IUnknown> object;
    ComPtr<I> result;
    if (simClass != nullptr && SUCCEEDED(CreateSimObject(*simClass, host, object.GetAddressOf())))
      object.As(&result);
    return result;
  }
};

// Real COM objects: the local server registered for the class.
class CComSource : public ObjectSource {
 public:
  ComPtr<IOPCServer> Server(const CLSID& clsid) const override {
    ComPtr<IOPCServer> server;
    CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IOPCServer,
                     server.ReleaseAndGetVoidAddress());
    return server;
  }
  ComPtr<IOPCServerList> ServerList() const override { return nullptr; }
  ComPtr<ICatInformation> Categories() const override { return nullptr; }
};

bool Check(const char* what, std::string (*calls)(const ObjectSource&)) {
  const std::string expected = calls(CInProcessSource());
  const std::string actual = calls(CComSource());
  if (expected == actual && !expected.empty()) {
    std::printf("ok    %s\n", what);
    return true;
  }
  std::printf("FAIL  %s\n  in process: %s\n  through COM: %s\n", what, expected.c_str(),
              actual.c_str());
  return false;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("FAIL  COM cannot be initialised\n");
    return 1;
  }
  bool ok = true;
  {
    ComPtr<IOPCServer> probe = CComSource().Server(CLSID_VelmoraSimServer);
    if (!probe) {
      std::printf("FAIL  velmora-simserver.exe cannot be created through COM\n");
      CoUninitialize();
      return 1;
    }
  }
  ok =
      Check("server, common, properties, public groups, persist file, browsing", ServerCalls) && ok;
  ok = Check("group state, items, sync and async 2.0 I/O", GroupCalls) && ok;
  CoUninitialize();
  return ok ? 0 : 1;
}
