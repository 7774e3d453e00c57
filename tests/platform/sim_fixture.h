#pragma once
// A fresh simulation runtime with a fake clock for every test, and a connection made
// the way the client makes it (the seven-slot request block).
#include <gtest/gtest.h>

#include "base/clock.h"
#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"
#include "platform/opc/opc_interfaces.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimRuntime& runtime = CSimRuntime::Instance();
    runtime.Reset();
    runtime.SetClock(&m_clock);
    runtime.SetComputerName("TESTPC");
  }
  void TearDown() override { CSimRuntime::Instance().Reset(); }

  struct Connection {
    HRESULT hr = E_FAIL;
    HRESULT slots[7] = {};
    ComPtr<IOPCServer> server;
    ComPtr<IOPCCommon> common;
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IOPCItemProperties> properties;
    ComPtr<IOPCBrowseServerAddressSpace> browse;
    ComPtr<IOPCServerPublicGroups> publicGroups;
    ComPtr<IPersistFile> persist;
  };

  static Connection Connect(const CLSID& clsid, const std::string& host = "Local Host") {
    static const IID* const kIids[7] = {&IID_IOPCServer,
                                        &IID_IOPCCommon,
                                        &IID_IConnectionPointContainer,
                                        &IID_IOPCItemProperties,
                                        &IID_IOPCBrowseServerAddressSpace,
                                        &IID_IOPCServerPublicGroups,
                                        &IID_IPersistFile};
    MULTI_QI request[7];
    for (int i = 0; i < 7; ++i) {
      request[i].pIID = kIids[i];
    }
    COSERVERINFO info;
    info.pwszName = host;
    Connection c;
    c.hr = CoCreateInstanceEx(clsid, nullptr, CLSCTX_SERVER, host == "Local Host" ? nullptr : &info,
                              7, request);
    for (int i = 0; i < 7; ++i) {
      c.slots[i] = request[i].hr;
    }
    c.server.Attach(static_cast<IOPCServer*>(request[0].pItf));
    c.common.Attach(static_cast<IOPCCommon*>(request[1].pItf));
    c.container.Attach(static_cast<IConnectionPointContainer*>(request[2].pItf));
    c.properties.Attach(static_cast<IOPCItemProperties*>(request[3].pItf));
    c.browse.Attach(static_cast<IOPCBrowseServerAddressSpace*>(request[4].pItf));
    c.publicGroups.Attach(static_cast<IOPCServerPublicGroups*>(request[5].pItf));
    c.persist.Attach(static_cast<IPersistFile*>(request[6].pItf));
    return c;
  }

  struct Group {
    HRESULT hr = E_FAIL;
    OPCHANDLE handle = 0;
    DWORD revisedRate = 0;
    ComPtr<IOPCItemMgt> items;
    ComPtr<IOPCSyncIO> sync;
    ComPtr<IOPCGroupStateMgt> state;
  };

  static Group AddGroup(IOPCServer* server, const std::string& name, DWORD rate = 1000,
                        BOOL active = TRUE) {
    Group g;
    LONG bias = 0;
    FLOAT deadband = 0.0f;
    ComPtr<IUnknown> unknown;
    g.hr = server->AddGroup(name, active, rate, 7, &bias, &deadband, 0, &g.handle, &g.revisedRate,
                            IID_IUnknown, unknown.GetAddressOf());
    if (unknown) {
      unknown.As(&g.items);
      unknown.As(&g.sync);
      unknown.As(&g.state);
    }
    return g;
  }

  static OPCITEMDEF Def(const std::string& id, VARTYPE requested = VT_EMPTY) {
    OPCITEMDEF def;
    def.szItemID = id;
    def.vtRequestedDataType = requested;
    return def;
  }

  FakeClock m_clock{LocalTime{2026, 12, 7, 10, 0, 0, 0, 1}};
};
