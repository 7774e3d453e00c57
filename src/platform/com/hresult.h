#pragma once
// HRESULT: the 32-bit result code of every COM and OPC call, with the codes this
// program meets. Negative means failure; S_FALSE and the OPC_S_* codes are successes.
#include <cstdint>

using HRESULT = int32_t;

constexpr HRESULT MakeHResult(uint32_t code) {
  return static_cast<HRESULT>(code);
}
constexpr bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
  return hr < 0;
}
// The HRESULT that carries a Win32 error code (facility 7).
constexpr HRESULT HRESULT_FROM_WIN32(uint32_t code) {
  return code == 0 ? 0 : MakeHResult((code & 0xFFFFu) | 0x80070000u);
}

// General COM codes.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003u);
inline constexpr HRESULT E_ABORT = MakeHResult(0x80004004u);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFFu);
inline constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005u);
inline constexpr HRESULT E_HANDLE = MakeHResult(0x80070006u);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);

// Object creation and the registry of classes.
inline constexpr HRESULT CO_S_NOTALLINTERFACES = MakeHResult(0x00080012u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = MakeHResult(0x800401F0u);
inline constexpr HRESULT CO_E_CLASSSTRING = MakeHResult(0x800401F3u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHResult(0x80040111u);

// Remote calls.
inline constexpr HRESULT RPC_S_SERVER_UNAVAILABLE = MakeHResult(0x800706BAu);
inline constexpr HRESULT RPC_S_CALL_FAILED = MakeHResult(0x800706BEu);
inline constexpr HRESULT RPC_E_SERVERFAULT = MakeHResult(0x80010105u);
inline constexpr HRESULT RPC_E_DISCONNECTED = MakeHResult(0x80010108u);

// Connection points.
inline constexpr HRESULT CONNECT_E_NOCONNECTION = MakeHResult(0x80040200u);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeHResult(0x80040201u);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeHResult(0x80040202u);

// Data objects (IDataObject).
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = MakeHResult(0x80040003u);
inline constexpr HRESULT DV_E_FORMATETC = MakeHResult(0x80040064u);

// Variant conversion.
inline constexpr HRESULT DISP_E_BADVARTYPE = MakeHResult(0x80020008u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005u);
inline constexpr HRESULT DISP_E_OVERFLOW = MakeHResult(0x8002000Au);

// OPC Data Access.
inline constexpr HRESULT OPC_E_INVALIDHANDLE = MakeHResult(0xC0040001u);
inline constexpr HRESULT OPC_E_BADTYPE = MakeHResult(0xC0040004u);
inline constexpr HRESULT OPC_E_PUBLIC = MakeHResult(0xC0040005u);
inline constexpr HRESULT OPC_E_BADRIGHTS = MakeHResult(0xC0040006u);
inline constexpr HRESULT OPC_E_UNKNOWNITEMID = MakeHResult(0xC0040007u);
inline constexpr HRESULT OPC_E_INVALIDITEMID = MakeHResult(0xC0040008u);
inline constexpr HRESULT OPC_E_INVALIDFILTER = MakeHResult(0xC0040009u);
inline constexpr HRESULT OPC_E_UNKNOWNPATH = MakeHResult(0xC004000Au);
inline constexpr HRESULT OPC_E_RANGE = MakeHResult(0xC004000Bu);
inline constexpr HRESULT OPC_E_DUPLICATENAME = MakeHResult(0xC004000Cu);
inline constexpr HRESULT OPC_S_UNSUPPORTEDRATE = MakeHResult(0x0004000Du);
inline constexpr HRESULT OPC_S_CLAMP = MakeHResult(0x0004000Eu);
inline constexpr HRESULT OPC_S_INUSE = MakeHResult(0x0004000Fu);
inline constexpr HRESULT OPC_E_INVALIDCONFIGFILE = MakeHResult(0xC0040010u);
inline constexpr HRESULT OPC_E_NOTFOUND = MakeHResult(0xC0040011u);
inline constexpr HRESULT OPC_E_INVALID_PID = MakeHResult(0xC0040203u);
