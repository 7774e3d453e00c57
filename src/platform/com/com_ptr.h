#pragma once
// ComPtr<T>: owns one reference to a COM-style interface (AddRef on copy, Release on
// destruction), in the manner of the Windows runtime's smart pointer.
#include <cstddef>
#include <utility>

#include "platform/com/unknown.h"

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference to p.
  ComPtr(T* p) : m_p(p) {
    if (m_p != nullptr) {
      m_p->AddRef();
    }
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(T* p) {
    ComPtr(p).Swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  T& operator*() const { return *m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  // For out-parameters: the address of the (empty) pointer.
  T** GetAddressOf() { return &m_p; }
  T** ReleaseAndGetAddressOf() {
    Reset();
    return &m_p;
  }
  // The out-parameter of QueryInterface-style calls.
  void** ReleaseAndGetVoidAddress() { return reinterpret_cast<void**>(ReleaseAndGetAddressOf()); }

  // Releases the held reference.
  void Reset() {
    if (T* p = std::exchange(m_p, nullptr)) {
      p->Release();
    }
  }
  // Takes over a reference the caller already owns (no AddRef).
  void Attach(T* p) {
    Reset();
    m_p = p;
  }
  // Gives the reference to the caller (no Release).
  T* Detach() { return std::exchange(m_p, nullptr); }
  void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

  // QueryInterface for U into out.
  template <class U>
  HRESULT As(ComPtr<U>* out) const {
    if (m_p == nullptr) {
      return E_POINTER;
    }
    return m_p->QueryInterface(U::kIID, out->ReleaseAndGetVoidAddress());
  }
  // AddRef'ed copy into a raw out-parameter.
  HRESULT CopyTo(T** out) const {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = m_p;
    if (m_p != nullptr) {
      m_p->AddRef();
    }
    return S_OK;
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

 private:
  T* m_p = nullptr;
};
