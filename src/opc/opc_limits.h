#pragma once
// Fixed limits and codes of the OPC configuration.
#include <cstdint>

// At most this many groups per server.
inline constexpr int kMaxGroupCount = 16;
// At most this many acquired items, and as many calculated items, over all groups.
inline constexpr int kMaxAcquiredItemCount = 128;
inline constexpr int kMaxCalculatedItemCount = 128;
// A group name travels to the server through a wide buffer of this many characters
// (terminator included).
inline constexpr int kGroupNameBufferChars = 260;

// How a group is read (database column OPCGrp_ReadInterface). Only 0 and 1 read.
enum ReadInterface : uint32_t {
  kReadSyncCache = 0,
  kReadSyncDevice = 1,
  kReadAsync10 = 2,
  kReadAsync20 = 3,
};

// Item kinds (database column OPCItem_ItemType).
enum ItemType : int {
  kItemAcquired = 0,
  kItemCalculated = 1,
};

// Quality of a new acquired item: "Bad (Out of Service)".
inline constexpr uint16_t kNewItemQuality = 0x1C;
