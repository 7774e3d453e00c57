#pragma once
// Layer side: the objects that present a real COM object as the platform layer's
// interfaces (wide strings, VARIANTs and CoTaskMem arrays become std::string, the
// layer's VARIANT and vectors; HRESULTs pass through). Each adapter holds the real
// object's IUnknown and asks it once for every interface the client uses.
// Thread rule: the client's apartment thread, as the real pointers it holds.
#include <utility>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/win/win_bridge.h"

namespace winbridge {

enum class AdapterKind {
  kServer,           // an OPC DA server object
  kGroup,            // an OPC group object
  kServerList,       // OPCEnum's IOPCServerList
  kCategoryManager,  // the component category manager
  kClassFactory,
  kEnumString,
  kEnumGuid,
  kConnectionPoint,
};

// The real interface pointers of one object, each asked for once (null: refused).
class CRealInterfaces {
 public:
  // Takes over the reference of unknown.
  explicit CRealInterfaces(Object unknown) : m_pUnknown(unknown) {}
  ~CRealInterfaces();
  CRealInterfaces(const CRealInterfaces&) = delete;
  CRealInterfaces& operator=(const CRealInterfaces&) = delete;

  Object Get(const IID& iid);
  // A pointer the caller already holds for iid (a slot of the creation request); its
  // reference is taken over.
  void Adopt(const IID& iid, Object pointer);

 private:
  Object m_pUnknown;
  std::vector<std::pair<IID, Object>> m_entries;
};

// The adapter of kind over a real object (any of its interface pointers, whose
// reference is taken over; a server's class factory also needs the class it creates).
// Returns the layer object's IUnknown with count 0, and its real pointers.
IUnknown* CreateAdapter(AdapterKind kind, Object real, const IID& realIid,
                        CRealInterfaces** interfaces, const CLSID& factoryClass = GUID_NULL);

// Wraps real (a pointer for riid, its reference taken over) and answers the layer
// pointer for riid in *ppv (one reference).
HRESULT WrapReal(AdapterKind kind, Object real, REFIID riid, void** ppv,
                 const CLSID& factoryClass = GUID_NULL);

// The adapter a class's objects need.
AdapterKind AdapterKindOfClass(REFCLSID clsid);

}  // namespace winbridge
