#include "platform/win/win_layer_convert.h"

#include <cstring>

namespace winbridge {

Guid ToBridge(const GUID& guid) {
  Guid result;
  result.d1 = guid.Data1;
  result.d2 = guid.Data2;
  result.d3 = guid.Data3;
  std::memcpy(result.d4, guid.Data4, sizeof result.d4);
  return result;
}

GUID FromBridge(const Guid& guid) {
  GUID result;
  result.Data1 = guid.d1;
  result.Data2 = guid.d2;
  result.Data3 = guid.d3;
  std::memcpy(result.Data4, guid.d4, sizeof result.Data4);
  return result;
}

std::vector<Guid> ToBridge(ULONG count, const GUID* guids) {
  std::vector<Guid> result;
  for (ULONG i = 0; guids != nullptr && i < count; ++i)
    result.push_back(ToBridge(guids[i]));
  return result;
}

FileTime ToBridge(const FILETIME& ft) {
  return {ft.dwLowDateTime, ft.dwHighDateTime};
}

FILETIME FromBridge(const FileTime& ft) {
  FILETIME result;
  result.dwLowDateTime = ft.low;
  result.dwHighDateTime = ft.high;
  return result;
}

Value ToBridge(const VARIANT& variant) {
  Value value;
  value.vt = variant.vt;
  if ((variant.vt & VT_ARRAY) != 0) {
    for (const VARIANT& element : variant.parray)
      value.elements.push_back(ToBridge(element));
  } else if (variant.vt == VT_BSTR) {
    value.text = variant.bstrVal;
  } else {
    std::memcpy(&value.bits, &variant.llVal, sizeof value.bits);
  }
  return value;
}

VARIANT FromBridge(const Value& value) {
  VARIANT variant;
  variant.vt = value.vt;
  if ((value.vt & VT_ARRAY) != 0) {
    for (const Value& element : value.elements) {
      VARIANT item = FromBridge(element);
      item.vt = static_cast<VARTYPE>(value.vt & VT_TYPEMASK);
      variant.parray.push_back(std::move(item));
    }
  } else if (value.vt == VT_BSTR) {
    variant.bstrVal = value.text;
  } else {
    std::memcpy(&variant.llVal, &value.bits, sizeof value.bits);
  }
  return variant;
}

ItemDef ToBridge(const OPCITEMDEF& def) {
  ItemDef result;
  result.accessPath = def.szAccessPath;
  result.itemId = def.szItemID;
  result.active = def.bActive;
  result.client = def.hClient;
  result.blob = def.pBlob;
  result.requestedType = def.vtRequestedDataType;
  return result;
}

OPCITEMDEF FromBridge(const ItemDef& def) {
  OPCITEMDEF result;
  result.szAccessPath = def.accessPath;
  result.szItemID = def.itemId;
  result.bActive = def.active;
  result.hClient = def.client;
  result.pBlob = def.blob;
  result.vtRequestedDataType = def.requestedType;
  return result;
}

ItemResult ToBridge(const OPCITEMRESULT& result) {
  ItemResult item;
  item.server = result.hServer;
  item.canonicalType = result.vtCanonicalDataType;
  item.accessRights = result.dwAccessRights;
  item.blob = result.pBlob;
  return item;
}

OPCITEMRESULT FromBridge(const ItemResult& result) {
  OPCITEMRESULT item;
  item.hServer = result.server;
  item.vtCanonicalDataType = result.canonicalType;
  item.dwAccessRights = result.accessRights;
  item.pBlob = result.blob;
  return item;
}

ItemState ToBridge(const OPCITEMSTATE& state) {
  ItemState item;
  item.client = state.hClient;
  item.timeStamp = ToBridge(state.ftTimeStamp);
  item.quality = state.wQuality;
  item.value = ToBridge(state.vDataValue);
  return item;
}

OPCITEMSTATE FromBridge(const ItemState& state) {
  OPCITEMSTATE item;
  item.hClient = state.client;
  item.ftTimeStamp = FromBridge(state.timeStamp);
  item.wQuality = state.quality;
  item.vDataValue = FromBridge(state.value);
  return item;
}

ServerStatus ToBridge(const OPCSERVERSTATUS& status) {
  ServerStatus result;
  result.start = ToBridge(status.ftStartTime);
  result.current = ToBridge(status.ftCurrentTime);
  result.lastUpdate = ToBridge(status.ftLastUpdateTime);
  result.state = status.dwServerState;
  result.groupCount = status.dwGroupCount;
  result.bandWidth = status.dwBandWidth;
  result.major = status.wMajorVersion;
  result.minor = status.wMinorVersion;
  result.build = status.wBuildNumber;
  result.vendor = status.szVendorInfo;
  return result;
}

OPCSERVERSTATUS FromBridge(const ServerStatus& status) {
  OPCSERVERSTATUS result;
  result.ftStartTime = FromBridge(status.start);
  result.ftCurrentTime = FromBridge(status.current);
  result.ftLastUpdateTime = FromBridge(status.lastUpdate);
  result.dwServerState = static_cast<OPCSERVERSTATE>(status.state);
  result.dwGroupCount = status.groupCount;
  result.dwBandWidth = status.bandWidth;
  result.wMajorVersion = status.major;
  result.wMinorVersion = status.minor;
  result.wBuildNumber = status.build;
  result.szVendorInfo = status.vendor;
  return result;
}

}  // namespace winbridge
