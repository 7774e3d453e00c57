#pragma once
// The reason text of a result code, as the system's error-message lookup gives it: the
// system message text for the codes it knows (without the trailing line feed),
// "IDispatch error #%d" for 0x80040201..0x8004FFFF, "Unknown error 0x%0lX" otherwise.
#include <string>

#include "platform/com/hresult.h"

std::string HResultReasonText(HRESULT hr);

// The system message text alone; empty when the system has none for the code.
std::string SystemMessageText(HRESULT hr);
