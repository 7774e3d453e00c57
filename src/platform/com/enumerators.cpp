#include "platform/com/enumerators.h"

#include <memory>

#include "platform/com/com_ptr.h"

namespace {

// One template for both enumerators: the list is shared by clones, each clone keeps
// its own position.
template <class Interface, class Element>
class CListEnumerator : public CComObjectRoot<Interface> {
 public:
  CListEnumerator(std::shared_ptr<const std::vector<Element>> items, size_t position)
      : m_pItems(std::move(items)), m_nPosition(position) {}

  HRESULT Next(ULONG celt, Element* rgelt, ULONG* pceltFetched) override {
    if (rgelt == nullptr || (pceltFetched == nullptr && celt != 1)) {
      return E_POINTER;
    }
    ULONG fetched = 0;
    while (fetched < celt && m_nPosition < m_pItems->size()) {
      rgelt[fetched++] = (*m_pItems)[m_nPosition++];
    }
    if (pceltFetched != nullptr) {
      *pceltFetched = fetched;
    }
    return fetched == celt ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG celt) override {
    const size_t left = m_pItems->size() - m_nPosition;
    if (celt > left) {
      m_nPosition = m_pItems->size();
      return S_FALSE;
    }
    m_nPosition += celt;
    return S_OK;
  }
  HRESULT Reset() override {
    m_nPosition = 0;
    return S_OK;
  }
  HRESULT Clone(Interface** ppenum) override {
    if (ppenum == nullptr) {
      return E_POINTER;
    }
    ComPtr<Interface> clone(new CListEnumerator(m_pItems, m_nPosition));
    *ppenum = clone.Detach();
    return S_OK;
  }

 private:
  std::shared_ptr<const std::vector<Element>> m_pItems;
  size_t m_nPosition;
};

}  // namespace

IEnumGUID* CreateGuidEnumerator(std::vector<GUID> items) {
  ComPtr<IEnumGUID> result(new CListEnumerator<IEnumGUID, GUID>(
      std::make_shared<const std::vector<GUID>>(std::move(items)), 0));
  return result.Detach();
}

IEnumString* CreateStringEnumerator(std::vector<std::string> items) {
  ComPtr<IEnumString> result(new CListEnumerator<IEnumString, std::string>(
      std::make_shared<const std::vector<std::string>>(std::move(items)), 0));
  return result.Detach();
}
