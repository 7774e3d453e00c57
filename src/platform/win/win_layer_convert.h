#pragma once
// Layer side: conversions between the platform layer's types and the bridge's plain
// ones (win_bridge.h). Never includes a system header.
#include <string>
#include <vector>

#include "base/filetime.h"
#include "platform/com/guid.h"
#include "platform/com/variant.h"
#include "platform/opc/opc_types.h"
#include "platform/win/win_bridge.h"

namespace winbridge {

Guid ToBridge(const GUID& guid);
GUID FromBridge(const Guid& guid);
std::vector<Guid> ToBridge(ULONG count, const GUID* guids);
FileTime ToBridge(const FILETIME& ft);
FILETIME FromBridge(const FileTime& ft);
Value ToBridge(const VARIANT& variant);
VARIANT FromBridge(const Value& value);
ItemDef ToBridge(const OPCITEMDEF& def);
OPCITEMDEF FromBridge(const ItemDef& def);
ItemResult ToBridge(const OPCITEMRESULT& result);
OPCITEMRESULT FromBridge(const ItemResult& result);
ItemState ToBridge(const OPCITEMSTATE& state);
OPCITEMSTATE FromBridge(const ItemState& state);
ServerStatus ToBridge(const OPCSERVERSTATUS& status);
OPCSERVERSTATUS FromBridge(const ServerStatus& status);

// Runs one call on the other world; an exception raised in it becomes the code COM
// gives for an exception in a server call, so that it never unwinds through COM.
template <class Call>
HRESULT Guarded(Call call) {
  try {
    return call();
  } catch (...) {
    return kServerFault;
  }
}

}  // namespace winbridge
