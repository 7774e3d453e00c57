#include "opc/opc_shutdown_sink.h"

#include "opc/opc_server.h"
#include "platform/com/com_ptr.h"

HRESULT COPCShutdownSink::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr)
    return E_INVALIDARG;
  if (riid == IID_IUnknown || riid == IID_IOPCShutdown) {
    *ppv = static_cast<IOPCShutdown*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG COPCShutdownSink::AddRef() {
  return ++m_nRefCount;
}

ULONG COPCShutdownSink::Release() {
  const ULONG count = --m_nRefCount;
  if (count == 0)
    delete this;
  return count;
}

HRESULT COPCShutdownSink::ShutdownRequest(const std::string& szReason) {
  // The handler may disconnect, which releases the server's reference to this sink:
  // hold one until the call returns.
  ComPtr<IOPCShutdown> keepAlive(this);
  m_server.OnShutdownRequest(szReason);
  return S_OK;
}
