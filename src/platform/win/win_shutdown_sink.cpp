#include <windows.h>

#include "opc_da.h"
#include "platform/win/win_com_object.h"
#include "platform/win/win_shutdown_sink.h"
#include "platform/win/win_sys_convert.h"

namespace winbridge {

namespace {

class CComShutdownSink : public CComObject<IOPCShutdown> {
 public:
  explicit CComShutdownSink(Object layerSink) : m_pLayerSink(layerSink) {
    layer::AddRef(m_pLayerSink);
  }

  HRESULT STDMETHODCALLTYPE ShutdownRequest(LPCWSTR szReason) override {
    try {
      return layer::ShutdownRequest(m_pLayerSink, Utf8(szReason));
    } catch (...) {
      return RPC_E_SERVERFAULT;  // nothing of ours may unwind into COM
    }
  }

 private:
  ~CComShutdownSink() override { layer::Release(m_pLayerSink); }

  Object m_pLayerSink;
};

}  // namespace

IUnknown* CreateShutdownSinkForLayer(Object layerSink) {
  IOPCShutdown* sink = new (std::nothrow) CComShutdownSink(layerSink);
  return sink;
}

}  // namespace winbridge
