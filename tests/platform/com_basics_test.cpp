#include <gtest/gtest.h>

#include "platform/com/com_ptr.h"
#include "platform/com/enumerators.h"
#include "platform/com/error_text.h"
#include "platform/com/guid.h"
#include "platform/opc/opc_error_text.h"
#include "platform/opc/opc_filter.h"
#include "platform/opc/opc_interfaces.h"

TEST(Guid, TextRoundTripsInEveryForm) {
  const GUID id = IID_IOPCServer;
  EXPECT_EQ(GuidToString(id), "{39C13A4D-011E-11D0-9675-0020AFD8ADB3}");
  EXPECT_EQ(GuidToString(id, false), "39C13A4D-011E-11D0-9675-0020AFD8ADB3");
  EXPECT_EQ(GuidToString(id, true, GuidTextCase::kLower), "{39c13a4d-011e-11d0-9675-0020afd8adb3}");
  for (const std::string& text :
       {GuidToString(id), GuidToString(id, false), GuidToString(id, false, GuidTextCase::kLower),
        std::string("{39c13A4D-011e-11D0-9675-0020afd8ADB3}")}) {
    GUID parsed;
    ASSERT_TRUE(GuidFromString(text, parsed)) << text;
    EXPECT_EQ(parsed, id) << text;
  }
  GUID shutdown;
  ASSERT_TRUE(GuidFromString("{F31DFDE1-07B6-11D2-B2D8-0060083BA1FB}", shutdown));
  EXPECT_EQ(shutdown, IID_IOPCShutdown);
}

