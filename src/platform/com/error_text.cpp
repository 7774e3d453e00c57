#include "platform/com/error_text.h"

#include <cstdio>

namespace {

struct SystemMessage {
  HRESULT hr;
  const char* text;
};

// The system message table's texts for the codes an OPC client meets. OPC_E_* codes
// are not in the system table: their reason text is "Unknown error 0x...".
constexpr SystemMessage kSystemMessages[] = {
    {S_OK, "The operation completed successfully."},
    {S_FALSE, "Incorrect function."},
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_ABORT, "Operation aborted"},
    {E_FAIL, "Unspecified error"},
    {E_UNEXPECTED, "Catastrophic failure"},
    {E_ACCESSDENIED, "Access is denied."},
    {E_HANDLE, "The handle is invalid."},
    {E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {E_INVALIDARG, "The parameter is incorrect."},
    {CO_S_NOTALLINTERFACES, "Not all the requested interfaces were available"},
    {CO_E_NOTINITIALIZED, "CoInitialize has not been called."},
    {CO_E_CLASSSTRING, "Invalid class string"},
    {REGDB_E_CLASSNOTREG, "Class not registered"},
    {CLASS_E_NOAGGREGATION, "Class does not support aggregation (or class object is remote)"},
    {CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class"},
    {RPC_S_SERVER_UNAVAILABLE, "The RPC server is unavailable."},
    {RPC_S_CALL_FAILED, "The remote procedure call failed."},
    {RPC_E_SERVERFAULT, "The server threw an exception."},
    {RPC_E_DISCONNECTED, "The object invoked has disconnected from its clients."},
    {OLE_E_ADVISENOTSUPPORTED, "This implementation doesn't take advises"},
    {DV_E_FORMATETC, "Invalid FORMATETC structure"},
    {DISP_E_BADVARTYPE, "Bad variable type."},
    {DISP_E_TYPEMISMATCH, "Type mismatch."},
    {DISP_E_OVERFLOW, "Out of present range."},
};

}  // namespace

std::string SystemMessageText(HRESULT hr) {
  for (const SystemMessage& message : kSystemMessages) {
    if (message.hr == hr) {
      return message.text;
    }
  }
  return {};
}

std::string HResultReasonText(HRESULT hr) {
  std::string text = SystemMessageText(hr);
  if (!text.empty()) {
    return text;
  }
  const uint32_t code = static_cast<uint32_t>(hr);
  char buffer[64];
  if (code >= 0x80040201u && code <= 0x8004FFFFu) {
    std::snprintf(buffer, sizeof buffer, "IDispatch error #%d",
                  static_cast<int>(code & 0xFFFFu) - 512);
  } else {
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", static_cast<unsigned long>(code));
  }
  return buffer;
}
