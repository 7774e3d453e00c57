#include "platform/opc/opc_error_text.h"

namespace {

struct OpcText {
  HRESULT hr;
  const char* text;
};

constexpr OpcText kOpcTexts[] = {
    {OPC_E_INVALIDHANDLE, "The value of the handle is invalid."},
    {OPC_E_BADTYPE,
     "The server cannot convert the data between the requested data type and the canonical "
     "data type."},
    {OPC_E_PUBLIC, "The requested operation cannot be done on a public group."},
    {OPC_E_BADRIGHTS, "The item's access rights do not allow the operation."},
    {OPC_E_UNKNOWNITEMID, "The item is no longer available in the server address space."},
    {OPC_E_INVALIDITEMID, "The item definition doesn't conform to the server's syntax."},
    {OPC_E_INVALIDFILTER, "The filter string was not valid."},
    {OPC_E_UNKNOWNPATH, "The item's access path is not known to the server."},
    {OPC_E_RANGE, "The value was out of range."},
    {OPC_E_DUPLICATENAME, "Duplicate name not allowed."},
    {OPC_S_UNSUPPORTEDRATE,
     "The server does not support the requested data rate but will use the closest available "
     "rate."},
    {OPC_S_CLAMP, "A value passed to write was accepted but the output was clamped."},
    {OPC_S_INUSE,
     "The operation cannot be completed because the object still has references that exist."},
    {OPC_E_INVALIDCONFIGFILE, "The server's configuration file is an invalid format."},
    {OPC_E_NOTFOUND, "The server could not locate the requested object."},
    {OPC_E_INVALID_PID, "The server does not recognise the passed property ID."},
};

}  // namespace

std::string OpcErrorText(HRESULT hr) {
  for (const OpcText& entry : kOpcTexts) {
    if (entry.hr == hr) {
      return entry.text;
    }
  }
  return {};
}
