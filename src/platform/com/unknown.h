#pragma once
// IUnknown and the reference-counting base that every object of the platform layer
// uses. Interfaces derive singly from IUnknown, as in COM, so an interface pointer is
// also its IUnknown pointer; each interface names its id in kIID.
#include <atomic>

#include "platform/com/com_types.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"

inline constexpr IID IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IUnknown {
 public:
  static constexpr IID kIID = IID_IUnknown;
  // S_OK with an AddRef'ed pointer, E_NOINTERFACE (and *ppv null), E_POINTER for null ppv.
  virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  static constexpr IID kIID = IID_IClassFactory;
  virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) = 0;
  virtual HRESULT LockServer(BOOL fLock) = 0;
};

// CComObjectRoot<I1, I2...>: implements IUnknown once for all the listed interfaces.
// The object is born with count 0 (wrap it in a ComPtr or QueryInterface it) and
// deletes itself when the count returns to 0. Thread rule: counting is atomic.
template <class First, class... Others>
class CComObjectRoot : public First, public Others... {
 public:
  CComObjectRoot() = default;
  CComObjectRoot(const CComObjectRoot&) = delete;
  CComObjectRoot& operator=(const CComObjectRoot&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) {
      return E_POINTER;
    }
    *ppv = FindInterface(riid);
    if (*ppv == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++m_nRefCount; }
  ULONG Release() override {
    const ULONG count = --m_nRefCount;
    if (count == 0) {
      delete this;
    }
    return count;
  }
  // For the rule "a group still referenced by its client is in use".
  ULONG RefCount() const { return m_nRefCount; }

 protected:
  virtual ~CComObjectRoot() = default;

  // The interface pointer for riid, or null. Objects that expose interfaces
  // conditionally override this and call the base version.
  virtual void* FindInterface(REFIID riid) {
    if (riid == IID_IUnknown || riid == First::kIID) {
      return static_cast<First*>(this);
    }
    void* found = nullptr;
    ((found == nullptr && riid == Others::kIID ? (found = static_cast<Others*>(this)) : found),
     ...);
    return found;
  }

 private:
  std::atomic<ULONG> m_nRefCount{0};
};
