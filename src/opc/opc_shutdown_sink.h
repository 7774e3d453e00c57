#pragma once
// COPCShutdownSink: the client's IOPCShutdown object, advised on the server's shutdown
// connection point. The server calls ShutdownRequest when it is about to go away; the
// sink hands the request to its COPCServer.
#include "platform/opc/opc_interfaces.h"

class COPCServer;

class COPCShutdownSink final : public IOPCShutdown {
 public:
  // Born with count 0: the creator AddRefs it.
  explicit COPCShutdownSink(COPCServer& server) : m_server(server) {}
  COPCShutdownSink(const COPCShutdownSink&) = delete;
  COPCShutdownSink& operator=(const COPCShutdownSink&) = delete;

  // IID_IUnknown and IID_IOPCShutdown; E_INVALIDARG for a null output pointer.
  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT ShutdownRequest(const std::string& szReason) override;

 private:
  ~COPCShutdownSink() = default;

  ULONG m_nRefCount = 0;
  COPCServer& m_server;
};
