#pragma once
// IConnectionPointContainer and IConnectionPoint: how a client registers a callback
// object (here the OPC shutdown sink) with a server.
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

inline constexpr IID IID_IConnectionPointContainer{
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint{
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

class IConnectionPointContainer;

struct CONNECTDATA {
  IUnknown* pUnk = nullptr;  // not AddRef'ed: valid while the connection lasts
  DWORD dwCookie = 0;
};

class IConnectionPoint : public IUnknown {
 public:
  static constexpr IID kIID = IID_IConnectionPoint;
  virtual HRESULT GetConnectionInterface(IID* pIID) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** ppCPC) = 0;
  // S_OK with a non-zero cookie; CONNECT_E_CANNOTCONNECT when the sink lacks the
  // interface; CONNECT_E_ADVISELIMIT when no more connections are accepted.
  virtual HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
  // CONNECT_E_NOCONNECTION for an unknown cookie.
  virtual HRESULT Unadvise(DWORD dwCookie) = 0;
  virtual HRESULT EnumConnections(std::vector<CONNECTDATA>* pConnections) = 0;
};

class IConnectionPointContainer : public IUnknown {
 public:
  static constexpr IID kIID = IID_IConnectionPointContainer;
  virtual HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) = 0;
  // CONNECT_E_NOCONNECTION when the object has no connection point for riid.
  virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) = 0;
};
