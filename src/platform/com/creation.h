#pragma once
// Object creation and the class registry, shaped like COM's: classes are found by class
// id on the local machine or on a named host; program ids map to class ids through the
// local machine's registry. Thread rule: the thread that owns the client's apartment
// (the GUI thread), as in a single-threaded apartment.
#include <string>

#include "platform/com/unknown.h"

// Execution contexts (CLSCTX_*); the connect call uses 21 (in-process, local, remote).
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_SERVER =
    CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

struct COAUTHINFO;  // authentication settings: none are passed, platform defaults apply

// The machine to create an object on. A null COSERVERINFO means the local machine.
struct COSERVERINFO {
  DWORD dwReserved1 = 0;
  std::string pwszName;  // host name, "\\HOST" or "HOST"
  COAUTHINFO* pAuthInfo = nullptr;
  DWORD dwReserved2 = 0;
};

// One slot of the interface request block: in pIID, out pItf (the interface pointer,
// AddRef'ed, typed as IUnknown*: cast it to the asked interface) and hr.
struct MULTI_QI {
  const IID* pIID = nullptr;
  IUnknown* pItf = nullptr;
  HRESULT hr = S_OK;
};

// Counts initialisations per thread; S_OK for the first, S_FALSE after.
HRESULT CoInitializeEx(void* pvReserved, DWORD dwCoInit);
void CoUninitialize();

// Creates an object of class rclsid on the local machine (pServerInfo null) or on the
// named host and asks it for each slot's interface. Results: S_OK when every slot got its
// interface; CO_S_NOTALLINTERFACES when some did; E_NOINTERFACE when none did (the
// object is then released). Failures before any slot is asked (every slot gets the
// code): REGDB_E_CLASSNOTREG for a class not registered there, RPC_S_SERVER_UNAVAILABLE
// for an unknown or unreachable host or a dead server, CLASS_E_NOAGGREGATION when
// pUnkOuter is given, E_INVALIDARG for no slots.
HRESULT CoCreateInstanceEx(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx,
                           const COSERVERINFO* pServerInfo, DWORD dwCount, MULTI_QI* pResults);

// One interface on the local machine.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, REFIID riid,
                         void** ppv);

// The class factory of a class (IID_IClassFactory), on the local machine or a host.
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, const COSERVERINFO* pServerInfo,
                         REFIID riid, void** ppv);

// Program id → class id through the local registry. A braced class id text is accepted
// as itself. CO_E_CLASSSTRING for an unknown program id.
HRESULT CLSIDFromProgID(const std::string& progId, CLSID* pclsid);
// Class id → program id. REGDB_E_CLASSNOTREG for an unknown class.
HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* pProgId);
