#pragma once
// The structures, enumerations and constants of OPC Data Access 1.0a/2.0. Variable
// arrays that the real interfaces hand over as CoTaskMem blocks are std::vector here,
// strings are std::string in the local code page: nothing needs freeing by hand.
#include <string>
#include <vector>

#include "base/filetime.h"
#include "platform/com/com_types.h"
#include "platform/com/guid.h"
#include "platform/com/variant.h"

enum OPCDATASOURCE : DWORD { OPC_DS_CACHE = 1, OPC_DS_DEVICE = 2 };
enum OPCBROWSETYPE : DWORD { OPC_BRANCH = 1, OPC_LEAF = 2, OPC_FLAT = 3 };
enum OPCNAMESPACETYPE : DWORD { OPC_NS_HIERARCHIAL = 1, OPC_NS_FLAT = 2 };
enum OPCBROWSEDIRECTION : DWORD { OPC_BROWSE_UP = 1, OPC_BROWSE_DOWN = 2, OPC_BROWSE_TO = 3 };
enum OPCSERVERSTATE : DWORD {
  OPC_STATUS_RUNNING = 1,
  OPC_STATUS_FAILED = 2,
  OPC_STATUS_NOCONFIG = 3,
  OPC_STATUS_SUSPENDED = 4,
  OPC_STATUS_TEST = 5,
};
enum OPCENUMSCOPE : DWORD {
  OPC_ENUM_PRIVATE_CONNECTIONS = 1,
  OPC_ENUM_PUBLIC_CONNECTIONS = 2,
  OPC_ENUM_ALL_CONNECTIONS = 3,
  OPC_ENUM_PRIVATE = 4,
  OPC_ENUM_PUBLIC = 5,
  OPC_ENUM_ALL = 6,
};

// Access rights of an item.
inline constexpr DWORD OPC_READABLE = 1;
inline constexpr DWORD OPC_WRITEABLE = 2;

// Quality word: QQSSSSLL (quality, substatus, limit).
inline constexpr WORD OPC_QUALITY_MASK = 0xC0;
inline constexpr WORD OPC_STATUS_MASK = 0xFC;
inline constexpr WORD OPC_LIMIT_MASK = 0x03;
inline constexpr WORD OPC_QUALITY_BAD = 0x00;
inline constexpr WORD OPC_QUALITY_UNCERTAIN = 0x40;
inline constexpr WORD OPC_QUALITY_GOOD = 0xC0;
inline constexpr WORD OPC_QUALITY_CONFIG_ERROR = 0x04;
inline constexpr WORD OPC_QUALITY_NOT_CONNECTED = 0x08;
inline constexpr WORD OPC_QUALITY_DEVICE_FAILURE = 0x0C;
inline constexpr WORD OPC_QUALITY_SENSOR_FAILURE = 0x10;
inline constexpr WORD OPC_QUALITY_LAST_KNOWN = 0x14;
inline constexpr WORD OPC_QUALITY_COMM_FAILURE = 0x18;
inline constexpr WORD OPC_QUALITY_OUT_OF_SERVICE = 0x1C;
inline constexpr WORD OPC_QUALITY_LAST_USABLE = 0x44;
inline constexpr WORD OPC_QUALITY_SENSOR_CAL = 0x50;
inline constexpr WORD OPC_QUALITY_EGU_EXCEEDED = 0x54;
inline constexpr WORD OPC_QUALITY_SUB_NORMAL = 0x58;
inline constexpr WORD OPC_QUALITY_LOCAL_OVERRIDE = 0xD8;
inline constexpr WORD OPC_LIMIT_OK = 0x00;
inline constexpr WORD OPC_LIMIT_LOW = 0x01;
inline constexpr WORD OPC_LIMIT_HIGH = 0x02;
inline constexpr WORD OPC_LIMIT_CONST = 0x03;

// Item property ids (IOPCItemProperties).
inline constexpr DWORD OPC_PROP_CDT = 1;
inline constexpr DWORD OPC_PROP_VALUE = 2;
inline constexpr DWORD OPC_PROP_QUALITY = 3;
inline constexpr DWORD OPC_PROP_TIME = 4;
inline constexpr DWORD OPC_PROP_RIGHTS = 5;
inline constexpr DWORD OPC_PROP_SCANRATE = 6;
inline constexpr DWORD OPC_PROP_UNIT = 100;
inline constexpr DWORD OPC_PROP_DESC = 101;
inline constexpr DWORD OPC_PROP_HIEU = 102;
inline constexpr DWORD OPC_PROP_LOEU = 103;
inline constexpr DWORD OPC_PROP_HIRANGE = 104;
inline constexpr DWORD OPC_PROP_LORANGE = 105;

struct OPCITEMDEF {
  std::string szAccessPath;
  std::string szItemID;
  BOOL bActive = TRUE;
  OPCHANDLE hClient = 0;
  std::vector<BYTE> pBlob;  // dwBlobSize is pBlob.size()
  VARTYPE vtRequestedDataType = VT_EMPTY;
  WORD wReserved = 0;
};

struct OPCITEMRESULT {
  OPCHANDLE hServer = 0;
  VARTYPE vtCanonicalDataType = VT_EMPTY;
  WORD wReserved = 0;
  DWORD dwAccessRights = 0;
  std::vector<BYTE> pBlob;
};

struct OPCITEMSTATE {
  OPCHANDLE hClient = 0;
  FILETIME ftTimeStamp;
  WORD wQuality = 0;
  WORD wReserved = 0;
  VARIANT vDataValue;
};

struct OPCSERVERSTATUS {
  FILETIME ftStartTime;
  FILETIME ftCurrentTime;
  FILETIME ftLastUpdateTime;
  OPCSERVERSTATE dwServerState = OPC_STATUS_RUNNING;
  DWORD dwGroupCount = 0;
  DWORD dwBandWidth = 0;
  WORD wMajorVersion = 0;
  WORD wMinorVersion = 0;
  WORD wBuildNumber = 0;
  WORD wReserved = 0;
  std::string szVendorInfo;
};

// The two OPC DA server categories of the component category manager.
inline constexpr CATID CATID_OPCDAServer10{
    0x63D5F430, 0xCFE4, 0x11D1, {0xB2, 0xC8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
inline constexpr CATID CATID_OPCDAServer20{
    0x63D5F432, 0xCFE4, 0x11D1, {0xB2, 0xC8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
