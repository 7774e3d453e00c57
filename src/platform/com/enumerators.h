#pragma once
// IEnumGUID and IEnumString: the COM enumerators, taking elements in order with Next.
// Next returns S_OK when celt elements were fetched, S_FALSE when fewer were left.
#include <string>
#include <vector>

#include "platform/com/unknown.h"

inline constexpr IID IID_IEnumGUID{
    0x0002E000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IEnumString{
    0x00000101, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IEnumGUID : public IUnknown {
 public:
  static constexpr IID kIID = IID_IEnumGUID;
  // rgelt has room for celt ids; pceltFetched may be null only when celt is 1.
  virtual HRESULT Next(ULONG celt, GUID* rgelt, ULONG* pceltFetched) = 0;
  virtual HRESULT Skip(ULONG celt) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumGUID** ppenum) = 0;
};

class IEnumString : public IUnknown {
 public:
  static constexpr IID kIID = IID_IEnumString;
  // rgelt has room for celt strings (no freeing: they are values).
  virtual HRESULT Next(ULONG celt, std::string* rgelt, ULONG* pceltFetched) = 0;
  virtual HRESULT Skip(ULONG celt) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumString** ppenum) = 0;
};

// Enumerators over a fixed list, for the servers and the enumerator objects.
// The returned object carries one reference.
IEnumGUID* CreateGuidEnumerator(std::vector<GUID> items);
IEnumString* CreateStringEnumerator(std::vector<std::string> items);
