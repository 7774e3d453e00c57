#pragma once
// The component category manager (ICatInformation): which registered classes belong
// to which categories, as read from the registry of the local machine.
#include <string>
#include <vector>

#include "platform/com/enumerators.h"

// Class of the standard component categories manager and its interface.
inline constexpr CLSID CLSID_StdComponentCategoriesMgr{
    0x0002E005, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_ICatInformation{
    0x0002E013, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct CATEGORYINFO {
  CATID catid;
  LCID lcid = 0;
  std::string szDescription;
};

class ICatInformation : public IUnknown {
 public:
  static constexpr IID kIID = IID_ICatInformation;
  virtual HRESULT EnumCategories(LCID lcid, std::vector<CATEGORYINFO>* pCategories) = 0;
  virtual HRESULT GetCategoryDesc(const CATID& rcatid, LCID lcid, std::string* pszDesc) = 0;
  // Classes implementing at least one of the cImplemented categories (all classes when
  // cImplemented is 0) and every one of the cRequired categories.
  virtual HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl,
                                          ULONG cRequired, const CATID* rgcatidReq,
                                          IEnumGUID** ppenumClsid) = 0;
  // S_OK when the class qualifies (rules above), S_FALSE when not.
  virtual HRESULT IsClassOfCategories(REFCLSID rclsid, ULONG cImplemented, const CATID* rgcatidImpl,
                                      ULONG cRequired, const CATID* rgcatidReq) = 0;
  virtual HRESULT EnumImplCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) = 0;
  virtual HRESULT EnumReqCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) = 0;
};
