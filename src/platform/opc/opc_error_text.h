#pragma once
// The texts OPC DA servers give for their own result codes (IOPCCommon::GetErrorString).
#include <string>

#include "platform/com/hresult.h"

// The OPC text of an OPC_E_* / OPC_S_* code; empty for any other code.
std::string OpcErrorText(HRESULT hr);
