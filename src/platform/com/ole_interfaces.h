#pragma once
// IPersistFile and IDataObject: the two OLE interfaces an OPC DA server and group may
// expose. Only what OPC DA uses of them is declared.
#include <string>
#include <vector>

#include "platform/com/unknown.h"

inline constexpr IID IID_IPersistFile{
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDataObject{
    0x0000010E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IPersistFile : public IUnknown {
 public:
  static constexpr IID kIID = IID_IPersistFile;
  virtual HRESULT GetClassID(CLSID* pClassID) = 0;
  // S_OK when changed since the last save, S_FALSE otherwise.
  virtual HRESULT IsDirty() = 0;
  virtual HRESULT Load(const std::string& fileName, DWORD dwMode) = 0;
  virtual HRESULT Save(const std::string& fileName, BOOL fRemember) = 0;
  virtual HRESULT SaveCompleted(const std::string& fileName) = 0;
  // S_FALSE with the default file name when no file is current.
  virtual HRESULT GetCurFile(std::string* pFileName) = 0;
};

// The data transfer description of IDataObject (OPC 1.0a registers its stream formats
// "OPCSTMFORMATDATA"... through it).
struct FORMATETC {
  uint16_t cfFormat = 0;
  void* ptd = nullptr;
  DWORD dwAspect = 1;  // DVASPECT_CONTENT
  LONG lindex = -1;
  DWORD tymed = 1;  // TYMED_HGLOBAL
};

struct STGMEDIUM {
  DWORD tymed = 0;
  std::vector<uint8_t> hGlobal;
};

class IDataObject : public IUnknown {
 public:
  static constexpr IID kIID = IID_IDataObject;
  virtual HRESULT GetData(const FORMATETC* pformatetcIn, STGMEDIUM* pmedium) = 0;
  virtual HRESULT QueryGetData(const FORMATETC* pformatetc) = 0;
  // pAdvSink is the client's IAdviseSink.
  virtual HRESULT DAdvise(const FORMATETC* pformatetc, DWORD advf, IUnknown* pAdvSink,
                          DWORD* pdwConnection) = 0;
  virtual HRESULT DUnadvise(DWORD dwConnection) = 0;
};