TEST(Guid, InvalidTextIsRefusedAndLeavesTheTargetAlone) {
  const GUID before = IID_IOPCCommon;
  for (const char* text :
       {"", "{}", "39C13A4D-011E-11D0-9675-0020AFD8ADB", "{39C13A4D-011E-11D0-9675-0020AFD8ADB3",
        "39C13A4D-011E-11D0-9675-0020AFD8ADB3}", "39C13A4D011E11D096750020AFD8ADB3",
        "39C13A4D-011E-11D0-9675-0020AFD8ADBG", "{39C13A4D-011E-11D0-9675-0020AFD8ADB3}x",
        " 39C13A4D-011E-11D0-9675-0020AFD8ADB3", "39C13A4D_011E_11D0_9675_0020AFD8ADB3",
        "+9C13A4D-011E-11D0-9675-0020AFD8ADB3"}) {
    GUID target = before;
    EXPECT_FALSE(GuidFromString(text, target)) << text;
    EXPECT_EQ(target, before) << text;
  }
  CLSID clsid;
  EXPECT_EQ(CLSIDFromString("39C13A4D-011E-11D0-9675-0020AFD8ADB3", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromString("{39C13A4D-011E-11D0-9675-0020AFD8ADB3}", &clsid), S_OK);
}

TEST(Guid, OrderAndEquality) {
  EXPECT_TRUE(IID_IOPCServer < IID_IOPCServerPublicGroups);
  EXPECT_FALSE(IID_IOPCServer == IID_IOPCCommon);
  EXPECT_TRUE(IsNullGUID(GUID{}));
  EXPECT_FALSE(IsNullGUID(IID_IUnknown));
}

TEST(ResultCodes, SuccessAndFailure) {
  EXPECT_TRUE(SUCCEEDED(S_FALSE));
  EXPECT_TRUE(SUCCEEDED(CO_S_NOTALLINTERFACES));
  EXPECT_TRUE(SUCCEEDED(OPC_S_UNSUPPORTEDRATE));
  EXPECT_TRUE(FAILED(OPC_E_UNKNOWNITEMID));
  EXPECT_TRUE(FAILED(RPC_S_SERVER_UNAVAILABLE));
  EXPECT_EQ(static_cast<uint32_t>(RPC_S_SERVER_UNAVAILABLE), 0x800706BAu);
  EXPECT_EQ(HRESULT_FROM_WIN32(1722), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(static_cast<uint32_t>(OPC_E_INVALID_PID), 0xC0040203u);
}

TEST(ReasonText, SystemTextsWithoutLineFeed) {
  EXPECT_EQ(HResultReasonText(E_FAIL), "Unspecified error");
  EXPECT_EQ(HResultReasonText(E_NOINTERFACE), "No such interface supported");
  EXPECT_EQ(HResultReasonText(E_INVALIDARG), "The parameter is incorrect.");
  EXPECT_EQ(HResultReasonText(REGDB_E_CLASSNOTREG), "Class not registered");
  EXPECT_EQ(HResultReasonText(CO_E_CLASSSTRING), "Invalid class string");
  EXPECT_EQ(HResultReasonText(RPC_S_SERVER_UNAVAILABLE), "The RPC server is unavailable.");
  EXPECT_EQ(HResultReasonText(S_OK), "The operation completed successfully.");
  for (const HRESULT hr : {E_OUTOFMEMORY, DISP_E_TYPEMISMATCH, CO_S_NOTALLINTERFACES}) {
    const std::string text = HResultReasonText(hr);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
  }
}

TEST(ReasonText, IDispatchRangeAndUnknownCodes) {
  EXPECT_EQ(HResultReasonText(MakeHResult(0x80040201u)), "IDispatch error #1");
  EXPECT_EQ(HResultReasonText(MakeHResult(0x80040300u)), "IDispatch error #256");
  EXPECT_EQ(HResultReasonText(MakeHResult(0x8004FFFFu)), "IDispatch error #65023");
  // Just outside the range, and codes the system table does not hold.
  EXPECT_EQ(HResultReasonText(CONNECT_E_NOCONNECTION), "Unknown error 0x80040200");
  EXPECT_EQ(HResultReasonText(OPC_E_UNKNOWNITEMID), "Unknown error 0xC0040007");
  EXPECT_EQ(HResultReasonText(OPC_E_INVALID_PID), "Unknown error 0xC0040203");
  EXPECT_EQ(HResultReasonText(MakeHResult(0x00000123u)), "Unknown error 0x123");
}

TEST(ReasonText, OpcTextsForOpcCodesOnly) {
  EXPECT_EQ(OpcErrorText(OPC_E_INVALIDFILTER), "The filter string was not valid.");
  EXPECT_EQ(OpcErrorText(OPC_E_UNKNOWNITEMID),
            "The item is no longer available in the server address space.");
  EXPECT_EQ(OpcErrorText(E_FAIL), "");
}

namespace {

int g_nDestroyed = 0;

class CProbe : public CComObjectRoot<IOPCShutdown> {
 public:
  ~CProbe() override { ++g_nDestroyed; }
  HRESULT ShutdownRequest(const std::string& reason) override {
    m_sReason = reason;
    return S_OK;
  }
  std::string m_sReason;
};

}  // namespace

TEST(ComObjects, ReferenceCountingAndQueryInterface) {
  g_nDestroyed = 0;
  CProbe* probe = new CProbe;
  {
    ComPtr<IOPCShutdown> sink(probe);
    EXPECT_EQ(probe->RefCount(), 1u);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(sink->QueryInterface(IID_IUnknown, unknown.ReleaseAndGetVoidAddress()), S_OK);
    EXPECT_EQ(probe->RefCount(), 2u);
    ComPtr<IOPCServer> server;
    EXPECT_EQ(sink.As(&server), E_NOINTERFACE);
    EXPECT_FALSE(server);
    EXPECT_EQ(sink->QueryInterface(IID_IOPCShutdown, nullptr), E_POINTER);
    ComPtr<IOPCShutdown> copy = sink;
    ComPtr<IOPCShutdown> moved = std::move(copy);
    EXPECT_FALSE(copy);
    EXPECT_EQ(probe->RefCount(), 3u);
    IOPCShutdown* raw = moved.Detach();
    EXPECT_EQ(probe->RefCount(), 3u);
    raw->Release();
    EXPECT_EQ(g_nDestroyed, 0);
  }
  EXPECT_EQ(g_nDestroyed, 1);
}

TEST(Enumerators, NextSkipResetAndClone) {
  ComPtr<IEnumString> strings;
  strings.Attach(CreateStringEnumerator({"a", "b", "c"}));
  std::string out[2];
  ULONG fetched = 0;
  EXPECT_EQ(strings->Next(2, out, &fetched), S_OK);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(out[1], "b");
  ComPtr<IEnumString> clone;
  ASSERT_EQ(strings->Clone(clone.GetAddressOf()), S_OK);
  EXPECT_EQ(strings->Next(2, out, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  EXPECT_EQ(out[0], "c");
  EXPECT_EQ(clone->Next(1, out, nullptr), S_OK);  // the clone kept its own position
  EXPECT_EQ(out[0], "c");
  EXPECT_EQ(strings->Reset(), S_OK);
  EXPECT_EQ(strings->Skip(4), S_FALSE);
  EXPECT_EQ(strings->Next(1, out, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);

  ComPtr<IEnumGUID> guids;
  guids.Attach(CreateGuidEnumerator({IID_IOPCServer}));
  GUID g;
  EXPECT_EQ(guids->Next(1, &g, nullptr), S_OK);
  EXPECT_EQ(g, IID_IOPCServer);
  EXPECT_EQ(guids->Next(1, &g, nullptr), S_FALSE);
}

TEST(OpcFilter, PatternsOfTheBrowseFilter) {
  EXPECT_TRUE(OpcFilterMatch("Temperature", "*"));
  EXPECT_TRUE(OpcFilterMatch("Temperature", ""));
  EXPECT_TRUE(OpcFilterMatch("Temperature", "Temp*"));
  EXPECT_TRUE(OpcFilterMatch("Temperature", "*ture"));
  EXPECT_FALSE(OpcFilterMatch("Temperature", "temp*"));  // case-sensitive
  EXPECT_TRUE(OpcFilterMatch("Line1", "Line?"));
  EXPECT_FALSE(OpcFilterMatch("Line12", "Line?"));
  EXPECT_TRUE(OpcFilterMatch("Line1", "Line#"));
  EXPECT_FALSE(OpcFilterMatch("LineA", "Line#"));
  EXPECT_TRUE(OpcFilterMatch("Tank1", "[A-Z]ank[12]"));
  EXPECT_FALSE(OpcFilterMatch("Tank3", "[A-Z]ank[12]"));
  EXPECT_TRUE(OpcFilterMatch("Tank3", "Tank[!12]"));
  EXPECT_FALSE(OpcFilterMatch("Tank1", "Tank[!12]"));
  EXPECT_TRUE(OpcFilterMatch("a*b", "a[*]b"));
  EXPECT_TRUE(OpcFilterMatch("", "*"));
  EXPECT_FALSE(OpcFilterMatch("", "?"));
  EXPECT_FALSE(OpcFilterIsValid("Tank[12"));
  EXPECT_FALSE(OpcFilterIsValid("Tank[]"));
  EXPECT_FALSE(OpcFilterIsValid("[!"));
  EXPECT_FALSE(OpcFilterMatch("Tank1", "Tank[12"));
  EXPECT_TRUE(OpcFilterIsValid("**?#[a-z][!0]"));
}
