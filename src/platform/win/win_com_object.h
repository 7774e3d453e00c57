#pragma once
// System side: CComObject<I1, I2...>, the reference counting and QueryInterface of a
// real COM object implementing the listed interfaces (each with its IID through
// __uuidof, as the widl and system headers declare them). Born with count 1.
#include <windows.h>

#include <unknwn.h>

template <class First, class... Others>
class CComObject : public First, public Others... {
 public:
  CComObject() = default;
  CComObject(const CComObject&) = delete;
  CComObject& operator=(const CComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr)
      return E_POINTER;
    *ppv = FindInterface(riid);
    if (*ppv == nullptr)
      return E_NOINTERFACE;
    static_cast<First*>(this)->AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_nRefCount); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG count = InterlockedDecrement(&m_nRefCount);
    if (count == 0)
      delete this;
    return static_cast<ULONG>(count);
  }

 protected:
  virtual ~CComObject() = default;

  // The interface pointer for riid, or null; objects that answer conditionally override.
  virtual void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(First)))
      return static_cast<First*>(this);
    void* found = nullptr;
    ((found == nullptr && IsEqualIID(riid, __uuidof(Others)) ? (found = static_cast<Others*>(this))
                                                             : found),
     ...);
    return found;
  }

 private:
  LONG m_nRefCount = 1;
};
