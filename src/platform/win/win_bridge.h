#pragma once
// The neutral meeting point of the platform layer and the Windows system headers. The
// layer's headers declare HRESULT, GUID, VARIANT, IUnknown... in the global namespace,
// as <windows.h> does, so no file sees both. Files of the layer side include the layer
// and this header; files of the system side include <windows.h>, the widl headers and
// this header. Between them travel only the plain C++ types below.
//
// Every call exists twice, with the same signature (win_bridge_calls.inc):
//   winbridge::real::X  acts on a system COM interface pointer (implemented on the system
//                       side; the client's adapters call it),
//   winbridge::layer::X acts on a layer interface pointer (implemented on the layer side;
//                       the COM simulation server's objects call it).
// An Object is the interface pointer the call is named after (an IOPCServer* for
// ServerAddGroup...), of the world the namespace names, typed void*. Objects handed out
// carry one reference. The one exception: the sink of PointAdvise comes from the other
// world and is wrapped there.
#include <cstdint>
#include <string>
#include <vector>

namespace winbridge {

using Hr = int32_t;
using Object = void*;

struct Guid {
  uint32_t d1 = 0;
  uint16_t d2 = 0;
  uint16_t d3 = 0;
  uint8_t d4[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};

struct FileTime {
  uint32_t low = 0;
  uint32_t high = 0;
};

// A VARIANT: vt, the 8 bytes of the scalar member (little-endian, as both unions keep
// them), the text of a VT_BSTR, the elements of a VT_ARRAY (each of the element type).
struct Value {
  uint16_t vt = 0;
  uint64_t bits = 0;
  std::string text;
  std::vector<Value> elements;
};

struct ItemDef {
  std::string accessPath;
  std::string itemId;
  int32_t active = 1;
  uint32_t client = 0;
  std::vector<uint8_t> blob;
  uint16_t requestedType = 0;
};

struct ItemResult {
  uint32_t server = 0;
  uint16_t canonicalType = 0;
  uint32_t accessRights = 0;
  std::vector<uint8_t> blob;
};

struct ItemState {
  uint32_t client = 0;
  FileTime timeStamp;
  uint16_t quality = 0;
  Value value;
};

struct ServerStatus {
  FileTime start;
  FileTime current;
  FileTime lastUpdate;
  uint32_t state = 0;
  uint32_t groupCount = 0;
  uint32_t bandWidth = 0;
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t build = 0;
  std::string vendor;
};

struct GroupState {
  uint32_t updateRate = 0;
  int32_t active = 0;
  std::string name;
  int32_t timeBias = 0;
  float deadband = 0.0f;
  uint32_t lcid = 0;
  uint32_t clientGroup = 0;
  uint32_t serverGroup = 0;
};

// The codes the bridge itself answers with (the layer and the system agree on them).
inline constexpr Hr kOk = 0;
inline constexpr Hr kNotImplemented = static_cast<Hr>(0x80004001u);
inline constexpr Hr kNoInterface = static_cast<Hr>(0x80004002u);
inline constexpr Hr kPointer = static_cast<Hr>(0x80004003u);
inline constexpr Hr kFail = static_cast<Hr>(0x80004005u);
inline constexpr Hr kOutOfMemory = static_cast<Hr>(0x8007000Eu);
inline constexpr Hr kInvalidArg = static_cast<Hr>(0x80070057u);
// What COM answers when the server raised an exception in a call.
inline constexpr Hr kServerFault = static_cast<Hr>(0x80010105u);

namespace real {
#include "platform/win/win_bridge_calls.inc"
}  // namespace real

namespace layer {
#include "platform/win/win_bridge_calls.inc"
}  // namespace layer

// The system's object creation, class registry and network neighbourhood (system side).
namespace sys {

Hr Initialize(uint32_t coinit);
void Uninitialize();
// host null: the local machine. objects/results: one per iid.
Hr CreateInstanceEx(const Guid& clsid, uint32_t context, const std::string* host,
                    const std::vector<Guid>& iids, std::vector<Object>* objects,
                    std::vector<Hr>* results);
Hr GetClassObject(const Guid& clsid, uint32_t context, const std::string* host, const Guid& iid,
                  Object* out);
Hr ClsidFromProgId(const std::string& progId, Guid* clsid);
Hr ProgIdFromClsid(const Guid& clsid, std::string* progId);
// The class's name in the registry (the default value of its CLSID key).
Hr ClassUserType(const Guid& clsid, std::string* userType);
// The classes of the local registry (HKCR\CLSID) that implement at least one of the
// implemented categories (any class when none is given) and require no category outside
// the required ones, in registry order.
Hr ClassesOfCategories(const std::vector<Guid>& implemented, const std::vector<Guid>& required,
                       std::vector<Guid>* classes);

struct NetResource {
  uint32_t scope = 0;
  uint32_t type = 0;
  uint32_t displayType = 0;
  uint32_t usage = 0;
  std::string localName;
  std::string remoteName;
  std::string comment;
  std::string provider;
};
uint32_t NetOpenEnum(uint32_t scope, uint32_t type, uint32_t usage, const NetResource* parent,
                     void** handle);
uint32_t NetEnumResource(void* handle, uint32_t* count, std::vector<NetResource>* resources);
uint32_t NetCloseEnum(void* handle);
std::string ComputerName();
bool ResolveHost(const std::string& name, std::string* address);

}  // namespace sys

}  // namespace winbridge
